// The report view: cells at the paragraph's tab stops and in their colour, rules drawn as a
// line, line selection by mouse and keys with Ctrl+A / Ctrl+C, painting only the rows on
// screen of a 100,000-row report, and the scroll position while the report grows.
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QtTest>
#include <memory>
#include <string>

#include "reports/ReportView.h"

namespace {

using lumreport::ParagraphKind;
using lumreport::Report;
using lumreport::TabSet;

// Rows "\tR<i>\tFe\t<10 i>" from `from` on.
void addRows(Report& report, int from, int count) {
    for (int i = from; i < from + count; ++i) {
        report.startParagraph(ParagraphKind::Text, TabSet::Table);
        report.append("\tR" + std::to_string(i) + "\tFe\t" + std::to_string(10 * i));
    }
}

std::shared_ptr<Report> rows(int count) {
    auto report = std::make_shared<Report>();
    addRows(*report, 0, count);
    return report;
}

QImage shot(ReportView& view) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    view.viewport()->render(&image);
    return image;
}

bool dark(QRgb p) { return qGray(p) < 160; }
bool red(QRgb p) { return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110; }

// The leftmost column at or right of `from` in the row band of `line` with a pixel that
// passes `ink`, or -1.
template <class Ink>
int inkColumn(const QImage& image, int line, int lineHeight, int from, Ink ink) {
    for (int x = from; x < image.width(); ++x)
        for (int y = line * lineHeight; y < (line + 1) * lineHeight; ++y)
            if (ink(image.pixel(x, y))) return x;
    return -1;
}

// The longest horizontal stretch of dark pixels in the row band of `line`.
int longestStroke(const QImage& image, int line, int lineHeight) {
    int longest = 0;
    for (int y = line * lineHeight; y < (line + 1) * lineHeight; ++y)
        for (int x = 0, run = 0; x < image.width(); ++x) {
            run = dark(image.pixel(x, y)) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    return longest;
}

struct Shown {
    ReportView view;
    explicit Shown(std::shared_ptr<const Report> report, QSize size = {800, 300}) {
        view.resize(size);
        view.setReport(std::move(report));
        view.show();
        QCoreApplication::processEvents();
    }
    int visible() const { return view.viewport()->height() / view.lineHeight(); }
    QPoint onLine(int line) const {
        return {30, (line - int(view.topLine())) * view.lineHeight() + view.lineHeight() / 2};
    }
    void key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&view, key, mods); }
    std::pair<std::size_t, std::size_t> selection() const {
        return {view.selectionFirst(), view.selectionLast()};
    }
};

}  // namespace

class ReportViewTest : public QObject {
    Q_OBJECT
  private slots:
    void cellsSitAtTheirTabStopsInTheirColour() {
        auto report = std::make_shared<Report>();
        report->startParagraph(ParagraphKind::Text, TabSet::Header);
        report->append("\tHH");
        report->append("\tHH", {true, false, lumreport::kLightRed});
        report->startParagraph(ParagraphKind::Text, TabSet::Table);
        report->append("\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH");
        Shown s(report);
        const QImage image = shot(s.view);
        const double pxPerTwip = s.view.viewport()->logicalDpiX() / 1440.0;
        const int lh = s.view.lineHeight();
        // Header stops 50 and 1300 twips: the red cell starts 1250 twips after the black one.
        const int first = inkColumn(image, 0, lh, 0, dark);
        const int second = inkColumn(image, 0, lh, 0, red);
        QVERIFY(first >= 0 && second > first);
        QVERIFY(std::abs(second - first - 1250 * pxPerTwip) <= 1.5);
        // Table stops 100, 1300, 2500, ..., 9500, then every 720 twips: each cell's ink
        // starts one stop on, the one past the last stop at 10080.
        const int stops[] = {100, 1300, 2500, 3750, 4350, 4500, 5400, 6500, 6650, 8000, 8500, 8650, 9500, 10080};
        int x = inkColumn(image, 1, lh, 0, dark);
        const int origin = x;
        for (std::size_t k = 1; k < std::size(stops) && x >= 0; ++k) {
            // The next cell's ink: skip this cell (one letter, narrower than the closest stops).
            x = inkColumn(image, 1, lh, origin + int((stops[k] - stops[0]) * pxPerTwip) - 2, dark);
            QVERIFY2(std::abs(x - origin - (stops[k] - stops[0]) * pxPerTwip) <= 1.5,
                     qPrintable(QString("stop %1 at %2").arg(stops[k]).arg(x - origin)));
        }
    }

    void ruleIsALine() {
        auto report = std::make_shared<Report>();
        report->startParagraph(ParagraphKind::Text, TabSet::Header);
        report->append("\tLinie [nm]\tElement");
        report->startParagraph(ParagraphKind::Rule, TabSet::Header);
        report->append(std::string(181, '-'));
        report->startParagraph(ParagraphKind::Text, TabSet::Header);
        report->append(std::string(181, '-'));  // the same text in a text paragraph
        report->startParagraph(ParagraphKind::Text, TabSet::Table);
        report->append("\t" + std::string(300, 'W'));  // far wider than the tab stops
        Shown s(report, {1000, 200});
        const QImage image = shot(s.view);
        const int lh = s.view.lineHeight();
        QVERIFY(longestStroke(image, 1, lh) > 300);
        QVERIFY(longestStroke(image, 0, lh) < 40);
        QVERIFY(longestStroke(image, 2, lh) < 40);
        // The widest row painted widens the horizontal range once the paint is done.
        QCoreApplication::processEvents();
        QVERIFY(s.view.horizontalScrollBar()->maximum() + s.view.viewport()->width() > 2000);
    }

    void selectionByMouseAndKeysCopiesTheLines() {
        Shown s(rows(60));
        QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, s.onLine(3));
        QTest::mouseClick(s.view.viewport(), Qt::LeftButton, Qt::ShiftModifier, s.onLine(5));
        QCOMPARE(s.selection(), std::make_pair(std::size_t(3), std::size_t(5)));
        s.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("\tR3\tFe\t30\n\tR4\tFe\t40\n\tR5\tFe\t50\n"));
        s.key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(s.selection(), std::make_pair(std::size_t(3), std::size_t(6)));
        s.key(Qt::Key_Down);
        QCOMPARE(s.selection(), std::make_pair(std::size_t(7), std::size_t(7)));
        s.key(Qt::Key_Up, Qt::ShiftModifier);
        s.key(Qt::Key_Up, Qt::ShiftModifier);
        s.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("\tR5\tFe\t50\n\tR6\tFe\t60\n\tR7\tFe\t70\n"));
        // Page down moves the caret a screen on and scrolls it into view.
        const int page = s.visible();
        QVERIFY(page >= 5 && page < 40);
        // (the caret is on line 5, the anchor on 7).
        s.key(Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(s.selection(), std::make_pair(std::size_t(7), std::size_t(5 + page)));
        QCOMPARE(s.view.topLine(), std::size_t(6));
        s.key(Qt::Key_End);
        QCOMPARE(s.selection(), std::make_pair(std::size_t(59), std::size_t(59)));
        QCOMPARE(s.view.topLine(), std::size_t(60 - page));
        s.key(Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(s.selection(), std::make_pair(std::size_t(59 - page), std::size_t(59)));
        s.key(Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(s.selection(), std::make_pair(std::size_t(0), std::size_t(59)));
        QCOMPARE(s.view.topLine(), std::size_t(0));
        // Dragging from line 2 to line 4 selects those three.
        QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, s.onLine(9));
        QMouseEvent press(QEvent::MouseButtonPress, s.onLine(2), s.view.viewport()->mapToGlobal(s.onLine(2)),
                          Qt::LeftButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(s.view.viewport(), &press);
        QMouseEvent move(QEvent::MouseMove, s.onLine(4), s.view.viewport()->mapToGlobal(s.onLine(4)),
                         Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(s.view.viewport(), &move);
        QCOMPARE(s.selection(), std::make_pair(std::size_t(2), std::size_t(4)));
        s.key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(s.selection(), std::make_pair(std::size_t(0), std::size_t(59)));
        s.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().count('\n'), 60);
        QVERIFY(QGuiApplication::clipboard()->text().endsWith("\tR59\tFe\t590\n"));
    }

    void hugeReportPaintsOnlyTheRowsOnScreen() {
        Shown s(rows(100'000));
        const std::size_t rowsOnScreen = std::size_t(s.visible()) + 1;
        const QImage top = shot(s.view);
        QCOMPARE(s.view.paintedLines().first, std::size_t(0));
        QVERIFY(s.view.paintedLines().second <= rowsOnScreen);
        QVERIFY(inkColumn(top, 0, s.view.lineHeight(), 0, dark) >= 0);
        s.key(Qt::Key_End);
        shot(s.view);
        QCOMPARE(s.view.paintedLines().second, std::size_t(100'000));
        QVERIFY(s.view.paintedLines().first >= 100'000 - rowsOnScreen);
        s.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("\tR99999\tFe\t999990\n"));
    }

    void growingReportKeepsThePositionUnlessAtTheEnd() {
        auto report = rows(100);
        Shown s(report);
        const std::size_t page = std::size_t(s.visible());
        s.view.scrollToLine(40);
        s.view.selectLines(42, 44);
        addRows(*report, 100, 100);
        s.view.reportChanged();
        QCOMPARE(s.view.topLine(), std::size_t(40));
        QCOMPARE(s.view.selectionLast(), std::size_t(44));
        s.view.scrollToLine(1000);  // as far as it goes
        QCOMPARE(s.view.topLine(), 200 - page);
        addRows(*report, 200, 50);
        s.view.reportChanged();
        QCOMPARE(s.view.topLine(), 250 - page);
        // A report rewritten shorter drops a selection beyond its end.
        s.view.selectLines(240, 249);
        report->clear();
        addRows(*report, 0, 3);
        s.view.reportChanged();
        QCOMPARE(s.view.topLine(), std::size_t(0));
        QCOMPARE(s.selection(), std::make_pair(std::size_t(2), std::size_t(2)));
        report->clear();
        s.view.reportChanged();
        QVERIFY(!s.view.hasSelection());
        shot(s.view);
        QCOMPARE(s.view.paintedLines().second, std::size_t(0));
    }
};

QTEST_MAIN(ReportViewTest)
#include "reportview_test.moc"
