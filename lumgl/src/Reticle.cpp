// The reticle buffers and the spans of the reticle lines.
#include <algorithm>

#include "lumgl/lumgl.h"

void MakeReticleStruct(ReticleBuffers& buffers, bool create, int screenWidth, int screenHeight) {
    if (create) {
        const std::size_t w = static_cast<std::size_t>(std::max(1, screenWidth));
        const std::size_t h = static_cast<std::size_t>(std::max(1, screenHeight));
        const SDevicePoint end{ReticleBuffers::kEnd, ReticleBuffers::kEnd};
        buffers.horizontalPositions.assign(w, end);
        buffers.horizontalColors.assign(w, 0);
        buffers.verticalPositions.assign(h, end);
        buffers.verticalColors.assign(h, 0);
    } else {
        buffers = ReticleBuffers{};
    }
}

namespace lumgl {

namespace {

ReticleSpan CutToCapacity(std::int32_t first, std::int32_t last, std::size_t capacity) {
    ReticleSpan span{first, last};
    if (capacity == 0 || span.empty()) return ReticleSpan{};
    const std::size_t room = capacity - 1;  // one entry for the terminator
    if (room == 0) return ReticleSpan{};
    if (static_cast<std::size_t>(span.count()) > room) {
        span.last = span.first + static_cast<std::int32_t>(room) - 1;
    }
    return span;
}

}  // namespace

ReticleSpan HorizontalReticleSpan(const SPlotInfo& info, const ReticleBuffers& buffers,
                                  SDevicePoint point) {
    if (!(info.topLeft.y <= point.y && point.y <= info.origin.y)) return ReticleSpan{};
    return CutToCapacity(info.origin.x, info.bottomRight.x, buffers.horizontalCapacity());
}

ReticleSpan VerticalReticleSpan(const SPlotInfo& info, const ReticleBuffers& buffers,
                                SDevicePoint point) {
    if (!(info.origin.x <= point.x && point.x <= info.bottomRight.x)) return ReticleSpan{};
    return CutToCapacity(info.topLeft.y, info.origin.y, buffers.verticalCapacity());
}

}  // namespace lumgl
