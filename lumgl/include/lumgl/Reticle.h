// The reticle record (made by MakeReticleStruct) and the spans of pixels that
// the reticle drawing saves, draws and restores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lumdb/Records.h"
#include "lumgl/PlotInfo.h"
#include "lumgl/lumgl_export.h"

// Four arrays: one position and one saved colour per pixel of the full-screen width (the
// horizontal line) and of the full-screen height (the vertical line). A position with x
// (horizontal list) or y (vertical list) equal to -1 ends a list. MakeReticleStruct sizes
// the arrays and puts a terminator at the start of both lists, so restoring before any
// save changes nothing.
struct ReticleBuffers {
    std::vector<SDevicePoint> horizontalPositions;
    std::vector<TColor> horizontalColors;
    std::vector<SDevicePoint> verticalPositions;
    std::vector<TColor> verticalColors;

    static constexpr std::int32_t kEnd = -1;
    bool allocated() const { return !horizontalPositions.empty(); }
    std::size_t horizontalCapacity() const { return horizontalPositions.size(); }
    std::size_t verticalCapacity() const { return verticalPositions.size(); }
};

namespace lumgl {

// A run of pixels along one line: x from first to last (horizontal) or y (vertical).
struct ReticleSpan {
    std::int32_t first = 0;
    std::int32_t last = -1;
    bool empty() const { return last < first; }
    std::int32_t count() const { return empty() ? 0 : last - first + 1; }
    friend bool operator==(const ReticleSpan&, const ReticleSpan&) = default;
};

// The pixels of the horizontal reticle line through `point`: x from origin.x to
// bottomRight.x when topLeft.y <= point.y <= origin.y, else empty.
// A frame wider than the screen (nothing else keeps it inside): the buffers hold one
// entry per pixel of the full-screen width, one of which the terminator needs, so the
// span is cut to its first horizontalCapacity() - 1 pixels from origin.x on. The reticle drawing
// saves and draws exactly this span, so a restore always puts back every pixel drawn.
// Empty when the buffers are not allocated.
LUMGL_EXPORT ReticleSpan HorizontalReticleSpan(const SPlotInfo& info, const ReticleBuffers& buffers,
                                               SDevicePoint point);
// The vertical line: y from topLeft.y to origin.y when origin.x <= point.x <=
// bottomRight.x, cut to verticalCapacity() - 1 pixels from topLeft.y on.
LUMGL_EXPORT ReticleSpan VerticalReticleSpan(const SPlotInfo& info, const ReticleBuffers& buffers,
                                             SDevicePoint point);

}  // namespace lumgl
