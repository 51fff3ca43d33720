#include "reports/ReportPrinter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <array>

#include "lumreport/ReportPaging.h"
#include "reports/ReportText.h"
#include "reports/ReportView.h"

namespace reportprint {

namespace {

constexpr int kUnitsPerInch = 96;
constexpr int kInsetSide = 80;
constexpr int kInsetBottom = 40;
constexpr int kFontHeight = 14;
constexpr int kDefaultTab = kUnitsPerInch / 2;

}  // namespace

int print(QPagedPaintDevice& device, const lumreport::Report& report, const QString& title,
          int fromPage, int toPage) {
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    const double sx = double(device.logicalDpiX()) / kUnitsPerInch;
    const double sy = double(device.logicalDpiY()) / kUnitsPerInch;
    painter.scale(sx, sy);
    const int width = int(device.width() / sx) - 2 * kInsetSide;
    const int height = int(device.height() / sy) - kInsetSide - kInsetBottom;

    // Printing keeps a line's colour; weight and underline are the screen's.
    QFont font = ReportView::reportFont();
    font.setPixelSize(kFontHeight);
    painter.setFont(font);
    const int lineHeight = painter.fontMetrics().lineSpacing();
    const int ascent = painter.fontMetrics().ascent();
    const std::vector<lumreport::Page> pages = lumreport::paginate(
        report, title.toStdString(), lumreport::linesPerPage(height, lineHeight));

    const reporttext::RunLook look{
        [&font](const lumreport::Style&) -> const QFont& { return font; },
        [](const lumreport::Style& s) { return reporttext::toQColor(s.color); }};
    const int first = std::max(1, fromPage);
    const int last = toPage > 0 ? std::min(toPage, int(pages.size())) : int(pages.size());
    int printed = 0;
    for (int number = first; number <= last; ++number) {
        const lumreport::Page& page = pages[std::size_t(number - 1)];
        if (printed > 0) device.newPage();
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(kInsetSide, kInsetSide, width, lineHeight), Qt::AlignHCenter,
                         QString::fromStdString(page.title));
        for (const lumreport::PrintLine& line : page.lines) {
            const int top = kInsetSide + (line.row + 2) * lineHeight;
            if (line.rule) {
                painter.setPen(QPen(Qt::black, 1));
                painter.drawLine(kInsetSide, top + lineHeight / 2, kInsetSide + width,
                                 top + lineHeight / 2);
                continue;
            }
            reporttext::drawRuns(painter, report, line.paragraph, kInsetSide, top + ascent,
                                 lumreport::printTabStops(line.tabs), kDefaultTab, look);
        }
        ++printed;
    }
    return printed;
}

}  // namespace reportprint
