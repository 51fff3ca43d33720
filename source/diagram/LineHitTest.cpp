#include "diagram/LineHitTest.h"

#include "lumgl/Markers.h"
#include "lumgl/lumgl.h"

namespace linehit {

namespace {

bool holds(const SDeviceRect& box, SDevicePoint p) {
    return box.left <= p.x && p.x <= box.right && box.top <= p.y && p.y <= box.bottom;
}

struct FoundBoxes {
    SDeviceRect marker;
    SDeviceRect label;
    SDeviceRect selection;
};

// The marker box over the triangle; the label box as wide as the line's labels stand side
// by side (w = 6n - 10n/30 pixels either side), or the marker box for a spectrum without
// identification labels (w = 2); the selection box at least 6 pixels either side.
FoundBoxes foundBoxes(const SpectrumRecord& spectrum, const CLine& line, const SPlotInfo& info,
                      int length) {
    const SDevicePoint p = DataToMousePoint(TPointF{line.x, line.y}, info);
    FoundBoxes b;
    b.marker = {p.x - 2, p.y - 21, p.x + 2, p.y - 9};
    int w = 2;
    if (spectrum.newFile) {
        const int n = static_cast<int>(line.speciesLabels.size());
        w = 6 * n - (10 * n) / 30;
        b.label = {p.x - w - 1, p.y - 5 - length, p.x + w, p.y - 5};
    } else {
        b.label = b.marker;
    }
    if (w < 3) w = 6;
    b.selection = {p.x - w, p.y - 5 - length, p.x + w, p.y - 5};
    return b;
}

// The database line's label box over its bar.
SDeviceRect databaseBox(const CSearchEngineLine& line, const SPlotInfo& info, int length) {
    const SDevicePoint p = DataToMousePoint(
        TPointF{line.wavelength, static_cast<float>(lumgl::DatabaseBarTop(info, length))}, info);
    return {p.x - 7, p.y - 18 - length, p.x + 6, p.y - 18};
}

}  // namespace

Pick pick(const SpectrumRecord& spectrum, SDevicePoint click, const SPlotInfo& laidOut,
          int length) {
    if (spectrum.foundLinesShown) {
        for (std::size_t i = 0; i < spectrum.spectrumLines.size(); ++i) {
            const FoundBoxes b = foundBoxes(spectrum, spectrum.spectrumLines[i], laidOut, length);
            if (holds(b.marker, click) || holds(b.label, click))
                return {static_cast<int>(i), false};
        }
    }
    if (spectrum.databaseLinesShown) {
        for (std::size_t i = 0; i < spectrum.databaseLines.size(); ++i)
            if (holds(databaseBox(spectrum.databaseLines[i], laidOut, length), click))
                return {static_cast<int>(i), true};
    }
    return {};
}

std::optional<SDeviceRect> selectionBox(const SpectrumRecord& spectrum, Pick line,
                                        const SPlotInfo& laidOut, int length) {
    if (line.index < 0) return std::nullopt;
    const auto at = static_cast<std::size_t>(line.index);
    if (!line.database) {
        if (at >= spectrum.spectrumLines.size()) return std::nullopt;
        return foundBoxes(spectrum, spectrum.spectrumLines[at], laidOut, length).selection;
    }
    if (at >= spectrum.databaseLines.size()) return std::nullopt;
    SDeviceRect box = databaseBox(spectrum.databaseLines[at], laidOut, length);
    ++box.left;  // 6 pixels either side of the bar
    return box;
}

}  // namespace linehit
