// Adding and deleting lines: the document's changes with their undo and redo, and add-line
// mode in a real diagram window driven by mouse and keys.
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <tuple>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "diagram/LumoraWindow.h"
#include "dialogs/lines/EditLineEntries.h"
#include "dialogs/lines/LineEntriesBox.h"
#include "lumgl/lumgl.h"

namespace {

// An identified line: two candidates of one species and one of another, the first species'
// entry the stronger of its two.
CLine identified(float x) {
    CLine line(x, 7);
    line.candidateLabels = {"Fe I 500.01;0.3", "Fe I 500.02;0.5", "Fe II 499.99;0.2"};
    line.candidateRecords = {"0.3;1;2", "0.5;1;2", "0.2;3;4"};
    line.candidateColors = {11, 11, 22};
    line.speciesLabels = {"Fe I 500.02;0.5*", "Fe II 499.99;0.2"};
    line.speciesRecords = {"0.5;1;2", "0.2;3;4"};
    line.speciesColors = {11, 22};
    return line;
}

auto fields(const CLine& l) {
    return std::tie(l.x, l.y, l.candidateLabels, l.candidateRecords, l.candidateColors,
                    l.speciesLabels, l.speciesRecords, l.speciesColors);
}
bool same(const TLineArray& a, const TLineArray& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const CLine& p, const CLine& q) { return fields(p) == fields(q); });
}

// A document with one spectrum showing `lines` found lines at 400, 410, ..., identified.
struct Doc {
    DiagramDocument doc;
    explicit Doc(int lines) {
        SpectrumRecord* r = doc.overlays().prepareNext();
        r->points = {{400, 1}, {500, 5}, {600, 2}};
        doc.overlays().commitNext();
        doc.analysisDisplay = true;
        r = &doc.overlays().currentRecord();
        r->foundLinesShown = 1;
        for (int k = 0; k < lines; ++k) r->spectrumLines.add(identified(400.0f + 10.0f * k));
    }
    SpectrumRecord& cur() { return doc.overlays().currentRecord(); }
    SpectrumHistory& history() { return doc.overlays().currentHistory(); }
};

}  // namespace

class LineEditTest : public QObject {
    Q_OBJECT
  private slots:
    // A line added on an identified line's position goes again on undo without taking the
    // identified one along; redo adds it at the same place; the selection never survives.
    void addUndoRedo() {
        Doc d(11);  // the identified line at 500 is the eleventh
        const TLineArray before = d.cur().spectrumLines;
        d.doc.addLineMode = true;
        QVERIFY(d.doc.addLine({500, 5}));
        QVERIFY(!d.doc.addLineMode);
        QCOMPARE(d.history().undoText(), std::string("1217,1,0"));
        QCOMPARE(d.cur().spectrumLines.size(), std::size_t(12));
        d.doc.selectLine(11);
        d.cur().newFile = 1;  // the bytes of the undo text come back
        QVERIFY(d.doc.undo());
        QVERIFY(same(d.cur().spectrumLines, before));
        QCOMPARE(d.cur().newFile, std::uint8_t(0));
        QCOMPARE(d.doc.selectedLine(), -1);
        QCOMPARE(d.history().redoText(), std::string("1218,1,1"));
        d.doc.selectLine(10);
        QVERIFY(d.doc.redo());
        QCOMPARE(d.doc.selectedLine(), -1);
        QCOMPARE(d.cur().spectrumLines.size(), std::size_t(12));
        QCOMPARE(d.cur().spectrumLines.find(CLine(500, 0)), std::size_t(10));
        QVERIFY(d.cur().spectrumLines[11].candidateLabels.empty());
        QVERIFY(fields(d.cur().spectrumLines[10]) == fields(before[10]));

        // With the found lines not shown nothing is added and nothing recorded; the mode ends.
        d.cur().foundLinesShown = 0;
        d.doc.addLineMode = true;
        QVERIFY(!d.doc.addLine({400, 1}));
        QVERIFY(!d.doc.addLineMode);
        QCOMPARE(d.history().undoCount(), std::size_t(1));
    }

    // Deleting all lines and undoing restores every line with its six lists; the database
    // list is deleted when it is the one shown, and its redo removes only its own lines.
    void deleteAllAndThirteenDeletions() {
        Doc d(13);
        const TLineArray all = d.cur().spectrumLines;
        QVERIFY(d.doc.deleteAllLines());
        QVERIFY(d.cur().spectrumLines.empty());
        QVERIFY(!d.doc.isEnabled(cmd::DeleteAllLines));
        QVERIFY(d.doc.undo());
        QVERIFY(same(d.cur().spectrumLines, all));
        QVERIFY(d.doc.redo() && d.cur().spectrumLines.empty());
        QVERIFY(d.doc.undo());

        for (int k = 0; k < 13; ++k) {
            d.doc.selectLine(0);
            QVERIFY(d.doc.deleteSelectedLine());
            QCOMPARE(d.doc.selectedLine(), -1);
        }
        QCOMPARE(d.history().undoCount(), std::size_t(12));
        for (int k = 0; k < 12; ++k) QVERIFY(d.doc.undo());
        QVERIFY(!d.doc.isEnabled(cmd::Undo));
        QCOMPARE(d.cur().spectrumLines.size(), std::size_t(12));
        QVERIFY(fields(d.cur().spectrumLines[0]) == fields(all[1]));

        // Database lines shown: 156 takes them and leaves the found lines.
        d.cur().foundLinesShown = 0;
        d.cur().databaseLinesShown = 1;
        for (const char* label : {"Fe I ;0.3", "Fe I ;0.3", "Ca II ;0.1"})
            d.cur().databaseLines.add(CSearchEngineLine{500, 1, label, 1, "r", 0});
        QVERIFY(d.doc.deleteAllLines());
        QVERIFY(d.cur().databaseLines.empty());
        QCOMPARE(d.cur().spectrumLines.size(), std::size_t(12));
        QVERIFY(d.doc.undo());
        d.cur().databaseLines.add(CSearchEngineLine{500, 1, "Fe I ;0.3", 1, "r", 0});
        QVERIFY(d.doc.redo());
        QCOMPARE(d.cur().databaseLines.size(), std::size_t(1));
    }

    // Add-line mode in a window: Escape leaves it with nothing recorded; Enter adds at the
    // marker, which starts mid-plot; a click adds where the mouse is; 159 prunes candidates.
    void windowAddLineMode() {
        DiagramSession session;
        QVERIFY(session.started);
        ShellHarness& shell = session.shell;
        LumoraWindow* w =
            session.open(session.write("s.txt", "400 1\n450 2\n500 5\n550 3\n600 2\n"));
        QVERIFY(w);
        DiagramDocument& doc = w->document();
        doc.analysisDisplay = true;
        doc.overlays().currentRecord().foundLinesShown = 1;
        doc.overlays().currentRecord().spectrumLines.add(identified(400));
        w->grab();
        const auto key = [&](int k) {
            QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
            QCoreApplication::sendEvent(w, &press);
        };
        auto* readout = shell.frame().findChild<QLabel*>("readout");

        QVERIFY(shell.trigger(cmd::AddLine));
        QCOMPARE(w->cursor().shape(), Qt::CrossCursor);
        QVERIFY(readout && readout->text().startsWith("x: 500 nm,"));
        // The marker runs down the plot at its x (the curve crosses that column only once).
        const auto redInColumn = [&] {
            const QImage shot = w->grab().toImage();
            const int x = DataToMousePoint({500, 5}, w->laidOut()).x;
            int red = 0;
            for (int y = 0; y < shot.height(); ++y) red += shot.pixel(x, y) == qRgb(255, 0, 0);
            return red;
        };
        const int withMarker = redInColumn();
        key(Qt::Key_Escape);
        QVERIFY(!doc.addLineMode && !shell.isEnabled(cmd::Undo));
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(withMarker > redInColumn() + 50);
        QVERIFY(shell.trigger(cmd::AddLine));
        key(Qt::Key_Return);
        QCOMPARE(doc.overlays().currentRecord().spectrumLines.size(), std::size_t(2));
        QCOMPARE(doc.overlays().currentRecord().spectrumLines[1].x, 500.0f);

        QVERIFY(shell.trigger(cmd::AddLine));
        const SPlotInfo& laid = w->laidOut();
        const SDevicePoint at = DataToMousePoint({550, 3}, laid);
        const auto mouse = [&](QEvent::Type type, int dx, Qt::MouseButton button) {
            const QPointF p(at.x + dx, at.y);
            QMouseEvent event(type, p, w->mapToGlobal(p), button, button, Qt::NoModifier);
            QCoreApplication::sendEvent(w, &event);
        };
        mouse(QEvent::MouseMove, 1, Qt::NoButton);
        QVERIFY(readout->text().startsWith("x: 550 nm,"));
        mouse(QEvent::MouseButtonPress, 0, Qt::LeftButton);
        QCOMPARE(doc.overlays().currentRecord().spectrumLines[2].x, 550.0f);
        QVERIFY(!doc.addLineMode);

        // The identified line keeps its second and third candidate and is labelled from them.
        doc.selectLine(0);
        shell.dialogs.scripts.push_back([](QDialog& dialog) {
            auto& edit = static_cast<EditLineEntries&>(dialog);
            edit.list()->item(0)->setSelected(true);
            edit.deleteButton()->click();
            edit.accept();
        });
        QVERIFY(shell.trigger(cmd::EditLineEntries));
        QCOMPARE(shell.dialogs.titles.back(), QStringLiteral("Linieneinträge"));
        const CLine& pruned = doc.overlays().currentRecord().spectrumLines[0];
        QCOMPARE(pruned.speciesLabels, (TStringArray{"Fe I 500.02;0.5", "Fe II 499.99;0.2"}));
        QCOMPARE(pruned.speciesColors, (TColorArray{11, 22}));
        // Delete runs 155 on the selected line.
        key(Qt::Key_Delete);
        QCOMPARE(doc.overlays().currentRecord().spectrumLines.size(), std::size_t(2));
        QCOMPARE(doc.selectedLine(), -1);
    }
};

QTEST_MAIN(LineEditTest)
#include "lineedit_test.moc"
