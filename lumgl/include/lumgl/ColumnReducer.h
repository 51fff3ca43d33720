// The dense-data reduction for pixel targets: a path with many points per pixel column is
// cut down to the first, lowest, highest and last point of each column, which covers
// exactly the pixels the full path covers.
#pragma once

#include "lumgl/CurveWalk.h"
#include "lumgl/lumgl_export.h"

namespace lumgl {

// Sits between the curve walk and the canvas. Why the pixels stay the same: inside one
// column the full path runs up and down along x = column, and a continuous run of vertical
// segments covers exactly the pixels from its lowest to its highest point; the reduced
// run first -> min -> max -> last covers that same interval and ends on the same point,
// and every segment between two columns is passed on unchanged. A move breaks the run,
// because the path is not continuous there. Call finish() after the last point.
class LUMGL_EXPORT ColumnReducer final : public PathSink {
  public:
    explicit ColumnReducer(PathSink& out) : out_(out) {}
    void moveTo(SDevicePoint p) override;
    // Inline: the walk calls it once per point of a dense curve.
    void lineTo(SDevicePoint p) override {
        if (run_ && p.x == column_) {
            low_ = p.y < low_ ? p.y : low_;  // branch-free: noisy data has no trend
            high_ = p.y > high_ ? p.y : high_;
            last_ = p.y;
            return;
        }
        nextColumn(p);
    }
    void finish();

  private:
    void nextColumn(SDevicePoint p);
    void startRun(SDevicePoint p);
    void flush();
    void emit(int y);

    PathSink& out_;
    bool run_ = false;
    int column_ = 0;
    int first_ = 0;
    int low_ = 0;
    int high_ = 0;
    int last_ = 0;
    int penY_ = 0;  // device y of the downstream current position while a run is open
};

}  // namespace lumgl
