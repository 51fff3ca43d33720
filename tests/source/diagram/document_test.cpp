// The document of a diagram window: overlay positions with their pens and histories, the
// undo/redo history with its texts, the command rules; adding and deleting lines with their
// undo and redo, and add-line mode in a real diagram window driven by mouse and keys.
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <bit>
#include <cfloat>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

#include "DiagramSession.h"
#include "ScriptedUi.h"
#include "app/Commands.h"
#include "dialogs/lines/EditLineEntries.h"
#include "dialogs/lines/LineEntriesBox.h"
#include "lumgl/lumgl.h"
#include "lumio/Outcome.h"

namespace {

constexpr TColor kOlive = MakeColor(128, 128, 0), kMaroon = MakeColor(128, 0, 0);

// Opens a spectrum named `name` as the next overlay.
bool open(OverlayTable& table, const std::string& name) {
    SpectrumRecord* r = table.prepareNext();
    if (!r) return false;
    r->fileName = name;
    table.commitNext();
    return true;
}

std::vector<std::string> names(OverlayTable& table) {
    std::vector<std::string> out;
    for (std::size_t p = 0; p < table.count(); ++p) out.push_back(table.record(p).fileName);
    return out;
}

// Puts the document into the state a row of command_rules.tsv names.
void applyState(DiagramDocument& doc, const std::string& words) {
    std::istringstream in(words);
    for (std::string w; in >> w;) {
        SpectrumRecord& cur = doc.overlays().currentRecord();
        if (w.rfind("n=", 0) == 0) {
            for (int k = std::stoi(w.substr(2)); k > 0; --k) {
                doc.overlays().prepareNext();
                doc.overlays().commitNext();
            }
        } else if (w == "analysis") {
            doc.analysisDisplay = true;
        } else if (w == "bw") {
            doc.plot().stateFlags |= kStateBlackWhite;
        } else if (w == "found") {
            cur.foundLinesShown = 1;
            for (float x : {400.0f, 500.0f}) cur.spectrumLines.add(CLine(x, 1));
        } else if (w == "hidden") {
            cur.foundLinesShown = 0;
        } else if (w == "database") {
            cur.databaseLinesShown = 1;
            cur.databaseLines.add(CSearchEngineLine{});
        } else if (w.rfind("select=", 0) == 0) {
            doc.selectLine(std::stoi(w.substr(7)));
        } else if (w == "reticle") {
            doc.reticle.shown = true;
        } else if (w == "undo" || w == "redo") {
            doc.changeRange({1, 2, 3, 4});
            if (w == "redo") doc.undo();
        } else {
            QFAIL(("unknown state word " + w).c_str());
        }
    }
}

std::string writeFile(const QTemporaryDir& dir, const char* name, const char* text) {
    const std::string path = dir.filePath(name).toStdString();
    std::ofstream(path) << text;
    return path;
}

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

class DocumentTest : public QObject {
    Q_OBJECT
  private slots:
    void overlaysTakeTheFreedColour() {
        OverlayTable table;
        for (int k = 0; k < 12; ++k) QVERIFY(open(table, "s" + std::to_string(k)));
        QVERIFY(table.full());
        QVERIFY(!table.prepareNext());
        QCOMPARE(table.count(), std::size_t(12));
        QCOMPARE(table.current(), std::size_t(11));
        std::vector<TColor> before;
        for (std::size_t p = 0; p < 12; ++p)
            before.push_back(table.record(p).plotInfo.curvePen.color);
        QCOMPARE(std::set<TColor>(before.begin(), before.end()).size(), std::size_t(12));
        QCOMPARE(before[2], kOlive);
        // Black/white curves differ by dash style.
        QVERIFY(table.record(0).plotInfo.framePen.style != table.record(1).plotInfo.framePen.style);

        // With all twelve open, closing the third and opening another gives the new one
        // olive; the others keep theirs.
        QVERIFY(table.setCurrent(2));
        table.closeCurrent();
        QCOMPARE(table.current(), std::size_t(2));
        QCOMPARE(table.record(2).plotInfo.curvePen.color, kMaroon);
        QVERIFY(open(table, "new"));
        QCOMPARE(table.record(11).plotInfo.curvePen.color, kOlive);
        before.erase(before.begin() + 2);
        for (std::size_t p = 0; p < 11; ++p)
            QCOMPARE(table.record(p).plotInfo.curvePen.color, before[p]);

        // With four open, the new one takes the first colour no live spectrum uses.
        OverlayTable four;
        for (int k = 0; k < 4; ++k) open(four, "s" + std::to_string(k));
        QVERIFY(four.setCurrent(1));
        four.closeCurrent();
        QVERIFY(open(four, "new"));
        QCOMPARE(four.record(3).plotInfo.curvePen.color, MakeColor(0, 128, 128));
        QCOMPARE(four.record(1).plotInfo.curvePen.color, kOlive);
        QVERIFY(!four.setCurrent(4));
        QCOMPARE(four.current(), std::size_t(3));
    }

    void closingKeepsPositionsApart() {
        // A history moves with its spectrum; the closed one's does not come back.
        OverlayTable table;
        for (const char* n : {"a", "b", "c", "d"}) open(table, n);
        table.history(1).push("1214,1,2,3,4");
        table.history(3).push("1214,5,6,7,8");
        table.setCurrent(1);
        table.closeCurrent();
        QCOMPARE(names(table), (std::vector<std::string>{"a", "c", "d"}));
        QVERIFY(table.record(3).fileName.empty());  // the freed record, behind the live ones
        QCOMPARE(table.current(), std::size_t(1));
        QVERIFY(!table.history(1).canUndo());
        QCOMPARE(table.history(2).undoText(), std::string("1214,5,6,7,8"));
        open(table, "e");
        QVERIFY(!table.history(3).canUndo());

        // Closing the overlays keeps the first, current, with its history.
        table.history(0).push("1214,0,1,0,1");
        table.closeOverlays();
        QCOMPARE(names(table), (std::vector<std::string>{"a"}));
        QCOMPARE(table.current(), std::size_t(0));
        QVERIFY(table.history(0).canUndo());
        QVERIFY(table.record(2).fileName.empty());
    }

    void commandRules() {
        std::ifstream in(std::string(LUMORA_TEST_DATA) + "/source/diagram/data/command_rules.tsv");
        int rows = 0;
        for (std::string line; std::getline(in, line);) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream fields(line);
            int command = 0, enabled = 0;
            std::string state;
            fields >> command >> enabled;
            std::getline(fields >> std::ws, state);
            DiagramDocument doc;
            applyState(doc, state);
            QVERIFY2(doc.isEnabled(command) == bool(enabled), line.c_str());
            ++rows;
        }
        QVERIFY(rows > 30);
    }

    void addingSpectra() {
        QTemporaryDir dir;
        const std::string flat = writeFile(dir, "flat.txt", "400 0\n500 0\n600 0\n");
        const std::string negative = writeFile(dir, "negative.txt", "300 -3\n700 -2\n");
        const std::string huge = writeFile(dir, "huge.txt", "1 1\n2 3.4e38\n");
        lumtest::ScriptedUi ui;
        int loads = 0;
        const DiagramDocument::AddSteps steps{{}, [&](DiagramDocument&) { ++loads; }};

        // A flat first spectrum gets -5..5; the second leaves the range alone and takes the
        // display bytes of the one current before.
        DiagramDocument doc;
        doc.addSpectrum(flat, ui, 1, steps);
        QCOMPARE(doc.range(), (std::array<float, 4>{400, 600, -5, 5}));
        doc.overlays().currentRecord().foundLinesShown = 1;
        doc.addSpectrum(negative, ui, 1, steps);
        QCOMPARE(doc.overlays().count(), std::size_t(2));
        QCOMPARE(doc.overlays().current(), std::size_t(1));
        QCOMPARE(doc.range()[3], 5.0f);
        QCOMPARE(loads, 1);
        QCOMPARE(int(doc.overlays().currentRecord().foundLinesShown), 1);
        QCOMPARE(int(doc.overlays().currentRecord().newFile), 1);

        // Failures leave the document as it was: a missing file, a cancelled x format.
        const auto fails = [&](const std::string& path, const DiagramDocument::AddSteps& s,
                               const char* keyword) {
            try {
                doc.addSpectrum(path, ui, 1, s);
            } catch (const lumio::Outcome& o) {
                return o.keyword() == keyword && doc.overlays().count() == 2 &&
                       doc.overlays().current() == 1 && doc.overlays().record(2).points.empty();
            }
            return false;
        };
        QVERIFY(fails(dir.filePath("missing.txt").toStdString(), steps, "NoFile"));
        const DiagramDocument::AddSteps cancel{
            [](SpectrumRecord&) { throw lumio::Outcome("CancelConvertWavelength"); }, {}};
        QVERIFY(fails(negative, cancel, "CancelOpenFile"));

        // A negative top is raised, not lowered; a top near the float limit stays finite.
        DiagramDocument below;
        below.addSpectrum(negative, ui, 1, {});
        QCOMPARE(below.range()[3], -1.8f);
        QCOMPARE(below.range()[2], -3.0f);
        DiagramDocument top;
        top.addSpectrum(huge, ui, 1, {});
        QCOMPARE(top.range()[3], FLT_MAX);
    }

    // Range changes: twelve exact steps back (the oldest of thirteen goes), redo forward
    // again, a change after an undo drops what could be redone; a reticle left outside is
    // marked for placing anew.
    void rangeUndoAndTheReticle() {
        QTemporaryDir dir;
        lumtest::ScriptedUi ui;
        DiagramDocument doc;
        doc.addSpectrum(writeFile(dir, "s.txt", "400 1\n500 2\n600 3\n700 4\n"), ui, 1, {});
        SpectrumHistory& history = doc.overlays().currentHistory();
        for (float k = 1; k <= 13; ++k) doc.changeRange({k, 1e7f / 3.0f * k, -FLT_MAX, FLT_MIN});
        QCOMPARE(history.undoCount(), std::size_t(12));
        for (int k = 0; k < 12; ++k) QVERIFY(doc.undo());
        QVERIFY(!doc.undo());
        QCOMPARE(doc.range(), (std::array<float, 4>{1, 1e7f / 3.0f, -FLT_MAX, FLT_MIN}));
        for (int k = 0; k < 12; ++k) QVERIFY(doc.redo());
        QCOMPARE(doc.range()[1], 1e7f / 3.0f * 13.0f);
        QVERIFY(doc.undo() && history.canRedo());
        doc.changeRange({5, 6, 7, 8});
        QVERIFY(!history.canRedo() && !doc.redo());
        history.flush();
        QVERIFY(!history.canUndo() && !doc.undo());
        // A text whose message has no handler stays where it is.
        history.push("1299,1");
        QVERIFY(!doc.undo());
        QCOMPARE(history.undoCount(), std::size_t(1));
        history.flush();

        doc.reticle = {true, false, false, {500, 2}};
        const auto before = doc.range();
        doc.changeRange({450, 550, 0, 5});
        QVERIFY(!doc.reticle.reposition);
        doc.changeRange({600, 650, 0, 5});
        QVERIFY(doc.reticle.reposition);
        QVERIFY(doc.undo());
        QVERIFY(doc.undo());
        QCOMPARE(doc.range(), before);
        QVERIFY(doc.redo());
        QCOMPARE(doc.range(), (std::array<float, 4>{450, 550, 0, 5}));
        // Another spectrum made current clears the line selection.
        doc.overlays().currentRecord().foundLinesShown = 1;
        doc.overlays().currentRecord().spectrumLines.add(CLine(500, 2));
        doc.selectLine(0);
        QCOMPARE(doc.selectedLine(), 0);
        doc.addSpectrum(dir.filePath("s.txt").toStdString(), ui, 1, {});
        QVERIFY(doc.setCurrent(0));
        QCOMPARE(doc.selectedLine(), -1);
        QVERIFY(!doc.isEnabled(155));
    }

    void viewSettings() {
        DiagramDocument doc;
        doc.applyViewSettings(lumcore::IniFile::fromText(
            "[InitWindow]\nVerticalLines=1\nLogY=1\nLine Cursor=1\n"
            "[View Options]\nShowLegend=1\nLegendPosition=3\nLineSearch=1\nxLabel=&Wellen\n"
            "yLabel=" +
            std::string(98, 'a') + "äb\nxUnit=nm\nFontName=Courier\nFontType=20,14,1,0\n"));
        QCOMPARE(int(doc.plot().drawFlags), 127 & ~(kDrawYGrid | kDrawYLinear));
        QVERIFY(doc.reticle.shown && doc.legend.shown && doc.legend.lineSearch);
        QVERIFY(!doc.legend.fileNames);
        QCOMPARE(doc.legend.position, 3);
        QCOMPARE(doc.axis.xLabel, std::string("Wellenlänge"));
        QCOMPARE(doc.axis.yLabel, std::string(98, 'a'));
        QCOMPARE(doc.axis.xUnit, std::string("nm"));
        QCOMPARE(doc.plot().font.face, std::string("Courier"));
        QCOMPARE(doc.plot().font.height, 20);
        QCOMPARE(doc.plot().font.weight, 700);
        // A field missing or not a number counts 0, a point size of 0 or below is 11; without
        // a cell height the point size gives it.
        const std::tuple<const char*, const char*, int> types[] = {{"x,14,1,0", "0,14,1,0", 19},
                                                                   {"12", "0,12,0,0", 16},
                                                                   {"", "0,11,0,0", 15},
                                                                   {"20,-1,0,1", "20,11,0,1", 20}};
        for (const auto& [text, type, height] : types) {
            DiagramDocument d;
            d.applyViewSettings(
                lumcore::IniFile::fromText(std::string("[View Options]\nFontType=") + text));
            QCOMPARE(d.fontType, std::string(type));
            QCOMPARE(d.plot().font.height, height);
        }
    }

    void undoTextsReadBackExactly() {
        const std::array<float, 4> awkward{0.1f, -0.0f, std::nextafter(FLT_MAX, 0.0f),
                                           std::numeric_limits<float>::denorm_min()};
        const std::string text = UndoText(1214, awkward);
        QCOMPARE(UndoMessage(text), std::optional<unsigned>(1214));
        const auto back = UndoValues(text, 4);
        QVERIFY(back.has_value());
        for (std::size_t k = 0; k < 4; ++k)
            QCOMPARE(std::bit_cast<std::uint32_t>((*back)[k]),
                     std::bit_cast<std::uint32_t>(awkward[k]));
        for (const char* bad : {"", ",1,2", "x214,1", "1214,1,,2,3", "1214,1,2,3", "1214,1,2,3,4,5",
                                "1214,1,2,3,4x"}) {
            QVERIFY2(!UndoValues(bad, 4), bad);
        }
        QVERIFY(!UndoMessage("").has_value());
        QVERIFY(!UndoMessage("12a4,1").has_value());
        QCOMPARE(UndoMessage("1217"), std::optional<unsigned>(1217));
    }

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
        const CLine& pruned = doc.overlays().currentRecord().spectrumLines[0];
        QCOMPARE(pruned.speciesLabels, (TStringArray{"Fe I 500.02;0.5", "Fe II 499.99;0.2"}));
        QCOMPARE(pruned.speciesColors, (TColorArray{11, 22}));
        // Delete runs 155 on the selected line.
        key(Qt::Key_Delete);
        QCOMPARE(doc.overlays().currentRecord().spectrumLines.size(), std::size_t(2));
        QCOMPARE(doc.selectedLine(), -1);
    }
};

QTEST_MAIN(DocumentTest)
#include "document_test.moc"
