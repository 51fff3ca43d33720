// Line editing in the document: adding a found line, deleting the selected line or the whole
// shown list, pruning a line's candidates, and the two private messages that undo and redo
// additions and deletions with the lines kept in the history's snapshots.
#include <algorithm>
#include <bit>
#include <cstdint>

#include "app/Commands.h"
#include "diagram/DiagramDocument.h"
#include "lumcore/Printf.h"
#include "lumdb/Database.h"

namespace {

// Positions are compared bit for bit, so a line at a position that is not a number is
// found again too.
bool samePosition(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool sameLine(const CLine& a, const CLine& b) {
    return samePosition(a.x, b.x) && samePosition(a.y, b.y) &&
           a.candidateLabels == b.candidateLabels && a.candidateColors == b.candidateColors &&
           a.candidateRecords == b.candidateRecords && a.speciesLabels == b.speciesLabels &&
           a.speciesColors == b.speciesColors && a.speciesRecords == b.speciesRecords;
}

bool sameLine(const CSearchEngineLine& a, const CSearchEngineLine& b) {
    return samePosition(a.wavelength, b.wavelength) && samePosition(a.value, b.value) &&
           a.color == b.color && a.sortOption == b.sortOption && a.label == b.label &&
           a.record == b.record;
}

// Marks in `list` one line equal in every field to each line of `gone`, none twice. The
// search for the next one starts after the last found, so lines removed in list order (a
// whole list, or any run of it) are found in one pass.
template <class Line>
std::vector<char> markEqualLines(const lumdb::SortedArray<Line>& list,
                                 const lumdb::SortedArray<Line>& gone) {
    const std::size_t n = list.size();
    std::vector<char> marked(n, 0);
    std::size_t from = 0;
    for (const Line& line : gone) {
        for (std::size_t step = 0; step < n; ++step) {
            const std::size_t i = (from + step) % n;
            if (!marked[i] && sameLine(list[i], line)) {
                marked[i] = 1;
                from = i + 1;
                break;
            }
        }
    }
    return marked;
}

// Found lines are in order of position: the search starts at the first line not before the
// snapshot line's position.
std::vector<char> markEqualFoundLines(const TLineArray& list, const TLineArray& gone) {
    const std::size_t n = list.size();
    std::vector<char> marked(n, 0);
    const auto& items = list.items();
    const auto before = [](const CLine& a, const CLine& b) { return a.x < b.x; };
    for (const CLine& line : gone) {
        const auto near = std::lower_bound(items.begin(), items.end(), line, before);
        std::size_t from = static_cast<std::size_t>(near - items.begin());
        if (from >= n) from = 0;
        for (std::size_t step = 0; step < n; ++step) {
            const std::size_t i = (from + step) % n;
            if (!marked[i] && sameLine(list[i], line)) {
                marked[i] = 1;
                break;
            }
        }
    }
    return marked;
}

}  // namespace

std::string DiagramDocument::lineUndoText(unsigned message) const {
    const SpectrumRecord& r = overlays_.currentRecord();
    return lumcore::strprintf("%u,%u,%u", message, unsigned(r.foundLinesShown),
                              unsigned(r.newFile));
}

void DiagramDocument::registerLineMessages() {
    // Both handlers answer the other's text with the display bytes they replace, then take
    // the bytes of their own text.
    const auto takeBytes = [this](const std::string& text) {
        const auto values = UndoValues(text, 2);
        if (!values) return;
        SpectrumRecord& r = overlays_.currentRecord();
        r.foundLinesShown = (*values)[0] != 0.0f;
        r.newFile = (*values)[1] != 0.0f;
    };
    // An added line goes again: one line for each line of the snapshot, equal to it in every
    // field (an added line sits on a data point, often that of a line already there).
    messages_.add(kRemoveLines, [this, takeBytes](const std::string& text,
                                                  const HistorySnapshot& snapshot, int) {
        std::string inverse = lineUndoText(kRestoreLines);
        takeBytes(text);
        SpectrumRecord& r = overlays_.currentRecord();
        if (!snapshot.lines.empty())
            r.spectrumLines.removeMarked(markEqualFoundLines(r.spectrumLines, snapshot.lines));
        if (!snapshot.databaseLines.empty())
            r.databaseLines.removeMarked(markEqualLines(r.databaseLines, snapshot.databaseLines));
        clearSelection();
        followLineDisplay();
        return inverse;
    });
    // Deleted lines come back: found lines in their place by position, database lines where
    // their list's order puts them (after the others when it is the order of addition).
    messages_.add(kRestoreLines, [this, takeBytes](const std::string& text,
                                                   const HistorySnapshot& snapshot, int) {
        std::string inverse = lineUndoText(kRemoveLines);
        takeBytes(text);
        SpectrumRecord& r = overlays_.currentRecord();
        r.spectrumLines.reserve(r.spectrumLines.size() + snapshot.lines.size());
        for (const CLine& line : snapshot.lines) r.spectrumLines.add(line);
        r.databaseLines.reserve(r.databaseLines.size() + snapshot.databaseLines.size());
        for (const CSearchEngineLine& line : snapshot.databaseLines) r.databaseLines.add(line);
        clearSelection();
        followLineDisplay();
        return inverse;
    });
}

bool DiagramDocument::addLine(TPointF at) {
    addLineMode = false;
    if (overlays_.empty() || !overlays_.currentRecord().foundLinesShown) return false;
    HistorySnapshot& snapshot = pushUndo(lineUndoText(kRemoveLines));
    snapshot.lines.add(CLine(at.x, at.y));
    overlays_.currentRecord().spectrumLines.add(CLine(at.x, at.y));
    clearSelection();
    return true;
}

bool DiagramDocument::deleteSelectedLine() {
    if (overlays_.empty() || selectedLine_ < 0) return false;
    SpectrumRecord& r = overlays_.currentRecord();
    const auto at = std::size_t(selectedLine_);
    if (r.foundLinesShown && r.foundLineSelected && at < r.spectrumLines.size()) {
        HistorySnapshot& snapshot = pushUndo(lineUndoText(kRestoreLines));
        snapshot.lines.add(std::move(r.spectrumLines[at]));
        r.spectrumLines.removeAt(at);
    } else if (r.databaseLinesShown && r.databaseLineSelected && at < r.databaseLines.size()) {
        HistorySnapshot& snapshot = pushUndo(lineUndoText(kRestoreLines));
        snapshot.databaseLines.add(std::move(r.databaseLines[at]));
        r.databaseLines.removeAt(at);
    } else {
        return false;
    }
    clearSelection();
    return true;
}

bool DiagramDocument::deleteAllLines() {
    if (overlays_.empty()) return false;
    SpectrumRecord& r = overlays_.currentRecord();
    // The lines leave the list for the snapshot; added in their order, each lands at the end.
    if (r.foundLinesShown && !r.spectrumLines.empty()) {
        HistorySnapshot& snapshot = pushUndo(lineUndoText(kRestoreLines));
        snapshot.lines.reserve(r.spectrumLines.size());
        for (CLine& line : r.spectrumLines) snapshot.lines.add(std::move(line));
        r.spectrumLines.clear();
    } else if (r.databaseLinesShown && !r.databaseLines.empty()) {
        HistorySnapshot& snapshot = pushUndo(lineUndoText(kRestoreLines));
        snapshot.databaseLines.reserve(r.databaseLines.size());
        for (CSearchEngineLine& line : r.databaseLines) snapshot.databaseLines.add(std::move(line));
        r.databaseLines.clear();
    } else {
        return false;
    }
    clearSelection();
    return true;
}

bool DiagramDocument::keepCandidates(const std::vector<std::size_t>& keep) {
    if (!isEnabled(cmd::EditLineEntries)) return false;
    CLine& line = overlays_.currentRecord().spectrumLines[std::size_t(selectedLine_)];
    const std::size_t n = std::min(
        {line.candidateLabels.size(), line.candidateColors.size(), line.candidateRecords.size()});
    CLine pruned(line.x, line.y);
    std::size_t next = 0;  // each candidate once, in its order
    for (std::size_t i : keep) {
        if (i < next || i >= n) continue;
        next = i + 1;
        pruned.candidateLabels.push_back(line.candidateLabels[i]);
        pruned.candidateColors.push_back(line.candidateColors[i]);
        pruned.candidateRecords.push_back(line.candidateRecords[i]);
    }
    AppendSpeciesEntries(pruned, 0, pruned.candidateLabels.size());
    // The history's copies of the line change with it, so that undo and redo still find it.
    overlays_.currentHistory().forEachSnapshot([&](HistorySnapshot& snapshot) {
        for (CLine& copy : snapshot.lines)
            if (sameLine(copy, line)) copy = pruned;
    });
    line = std::move(pruned);
    return true;
}

void DiagramDocument::followLineDisplay() {
    if (addLineMode && !isEnabled(cmd::AddLine)) addLineMode = false;
}

std::vector<DiagramDocument::LegendEntry> DiagramDocument::legendEntries() const {
    std::vector<LegendEntry> entries;
    if (overlays_.empty()) return entries;
    if (legend.fileNames)
        for (std::size_t p = 0; p < overlays_.count(); ++p) {
            const std::string& path = overlays_.record(p).fileName;
            const std::size_t slash = path.find_last_of("/\\");
            entries.push_back(
                {(slash == std::string::npos ? path : path.substr(slash + 1)) + ':', int(p)});
        }
    const SpectrumRecord& cur = overlays_.currentRecord();
    const auto count = [](std::size_t n) {
        return lumcore::strprintf("- %u Linien gefunden", unsigned(n));
    };
    if (legend.lineSearch && cur.foundLinesShown) {
        entries.push_back({"Liniensuche im Spektrum:"});
        const SLineSearchVal& s = analysis.search;
        if (s.FTFilter) entries.push_back({"- Datenglättung: WF-Filter"});
        if (s.FTFilter && s.SGFilter) entries.push_back({"                 und SGP-Filter"});
        if (s.SGFilter && !s.FTFilter) entries.push_back({"- Datenglättung: SGP-Filter"});
        entries.push_back({count(cur.spectrumLines.size())});
    }
    if (cur.databaseLinesShown) {
        entries.push_back({"Datenbanklinien:"});
        entries.push_back({count(cur.databaseLines.size())});
    }
    if (legend.identification && cur.foundLinesShown) {
        const auto identified =
            std::count_if(cur.spectrumLines.begin(), cur.spectrumLines.end(),
                          [](const CLine& line) { return !line.candidateLabels.empty(); });
        entries.push_back({"Linienidentifizierung:"});
        entries.push_back({lumcore::strprintf("- Trefferintervall: +/- %g nm",
                                              double(analysis.select.SearchRange))});
        entries.push_back({lumcore::strprintf("- %u Linien identifiziert", unsigned(identified))});
    }
    return entries;
}
