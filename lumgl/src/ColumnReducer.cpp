// Per-pixel-column reduction of dense curves for pixel targets.
#include "lumgl/ColumnReducer.h"

namespace lumgl {

void ColumnReducer::startRun(SDevicePoint p) {
    run_ = true;
    column_ = p.x;
    first_ = low_ = high_ = last_ = penY_ = p.y;
}

void ColumnReducer::emit(int y) {
    if (y == penY_) return;  // no zero-length lines, as the walk itself
    out_.lineTo(SDevicePoint{column_, y});
    penY_ = y;
}

void ColumnReducer::flush() {
    if (!run_) return;
    // first -> low -> high -> last: the order that visits both extremes; which extreme
    // comes first does not change the pixels covered.
    if (first_ - low_ <= high_ - first_) {
        emit(low_);
        emit(high_);
    } else {
        emit(high_);
        emit(low_);
    }
    emit(last_);
    run_ = false;
}

void ColumnReducer::moveTo(SDevicePoint p) {
    flush();
    out_.moveTo(p);
    startRun(p);
}

void ColumnReducer::nextColumn(SDevicePoint p) {
    flush();
    out_.lineTo(p);
    startRun(p);
}

void ColumnReducer::finish() {
    flush();
}

}  // namespace lumgl
