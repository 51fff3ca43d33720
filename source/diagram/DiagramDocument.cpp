#include "diagram/DiagramDocument.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <stdexcept>

#include "app/Commands.h"
#include "lumgl/PlotError.h"
#include "lumgl/lumgl.h"
#include "lumio/Outcome.h"
#include "lumio/lumio.h"

DiagramDocument::DiagramDocument() {
    MakePlotInfoStruct(plot_, true);
    plot_.drawFlags = 127;
    plot_.stateFlags = 0;
    messages_.add(kApplyRange, [this](const std::string& text, const HistorySnapshot&, int) {
        std::string inverse = UndoText(kApplyRange, range());
        if (const auto values = UndoValues(text, 4))
            applyRange({(*values)[0], (*values)[1], (*values)[2], (*values)[3]});
        return inverse;
    });
}

int DiagramDocument::addSpectrum(const std::string& path, lumio::Ui& ui, int filterIndex,
                                 const AddSteps& steps) {
    SpectrumRecord* record = overlays_.prepareNext();
    if (!record) throw std::length_error("the diagram holds the most spectra it can");
    record->fileName = path;
    const bool first = overlays_.empty();
    const std::size_t previous = overlays_.current();
    int readIndex = filterIndex;
    try {
        readIndex = ReadFileData(ui, *record, filterIndex);
        if (steps.xFormat) {
            try {
                steps.xFormat(*record);
            } catch (const lumio::Outcome& outcome) {
                if (outcome.keyword() == "CancelConvertWavelength")
                    throw lumio::Outcome(lumio::keyword::CancelOpenFile);
                throw;
            }
        }
    } catch (...) {
        overlays_.abandonNext();
        throw;
    }
    record->xTransform = {0.0f, 1.0f, 0.0f, 1.0f};
    record->newFile = 1;
    if (first) {
        // The first spectrum's data range with room above its top; computed in double and
        // kept within float, so a negative top is raised too and a top near the float
        // limit does not overflow.
        const SPlotInfo& data = record->plotInfo;
        const double top = std::clamp(double(data.yMax) + 0.1 * std::fabs(double(data.yMax)),
                                      -double(FLT_MAX), double(FLT_MAX));
        std::array<float, 4> r{data.xMin, data.xMax, data.yMin, static_cast<float>(top)};
        if (r[2] == r[3]) {
            r[2] -= 5.0f;
            r[3] += 5.0f;
        }
        plot_.xMin = r[0];
        plot_.xMax = r[1];
        plot_.yMin = r[2];
        plot_.yMax = r[3];
    }
    overlays_.commitNext();
    clearSelection();
    SpectrumRecord& added = overlays_.currentRecord();
    if (first) {
        if (steps.loadSettings) steps.loadSettings(*this);
        const bool found = !added.spectrumLines.empty();
        const bool database = !found && !added.databaseLines.empty();
        if (found || database) analysisDisplay = true;
        added.foundLinesShown = found;
        added.databaseLinesShown = database;
    } else {
        const SpectrumRecord& before = overlays_.record(previous);
        added.foundLinesShown = before.foundLinesShown;
        added.databaseLinesShown = before.databaseLinesShown;
    }
    return readIndex;
}

bool DiagramDocument::setCurrent(std::size_t position) {
    if (position == overlays_.current()) return position < overlays_.count();
    if (!overlays_.setCurrent(position)) return false;
    clearSelection();
    return true;
}

void DiagramDocument::closeCurrent() {
    overlays_.closeCurrent();
    clearSelection();
}

void DiagramDocument::closeOverlays() {
    overlays_.closeOverlays();
    clearSelection();
}

void DiagramDocument::clearSelection() {
    selectedLine_ = -1;
    for (std::size_t p = 0; p < overlays_.count(); ++p) {
        overlays_.record(p).foundLineSelected = 0;
        overlays_.record(p).databaseLineSelected = 0;
    }
}

void DiagramDocument::selectLine(int index) {
    clearSelection();
    if (overlays_.empty() || index < 0) return;
    SpectrumRecord& r = overlays_.currentRecord();
    const auto within = [index](std::size_t size) { return std::size_t(index) < size; };
    if (r.foundLinesShown && within(r.spectrumLines.size()))
        r.foundLineSelected = 1;
    else if (r.databaseLinesShown && within(r.databaseLines.size()))
        r.databaseLineSelected = 1;
    else
        return;
    selectedLine_ = index;
}

std::array<float, 4> DiagramDocument::range() const {
    return {plot_.xMin, plot_.xMax, plot_.yMin, plot_.yMax};
}

void DiagramDocument::changeRange(const std::array<float, 4>& r) {
    pushUndo(UndoText(kApplyRange, range()));
    applyRange(r);
}

void DiagramDocument::applyRange(const std::array<float, 4>& r) {
    plot_.xMin = r[0];
    plot_.xMax = r[1];
    plot_.yMin = r[2];
    plot_.yMax = r[3];
    // A reticle left outside the new x range moves to the middle of the plot area, onto
    // the nearest point of the current spectrum.
    const float x = reticle.position.x;
    if (!reticle.shown || overlays_.empty() ||
        (x >= std::min(r[0], r[1]) && x <= std::max(r[0], r[1])))
        return;
    try {
        CalculateScaling(plot_);
        const SDevicePoint middle{(plot_.plotRect.left + plot_.plotRect.right) / 2, 0};
        reticle.position = MousePointToData(middle, overlays_.currentRecord().points, plot_);
        reticle.reposition = true;
    } catch (const lumgl::PlotError&) {
        // The range cannot be drawn; the next paint reports that, the reticle stays.
    }
}

HistorySnapshot& DiagramDocument::pushUndo(std::string restoreText) {
    return overlays_.currentHistory().push(std::move(restoreText));
}

void DiagramDocument::flushHistory() {
    overlays_.currentHistory().flush();
}

bool DiagramDocument::undo() {
    return !overlays_.empty() && messages_.undo(overlays_.currentHistory());
}

bool DiagramDocument::redo() {
    return !overlays_.empty() && messages_.redo(overlays_.currentHistory());
}

bool DiagramDocument::isEnabled(int command) const {
    const std::size_t count = overlays_.count();
    const SpectrumRecord* cur = count ? &overlays_.currentRecord() : nullptr;
    const auto selected = [&] {
        if (!cur || selectedLine_ < 0) return false;
        const auto at = std::size_t(selectedLine_);
        return (cur->foundLinesShown && cur->foundLineSelected && at < cur->spectrumLines.size()) ||
               (cur->databaseLinesShown && cur->databaseLineSelected &&
                at < cur->databaseLines.size());
    };
    switch (command) {
        case cmd::FileCloseOverlay:
        case cmd::FileCloseAllOverlays:
        case cmd::SpectrumArithmetic:
            return count > 1;
        case cmd::DiagramColor:
            return !(plot_.stateFlags & kStateBlackWhite) && !analysisDisplay;
        case cmd::IdentifySpectrum:
        case cmd::ShowDatabaseLines:
            return analysisDisplay;
        case cmd::AddLine:
            return analysisDisplay && cur && cur->foundLinesShown;
        case cmd::LineWavelength:
        case cmd::DeleteLine:
        case cmd::SelectedLineInfo:
        case cmd::EditLineEntries:
            return selected();
        case cmd::DeleteAllLines:
        case cmd::AllLinesInfo:
            return cur && (!cur->spectrumLines.empty() || !cur->databaseLines.empty());
        case cmd::AdjustWavelength:
            return reticle.shown;
        case cmd::Undo:
            return cur && overlays_.history(overlays_.current()).canUndo();
        case cmd::Redo:
            return cur && overlays_.history(overlays_.current()).canRedo();
        default:
            return true;
    }
}

bool DiagramDocument::isChecked(int command) const {
    switch (command) {
        case cmd::OpenIdentification:
            return analysisDisplay;
        case cmd::Reticle:
            return reticle.shown;
        case cmd::Legend:
            return legend.shown;
        case cmd::BlackAndWhite:
            return plot_.stateFlags & kStateBlackWhite;
        case cmd::HorizontalGrid:
            return plot_.drawFlags & kDrawYGrid;
        case cmd::VerticalGrid:
            return plot_.drawFlags & kDrawXGrid;
        case cmd::LogX:
            return !(plot_.drawFlags & kDrawXLinear);
        case cmd::LogY:
            return !(plot_.drawFlags & kDrawYLinear);
        default:
            return false;
    }
}
