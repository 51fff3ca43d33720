// The document of a diagram window: overlay positions with their pens and histories, and
// the undo/redo history with its texts and snapshots.
#include <QTemporaryDir>
#include <QtTest>
#include <bit>
#include <cfloat>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

#include "ScriptedUi.h"
#include "diagram/DiagramDocument.h"
#include "lumio/Outcome.h"

namespace {

constexpr TColor kRed = MakeColor(255, 0, 0), kOlive = MakeColor(128, 128, 0),
                 kMaroon = MakeColor(128, 0, 0), kNavy = MakeColor(0, 0, 128);

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

// A registry whose 1214 handler keeps a display range in `range` the way the window does:
// it answers the text of the range it replaces, then applies the text's values.
struct RangeState {
    std::array<float, 4> range{0, 1, 0, 1};
    MessageRegistry registry;
    RangeState() {
        registry.add(1214, [this](const std::string& text, const HistorySnapshot&, int) {
            const std::string inverse = UndoText(1214, range);
            const auto values = UndoValues(text, 4);
            if (values) std::copy(values->begin(), values->end(), range.begin());
            return inverse;
        });
    }
    void change(SpectrumHistory& h, std::array<float, 4> to) {
        h.push(UndoText(1214, range));
        range = to;
    }
};

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
        std::set<TColor> colours;
        for (std::size_t p = 0; p < 12; ++p)
            colours.insert(table.record(p).plotInfo.curvePen.color);
        QCOMPARE(colours.size(), std::size_t(12));
        QCOMPARE(table.record(0).plotInfo.curvePen.color, kRed);
        QCOMPARE(table.record(2).plotInfo.curvePen.color, kOlive);
        QCOMPARE(table.record(11).plotInfo.curvePen.color, kNavy);
        // Black/white curves differ by dash style, markers are black and light grey.
        QVERIFY(table.record(0).plotInfo.framePen.style != table.record(1).plotInfo.framePen.style);
        QCOMPARE(table.record(0).plotInfo.framePen.color, MakeColor(0, 0, 0));
        QCOMPARE(table.record(3).axisText.markerPens[3].color, MakeColor(192, 192, 192));
        QCOMPARE(table.record(3).axisText.markerPens[3].style, PenStyle::DashDot);

        // With all twelve open, closing the third and opening another gives the new one
        // olive; the others keep theirs.
        std::vector<TColor> before;
        for (std::size_t p = 0; p < 12; ++p)
            before.push_back(table.record(p).plotInfo.curvePen.color);
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
        QCOMPARE(names(four), (std::vector<std::string>{"s0", "s2", "s3"}));
        QVERIFY(open(four, "new"));
        QCOMPARE(four.record(3).plotInfo.curvePen.color, MakeColor(0, 128, 128));
        QCOMPARE(four.record(1).plotInfo.curvePen.color, kOlive);
        QVERIFY(!four.setCurrent(4));
        QCOMPARE(four.current(), std::size_t(3));
    }

    void closingKeepsPositionsApart() {
        OverlayTable table;
        open(table, "a");
        open(table, "b");
        // The last one closed: the one before becomes current.
        table.closeCurrent();
        QCOMPARE(table.count(), std::size_t(1));
        QCOMPARE(table.current(), std::size_t(0));
        QCOMPARE(table.record(1).fileName, std::string());

        // A history moves with its spectrum; the closed one's does not come back.
        for (const char* n : {"b", "c", "d"}) open(table, n);
        table.history(1).push("1214,1,2,3,4");
        table.history(3).push("1214,5,6,7,8");
        table.setCurrent(1);
        table.closeCurrent();
        QCOMPARE(names(table), (std::vector<std::string>{"a", "c", "d"}));
        QCOMPARE(table.current(), std::size_t(1));
        QVERIFY(!table.history(1).canUndo());
        QCOMPARE(table.history(2).undoText(), std::string("1214,5,6,7,8"));
        open(table, "e");
        QVERIFY(!table.history(3).canUndo());

        // A failed read leaves nothing behind.
        SpectrumRecord* r = table.prepareNext();
        r->fileName = "broken";
        r->points.push_back({1, 2});
        table.abandonNext();
        QCOMPARE(table.count(), std::size_t(4));
        QVERIFY(table.record(4).points.empty());

        // Closing the overlays keeps the first, current, with its history.
        table.history(0).push("1214,0,1,0,1");
        table.closeOverlays();
        QCOMPARE(names(table), (std::vector<std::string>{"a"}));
        QCOMPARE(table.current(), std::size_t(0));
        QVERIFY(table.history(0).canUndo());
        QVERIFY(table.record(2).fileName.empty());
    }

    void undoKeepsTwelveExactSteps() {
        RangeState state;
        SpectrumHistory history;
        // Thirteen changes: the oldest text goes, twelve undos lead back to the first change.
        for (int k = 1; k <= 13; ++k)
            state.change(history, {0.1f * float(k), 1e7f / 3.0f * float(k), -FLT_MAX, FLT_MIN});
        QCOMPARE(history.undoCount(), std::size_t(12));
        int undos = 0;
        while (state.registry.undo(history)) ++undos;
        QCOMPARE(undos, 12);
        QCOMPARE(state.range, (std::array<float, 4>{0.1f, 1e7f / 3.0f, -FLT_MAX, FLT_MIN}));
        QCOMPARE(history.redoCount(), std::size_t(12));
        // Redo walks forward again, exactly.
        for (int k = 0; k < 12; ++k) QVERIFY(state.registry.redo(history));
        QCOMPARE(state.range[1], 1e7f / 3.0f * 13.0f);
        // A change after an undo drops what could be redone.
        QVERIFY(state.registry.undo(history));
        QVERIFY(history.canRedo());
        state.change(history, {5, 6, 7, 8});
        QVERIFY(!history.canRedo());
        QVERIFY(!state.registry.redo(history));
        history.flush();
        QVERIFY(!history.canUndo() && !history.canRedo());
        QVERIFY(!state.registry.undo(history));
    }

    void snapshotTravelsWithItsEntry() {
        SpectrumHistory history;
        MessageRegistry registry;
        std::vector<std::size_t> seen;
        registry.add(1217, [&](const std::string&, const HistorySnapshot& s, int) {
            seen.push_back(s.lines.size());
            return std::string("1218,1,0");
        });
        registry.add(1218, [&](const std::string&, const HistorySnapshot& s, int) {
            seen.push_back(s.lines.size());
            return std::string("1217,1,0");
        });
        CLine line;
        line.x = 500.5f;
        history.push("1217,1,0").lines.add(line);
        history.push("1214,0,1,0,1");
        // A text whose message has no handler stays where it is.
        QVERIFY(!registry.undo(history));
        QCOMPARE(history.undoCount(), std::size_t(2));
        history.flush();
        history.push("1217,1,0").lines.add(line);
        QVERIFY(registry.undo(history));
        QVERIFY(registry.redo(history));
        QVERIFY(registry.undo(history));
        QCOMPARE(seen, (std::vector<std::size_t>{1, 1, 1}));
        QCOMPARE(history.redoText(), std::string("1218,1,0"));
        QCOMPARE(history.redoSnapshot().lines[0].x, 500.5f);
        // Each push starts with an empty snapshot.
        QVERIFY(history.push("1214,0,1,0,1").empty());
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

    void rangeUndoMovesTheReticle() {
        QTemporaryDir dir;
        lumtest::ScriptedUi ui;
        DiagramDocument doc;
        doc.addSpectrum(writeFile(dir, "s.txt", "400 1\n500 2\n600 3\n700 4\n"), ui, 1, {});
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
        const std::tuple<const char*, const char*, int> types[] = {{"20,14,1", "20,14,1,0", 20},
                                                                   {"x,14,1,0", "0,14,1,0", 19},
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
};

QTEST_MAIN(DocumentTest)
#include "document_test.moc"
