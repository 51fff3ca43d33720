// Font choice and frame geometry.
#include <cmath>
#include <cstdint>

#include "lumgl/lumgl.h"

namespace lumgl {

int PlotSize(const SDeviceRect& rect) {
    const std::int64_t w = rect.width();
    const std::int64_t h = rect.height();
    if (1.5 * static_cast<double>(h) > static_cast<double>(w)) {
        return static_cast<int>(w * 2 / 3);
    }
    return static_cast<int>(h);
}

int FontHeightForSize(int s) {
    return s >= 350 ? 16 : (s < 200 ? 12 : 14);
}

int MarginForSize(int s) {
    return s >= 350 ? 5 : (s < 200 ? 3 : 4);
}

void ChoosePlotFont(SPlotInfo& info) {
    if (info.stateFlags & kStateFixedFont) return;
    SFontDesc font;
    font.face = "Arial";
    font.weight = 400;
    font.height = FontHeightForSize(PlotSize(info.plotRect));
    info.font = font;
}

void CalculateFrameGeometry(SPlotInfo& info, const TextMetrics& metrics) {
    const int h = metrics.fontHeight(info.font);
    const SDeviceRect& rect = info.plotRect;
    const int p = rect.width() - 6 * h;
    const int r = static_cast<int>(std::trunc(static_cast<double>(rect.height()) - 3.15 * h));
    info.origin = SDevicePoint{rect.left + 5 * h, rect.top + h + r};
    info.bottomRight = SDevicePoint{info.origin.x + p, info.origin.y};
    info.topLeft = SDevicePoint{info.origin.x, info.origin.y - r};
    info.topRight = SDevicePoint{info.origin.x + p, info.origin.y - r};
    info.margin = MarginForSize(PlotSize(rect));
}

void LayoutPlot(SPlotInfo& info, const TextMetrics& metrics) {
    ChoosePlotFont(info);
    CalculateFrameGeometry(info, metrics);
    CalculateScaling(info);
}

}  // namespace lumgl
