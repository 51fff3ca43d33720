#include "reports/ReportText.h"

#include <QPainter>
#include <QString>
#include <string_view>

namespace reporttext {

QColor toQColor(lumreport::Color c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

int nextTabStop(std::span<const int> stops, int defaultTab, int x) {
    for (int stop : stops)
        if (stop > x) return stop;
    return (x / defaultTab + 1) * defaultTab;
}

int drawRuns(QPainter& painter, const lumreport::Report& report, std::size_t i, int x0,
             int baseline, std::span<const int> stops, int defaultTab, const RunLook& look) {
    int x = 0;
    const QFont* current = nullptr;
    for (const lumreport::Run& run : report.runs(i)) {
        const QFont& font = look.font(run.style);
        if (&font != current) {
            painter.setFont(font);
            current = &font;
        }
        painter.setPen(look.color(run.style));
        const std::string_view chars = report.text(run);
        std::size_t pos = 0;
        while (true) {
            const std::size_t tab = chars.find('\t', pos);
            const std::string_view cell =
                chars.substr(pos, tab == chars.npos ? chars.npos : tab - pos);
            if (!cell.empty()) {
                const QString s = QString::fromUtf8(cell.data(), qsizetype(cell.size()));
                painter.drawText(x0 + x, baseline, s);
                x += painter.fontMetrics().horizontalAdvance(s);
            }
            if (tab == chars.npos) break;
            x = nextTabStop(stops, defaultTab, x);
            pos = tab + 1;
        }
    }
    return x;
}

}  // namespace reporttext
