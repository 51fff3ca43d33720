// The composition of a whole diagram; see DiagramComposer.h.
#include "lumgl/DiagramComposer.h"

#include <algorithm>
#include <cfloat>

#include "lumgl/Drawing.h"
#include "lumgl/Layout.h"
#include "lumgl/Markers.h"
#include "lumgl/PlotError.h"
#include "lumgl/lumgl.h"

namespace lumgl {

namespace {

const TColor kOverlayColors[kMaxOverlays] = {
    MakeColor(255, 0, 0),   MakeColor(0, 0, 255),   MakeColor(128, 128, 0), MakeColor(128, 0, 0),
    MakeColor(0, 128, 128), MakeColor(255, 255, 0), MakeColor(255, 0, 255), MakeColor(0, 255, 0),
    MakeColor(128, 0, 128), MakeColor(0, 255, 255), MakeColor(0, 128, 0),   MakeColor(0, 0, 128)};

// The drawing's own part of drawFlags that only the first curve drawn carries.
constexpr std::uint16_t kFrameAndGrid = kDrawFrame | kDrawXGrid | kDrawYGrid;

}  // namespace

TColor OverlayColor(std::size_t position) {
    return kOverlayColors[position % kMaxOverlays];
}

DiagramComposer::DiagramComposer(const SPlotInfo& info, std::vector<DiagramOverlay> overlays,
                                 DiagramOptions options)
    : info_(info), overlays_(std::move(overlays)), options_(options) {
    if (overlays_.size() > kMaxOverlays) overlays_.resize(kMaxOverlays);
}

std::vector<std::size_t> DiagramComposer::drawingOrder() const {
    std::vector<std::size_t> order;
    order.reserve(overlays_.size());
    for (std::size_t k = 0; k < overlays_.size(); ++k)
        if (k != options_.current) order.push_back(k);
    if (options_.current < overlays_.size()) order.push_back(options_.current);
    return order;
}

void DiagramComposer::autoscale() {
    if (overlays_.empty()) return;
    SPlotInfo& w = info_;
    w.xMin = w.yMin = FLT_MAX;
    w.xMax = w.yMax = -FLT_MAX;
    for (const DiagramOverlay& overlay : overlays_) {
        const SPlotInfo& p = overlay.spectrum->plotInfo;
        w.xMin = std::min({w.xMin, p.xMin, p.xMax});
        w.xMax = std::max({w.xMax, p.xMin, p.xMax});
        w.yMin = std::min({w.yMin, p.yMin, p.yMax});
        w.yMax = std::max({w.yMax, p.yMin, p.yMax});
    }
    if (!(w.yMax > w.yMin)) {
        w.yMin -= 5;
        w.yMax += 5;
    }
    w.yMax *= w.yMax > 0 ? 1.1f : 1.0f;
    w.yMin -= 0.02f * (w.yMax - w.yMin);
}

void DiagramComposer::makeRoomForLabels(const TextMetrics& metrics) {
    if (std::none_of(overlays_.begin(), overlays_.end(),
                     [](const DiagramOverlay& o) { return o.labels; }))
        return;
    for (int round = 0; round < 30; ++round) {
        SPlotInfo info = info_;
        LayoutPlot(info, metrics);
        const SFontDesc font = LabelFont(info);
        bool fits = true;
        for (const DiagramOverlay& overlay : overlays_) {
            if (!overlay.labels) continue;
            for (const CLine& line : overlay.spectrum->spectrumLines) {
                if (line.speciesLabels.empty() || line.x <= info.xMin || line.x >= info.xMax)
                    continue;
                int longest = 0;
                for (std::size_t k = 0; k < line.speciesLabels.size(); ++k) {
                    const std::string& record =
                        k < line.speciesRecords.size() ? line.speciesRecords[k] : std::string();
                    const std::string text = IdentificationLabelText(
                        line.speciesLabels[k], record, options_.showValues, options_.strengthKind);
                    longest = std::max(longest, metrics.textExtent(font, text).width);
                }
                const SDevicePoint p = DataToMousePoint(TPointF{line.x, line.y}, info);
                if (p.y - 21 - longest < info.topLeft.y) fits = false;
            }
        }
        if (fits) return;
        if (info_.drawFlags & kDrawYLinear)
            info_.yMax += 0.15f * (info_.yMax - info_.yMin);
        else
            info_.yMax *= 2.0f;
    }
}

SPlotInfo DiagramComposer::overlayInfo(std::size_t overlay) const {
    SPlotInfo info = info_;
    info.curvePen = overlays_[overlay].pen;
    const std::vector<std::size_t> order = drawingOrder();
    if (order.empty() || order.front() != overlay)
        info.drawFlags = static_cast<std::uint16_t>(info.drawFlags & ~kFrameAndGrid);
    return info;
}

SPlotInfo DiagramComposer::draw(Canvas& canvas) const {
    const std::vector<std::size_t> order = drawingOrder();
    SPlotInfo laidOut = info_;
    for (std::size_t k : order) {
        SPlotInfo info = overlayInfo(k);
        PlotDrawing(overlays_[k].spectrum->points, info, canvas);
        if (k == order.front()) laidOut = info;
    }
    for (std::size_t k : order) {
        const DiagramOverlay& overlay = overlays_[k];
        const SpectrumRecord& spectrum = *overlay.spectrum;
        if (overlay.databaseLines)
            DrawDataBaseLines(spectrum.databaseLines, options_.showValues, options_.strengthKind,
                              laidOut, canvas);
        if (overlay.foundLines) DrawSearchedLines(spectrum.spectrumLines, laidOut, canvas);
        if (overlay.labels)
            DrawIdentifiedElements(spectrum.spectrumLines, options_.showValues,
                                   options_.strengthKind, laidOut, canvas);
    }
    return laidOut;
}

std::string PlotErrorText(int code) {
    switch (code) {
        case kErrorLogXLimits:
            return "Logarithmische Darstellung der x-Achse:\n\nGrenzen sind kleiner oder gleich 0!";
        case kErrorLogYLimits:
            return "Logarithmische Darstellung der y-Achse:\n\nGrenzen sind kleiner oder gleich 0!";
        case kErrorNoData:
            return "In der Datei befinden sich keine Datenpunkte!";
        default:
            return "Fehler in der Zeichenroutine!";
    }
}

}  // namespace lumgl
