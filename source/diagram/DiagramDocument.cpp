#include "diagram/DiagramDocument.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "app/Commands.h"
#include "dialogs/display/LabelFontType.h"
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
    registerLineMessages();
    registerXAxisMessages();
}

namespace {

// At most `limit` bytes of UTF-8 text, cut before a character that would not fit whole.
std::string cutText(std::string text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

// A top with room above it (a tenth of its magnitude), in double and kept within float, so
// a negative top is raised too and a top near the float limit does not overflow.
float raisedTop(float top) {
    return static_cast<float>(
        std::clamp(double(top) + 0.1 * std::fabs(double(top)), -double(FLT_MAX), double(FLT_MAX)));
}

}  // namespace

void DiagramDocument::applyViewSettings(const lumcore::IniFile& ini) {
    const auto on = [&](const char* section, const char* key) {
        return ini.getInt(section, key, 0) == 1;
    };
    const auto setBit = [this](std::uint16_t bit, bool set) {
        plot_.drawFlags =
            static_cast<std::uint16_t>(set ? plot_.drawFlags | bit : plot_.drawFlags & ~bit);
    };
    setBit(kDrawXGrid, on("InitWindow", "VerticalLines"));
    setBit(kDrawYGrid, on("InitWindow", "HorizontalLines"));
    setBit(kDrawXLinear, !on("InitWindow", "LogX"));
    setBit(kDrawYLinear, !on("InitWindow", "LogY"));
    reticle.shown = on("InitWindow", "Line Cursor");
    plot_.stateFlags |= kStateFixedFont;

    const char* view = "View Options";
    legend.shown = on(view, "ShowLegend");
    legend.position = ini.getInt(view, "LegendPosition", 1);
    legend.fileNames = on(view, "FileNames");
    legend.lineSearch = on(view, "LineSearch");
    legend.identification = on(view, "LineIdentification");
    for (auto [key, text] : {std::pair{"xLabel", &axis.xLabel}, std::pair{"yLabel", &axis.yLabel},
                             std::pair{"xUnit", &axis.xUnit}, std::pair{"yUnit", &axis.yUnit}}) {
        const std::string value = ini.getString(view, key, "&");
        if (value.empty() || value.front() != '&') *text = cutText(value, SPlotInfo::kAxisTitleMax);
    }
    fontName = cutText(ini.getString(view, "FontName", "Arial"), SPlotInfo::kTitleMax);
    fontType = LabelFontType::parse(ini.getString(view, "FontType", "15,11,0,0")).text();
    rebuildLabelFont();
}

void DiagramDocument::loadSettings(const lumcore::IniFile& ini, bool settingsFile,
                                   SettingsPart part) {
    if (settingsFile || part == SettingsPart::Identification)
        analysis = lumdb::loadAnalysisSettings(ini, identificationElements);
    if (!settingsFile && part != SettingsPart::Database) return;
    const char* section = settingsFile ? "Database Selection" : lumdb::kSectionElementSelection;
    const lumdb::StageSelection stages =
        lumdb::loadElementSelection(ini, section, databaseElements);
    database.Neutrals = stages.neutrals;
    database.FirstIons = stages.firstIons;
    database.HigherIons = stages.higherIons;
    database.LowerIntensity = static_cast<float>(ini.getDouble(section, "LowerIntensity", "0"));
    database.UpperIntensity = static_cast<float>(ini.getDouble(section, "UpperIntensity", "10000"));
    database.IntensityValues = ini.getInt(section, "IntensityValues", 1) != 0;
    database.IntensityOption = ini.getInt(section, "IntensityOption", 0);
    database.SortOption = ini.getInt(section, "SortOption", 0);
    // The wavelength interval covers the current spectrum in whole units.
    if (!overlays_.empty()) {
        const SPlotInfo& data = overlays_.currentRecord().plotInfo;
        database.LowerWavelength = std::floor(std::min(data.xMin, data.xMax));
        database.UpperWavelength = std::ceil(std::max(data.xMin, data.xMax));
    }
}

void DiagramDocument::saveSettings(lumcore::IniFile& ini, bool settingsFile,
                                   SettingsPart part) const {
    if (settingsFile || part == SettingsPart::Identification)
        lumdb::saveAnalysisSettings(ini, identificationElements, analysis);
    if (!settingsFile && part != SettingsPart::Database) return;
    const char* section = settingsFile ? "Database Selection" : lumdb::kSectionElementSelection;
    lumdb::saveElementSelection(ini, section, databaseElements,
                                {database.Neutrals, database.FirstIons, database.HigherIons});
    ini.setDouble(section, "LowerIntensity", database.LowerIntensity);
    ini.setDouble(section, "UpperIntensity", database.UpperIntensity);
    ini.setInt(section, "IntensityValues", database.IntensityValues);
    ini.setInt(section, "IntensityOption", database.IntensityOption);
    ini.setInt(section, "SortOption", database.SortOption);
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
    record->xAnchor = lumdb::AxisScaling::reset(record->points).anchor;
    record->newFile = 1;
    if (first) {
        // The first spectrum's data range with room above its top.
        const SPlotInfo& data = record->plotInfo;
        std::array<float, 4> r{data.xMin, data.xMax, data.yMin, raisedTop(data.yMax)};
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
    followCurrentSpectrum();
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

bool DiagramDocument::autoscale(bool x, bool y) {
    if (overlays_.empty()) return false;
    SPlotInfo found = plot_;
    found.initFlags = static_cast<std::uint16_t>((x ? kInitXRange : 0) | (y ? kInitYRange : 0));
    try {
        GetMinMax(overlays_.currentRecord().points, found);
    } catch (const lumgl::PlotError&) {
        return false;
    }
    if (x) {
        plot_.xMin = found.xMin;
        plot_.xMax = found.xMax;
    }
    if (y) {
        plot_.yMax = raisedTop(found.yMax);
        const double below = double(found.yMin) - 0.02 * (double(plot_.yMax) - found.yMin);
        plot_.yMin = static_cast<float>(std::max(below, -double(FLT_MAX)));
    }
    return true;
}

bool DiagramDocument::setCurrent(std::size_t position) {
    if (position == overlays_.current()) return position < overlays_.count();
    if (!overlays_.setCurrent(position)) return false;
    followCurrentSpectrum();
    clearSelection();
    followLineDisplay();
    return true;
}

void DiagramDocument::commitNext() {
    overlays_.commitNext();
    followCurrentSpectrum();
    clearSelection();
    followLineDisplay();
}

void DiagramDocument::closeCurrent() {
    overlays_.closeCurrent();
    followCurrentSpectrum();
    clearSelection();
    followLineDisplay();
}

void DiagramDocument::closeOverlays() {
    overlays_.closeOverlays();
    followCurrentSpectrum();
    clearSelection();
    followLineDisplay();
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
    // A reticle left outside the new x range goes to the middle of the plot area; the window
    // places it there, on the laid-out plot, when it next draws.
    const float x = reticle.position.x;
    if (reticle.shown && (x < std::min(r[0], r[1]) || x > std::max(r[0], r[1])))
        reticle.reposition = true;
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
    // A pixel calibration picking its points leaves the diagram to it alone.
    if (calibrating) return false;
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
            return selected();
        case cmd::EditLineEntries:  // the candidates of a found line
            return selected() && cur->foundLinesShown && cur->foundLineSelected;
        case cmd::DeleteAllLines:
            return cur && ((cur->foundLinesShown && !cur->spectrumLines.empty()) ||
                           (cur->databaseLinesShown && !cur->databaseLines.empty()));
        case cmd::AllLinesInfo:
            return cur && (!cur->spectrumLines.empty() || !cur->databaseLines.empty());
        case cmd::AdjustWavelength:
            return reticle.shown;
        case cmd::Undo:
            return cur && overlays_.currentHistory().canUndo();
        case cmd::Redo:
            return cur && overlays_.currentHistory().canRedo();
        default:
            return true;
    }
}

DiagramDocument::ViewToggle DiagramDocument::toggleView(int command) {
    const bool on = !isChecked(command);
    const auto flip = [&](std::uint16_t& word, std::uint16_t bit, bool set) {
        word = static_cast<std::uint16_t>(set ? word | bit : word & ~bit);
    };
    switch (command) {
        case cmd::BlackAndWhite:
            flip(plot_.stateFlags, kStateBlackWhite, on);
            return {on, nullptr, nullptr};
        case cmd::HorizontalGrid:
            flip(plot_.drawFlags, kDrawYGrid, on);
            return {on, "InitWindow", "HorizontalLines"};
        case cmd::VerticalGrid:
            flip(plot_.drawFlags, kDrawXGrid, on);
            return {on, "InitWindow", "VerticalLines"};
        case cmd::LogX:
            flip(plot_.drawFlags, kDrawXLinear, !on);
            return {on, "InitWindow", "LogX"};
        case cmd::LogY:
            flip(plot_.drawFlags, kDrawYLinear, !on);
            return {on, "InitWindow", "LogY"};
        default:
            return {};
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

void DiagramDocument::invertX() {
    std::swap(plot_.xMin, plot_.xMax);
    for (std::size_t p = 0; p < overlays_.count(); ++p) {
        SPlotInfo& data = overlays_.record(p).plotInfo;
        std::swap(data.xMin, data.xMax);
    }
    if (integralDisplay) std::swap(integralBounds[0], integralBounds[1]);
}

DiagramDocument::ViewOptions DiagramDocument::viewOptions() const {
    return {overlays_.empty() ? std::string() : overlays_.currentRecord().plotInfo.title, axis,
            legend, fontName, fontType};
}

void DiagramDocument::setViewOptions(const ViewOptions& options, lumcore::IniFile& ini) {
    if (!overlays_.empty())
        overlays_.currentRecord().plotInfo.title = cutText(options.title, SPlotInfo::kTitleMax);
    const AxisTexts builtIn;
    const char* view = "View Options";
    for (auto [key, text, given, standard] :
         {std::tuple{"xLabel", &axis.xLabel, &options.axis.xLabel, &builtIn.xLabel},
          std::tuple{"xUnit", &axis.xUnit, &options.axis.xUnit, &builtIn.xUnit},
          std::tuple{"yLabel", &axis.yLabel, &options.axis.yLabel, &builtIn.yLabel},
          std::tuple{"yUnit", &axis.yUnit, &options.axis.yUnit, &builtIn.yUnit}}) {
        *text = cutText(*given, SPlotInfo::kAxisTitleMax);
        ini.setString(view, key, *text == *standard ? "&" : *text);
    }
    legend = options.legend;
    ini.setInt(view, "ShowLegend", legend.shown ? 1 : 0);
    ini.setInt(view, "LegendPosition", legend.position);
    ini.setInt(view, "FileNames", legend.fileNames ? 1 : 0);
    ini.setInt(view, "LineSearch", legend.lineSearch ? 1 : 0);
    ini.setInt(view, "LineIdentification", legend.identification ? 1 : 0);
    fontName = cutText(options.fontName, SPlotInfo::kTitleMax);
    fontType = LabelFontType::parse(options.fontType).text();
    ini.setString(view, "FontName", fontName);
    ini.setString(view, "FontType", fontType);
    rebuildLabelFont();
}

void DiagramDocument::rebuildLabelFont() {
    plot_.font = LabelFontType::parse(fontType).font(fontName);
}
