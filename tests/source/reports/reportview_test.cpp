// The report view: cells at the paragraph's tab stops and in their colour, rules drawn as a
// line, line selection by mouse and keys with Ctrl+A / Ctrl+C, painting only the rows on
// screen of a 100,000-row report, and the scroll position while the report grows.
#include "reports/ReportView.h"

#include <QClipboard>
#include <QScrollBar>
#include <QtTest>

namespace {

using lumreport::ParagraphKind;
using lumreport::Report;
using lumreport::TabSet;
using Lines = std::pair<std::size_t, std::size_t>;

void addRows(Report& report, int from, int count) {  // "\tR<i>\tFe\t<10 i>"
    for (int i = from; i < from + count; ++i) {
        report.startParagraph(ParagraphKind::Text, TabSet::Table);
        report.append("\tR" + std::to_string(i) + "\tFe\t" + std::to_string(10 * i));
    }
}

template <class... Texts>
void add(Report& report, ParagraphKind kind, TabSet tabs, const Texts&... texts) {
    report.startParagraph(kind, tabs);
    (report.append(texts), ...);
}

bool dark(QRgb p) {
    return qGray(p) < 160;
}
bool red(QRgb p) {
    return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110;
}

struct Shown {
    std::shared_ptr<Report> report = std::make_shared<Report>();
    ReportView view;
    explicit Shown(int rows, QSize size = {800, 300}) {
        addRows(*report, 0, rows);
        view.resize(size);
        view.setReport(report);
        view.show();
        QCoreApplication::processEvents();
    }
    QImage shot() {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        view.viewport()->render(&image);
        return image;
    }
    // The leftmost column from `x` on with ink in the band of `line` (-1 if none), and the
    // longest horizontal dark stroke in that band.
    template <class Ink>
    static int ink(const QImage& image, int line, int lh, int x, Ink is) {
        for (; x < image.width(); ++x)
            for (int y = line * lh; y < (line + 1) * lh; ++y)
                if (is(image.pixel(x, y))) return x;
        return -1;
    }
    static int stroke(const QImage& image, int line, int lh) {
        int longest = 0;
        for (int y = line * lh; y < (line + 1) * lh; ++y)
            for (int x = 0, run = 0; x < image.width(); ++x)
                longest = std::max(longest, run = dark(image.pixel(x, y)) ? run + 1 : 0);
        return longest;
    }
    int visible() const { return view.viewport()->height() / view.lineHeight(); }
    QPoint at(int line) const {
        return {30, (line - int(view.topLine())) * view.lineHeight() + view.lineHeight() / 2};
    }
    void key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&view, key, mods); }
    Lines selection() const { return {view.selectionFirst(), view.selectionLast()}; }
};

QString clip() {
    return QGuiApplication::clipboard()->text();
}

}  // namespace

class ReportViewTest : public QObject {
    Q_OBJECT
  private slots:
    void tabStopsColoursAndRules() {
        Shown s(0, {1000, 200});
        Report& r = *s.report;
        add(r, ParagraphKind::Text, TabSet::Header, "\tHH");
        r.append("\tHH", {true, false, lumreport::kLightRed});
        add(r, ParagraphKind::Text, TabSet::Table, "\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH\tH");
        add(r, ParagraphKind::Rule, TabSet::Header, std::string(181, '-'));
        add(r, ParagraphKind::Text, TabSet::Header, std::string(181, '-'));  // a text of dashes
        add(r, ParagraphKind::Text, TabSet::Table, "\t" + std::string(300, 'W'));
        s.view.reportChanged();
        const QImage image = s.shot();
        const double pxPerTwip = s.view.viewport()->logicalDpiX() / 1440.0;
        const int lh = s.view.lineHeight();
        // Header stops 50 and 1300 twips: the red cell starts 1250 twips after the black one.
        const int black = Shown::ink(image, 0, lh, 0, dark),
                  light = Shown::ink(image, 0, lh, 0, red);
        QVERIFY(black >= 0 && std::abs(light - black - 1250 * pxPerTwip) <= 1.5);
        // Table stops, then one every 720 twips: each cell starts one stop on.
        const int stops[] = {100,  1300, 2500, 3750, 4350, 4500, 5400,
                             6500, 6650, 8000, 8500, 8650, 9500, 10080};
        const int origin = Shown::ink(image, 1, lh, 0, dark);
        for (int k = 1; k < 14; ++k) {
            const double expected = (stops[k] - stops[0]) * pxPerTwip;
            const int x = Shown::ink(image, 1, lh, origin + int(expected) - 2, dark);
            QVERIFY2(std::abs(x - origin - expected) <= 1.5, qPrintable(QString::number(stops[k])));
        }
        // The rule is one line; the same dashes as text are not.
        QVERIFY(Shown::stroke(image, 2, lh) > 300);
        QVERIFY(Shown::stroke(image, 3, lh) < 40);
        // The widest row painted widens the horizontal range once the paint is done.
        QCoreApplication::processEvents();
        QVERIFY(s.view.horizontalScrollBar()->maximum() + s.view.viewport()->width() > 2000);
    }

    void selectionByMouseAndKeysCopiesTheLines() {
        Shown s(60);
        QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, s.at(3));
        QTest::mouseClick(s.view.viewport(), Qt::LeftButton, Qt::ShiftModifier, s.at(5));
        s.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clip(), QStringLiteral("\tR3\tFe\t30\n\tR4\tFe\t40\n\tR5\tFe\t50\n"));
        s.key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(s.selection(), Lines(3, 6));
        s.key(Qt::Key_Down);
        s.key(Qt::Key_Up, Qt::ShiftModifier);
        s.key(Qt::Key_Up, Qt::ShiftModifier);
        s.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clip(), QStringLiteral("\tR5\tFe\t50\n\tR6\tFe\t60\n\tR7\tFe\t70\n"));
        // A page on from the caret (line 5; the anchor is 7), scrolled just into view.
        const std::size_t page = s.visible();
        s.key(Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(s.selection(), Lines(7, 5 + page));
        QCOMPARE(s.view.topLine(), std::size_t(6));
        s.key(Qt::Key_End);
        QCOMPARE(s.selection(), Lines(59, 59));
        QCOMPARE(s.view.topLine(), 60 - page);
        s.key(Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(s.selection(), Lines(59 - page, 59));
        s.key(Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(s.selection(), Lines(0, 59));
        QCOMPARE(s.view.topLine(), std::size_t(0));
        // Dragging from line 2 to line 4.
        QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, s.at(9));
        QTest::mousePress(s.view.viewport(), Qt::LeftButton, {}, s.at(2));
        QMouseEvent move(QEvent::MouseMove, s.at(4), s.view.viewport()->mapToGlobal(s.at(4)),
                         Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(s.view.viewport(), &move);
        QCOMPARE(s.selection(), Lines(2, 4));
        s.key(Qt::Key_A, Qt::ControlModifier);
        s.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clip().count('\n'), 60);
        QVERIFY(clip().startsWith("\tR0\tFe\t0\n") && clip().endsWith("\tR59\tFe\t590\n"));
    }

    void hugeReportPaintsOnlyTheRowsOnScreen() {
        Shown s(100'000);
        const std::size_t onScreen = s.visible() + 1;
        s.shot();
        QVERIFY(s.view.paintedLines().first == 0 && s.view.paintedLines().second <= onScreen);
        s.key(Qt::Key_End);
        s.shot();
        QCOMPARE(s.view.paintedLines().second, std::size_t(100'000));
        QVERIFY(s.view.paintedLines().first >= 100'000 - onScreen);
        s.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clip(), QStringLiteral("\tR99999\tFe\t999990\n"));
    }

    void growingReportKeepsThePositionUnlessAtTheEnd() {
        Shown s(100);
        const std::size_t page = s.visible();
        s.view.scrollToLine(40);
        s.view.selectLines(42, 44);
        addRows(*s.report, 100, 100);
        s.view.reportChanged();
        QCOMPARE(s.view.topLine(), std::size_t(40));
        QCOMPARE(s.selection(), Lines(42, 44));
        s.view.scrollToLine(1000);  // as far as it goes
        addRows(*s.report, 200, 50);
        s.view.reportChanged();
        QCOMPARE(s.view.topLine(), 250 - page);
        // A report rewritten shorter drops what lies beyond its end.
        s.view.selectLines(240, 249);
        s.report->clear();
        addRows(*s.report, 0, 3);
        s.view.reportChanged();
        QCOMPARE(s.view.topLine(), std::size_t(0));
        QCOMPARE(s.selection(), Lines(2, 2));
        s.report->clear();
        s.view.reportChanged();
        QVERIFY(!s.view.hasSelection());
    }
};

QTEST_MAIN(ReportViewTest)
#include "reportview_test.moc"
