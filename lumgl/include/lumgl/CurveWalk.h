// The data curve of a diagram as a clipped device path: one pass over the points, clipped
// to the x band and the y band of the ranges, emitting moves and lines to a PathSink.
#pragma once

#include <cstddef>

#include "lumdb/Records.h"
#include "lumgl/PlotInfo.h"
#include "lumgl/lumgl_export.h"

namespace lumgl {

class Canvas;

class LUMGL_EXPORT PathSink {
  public:
    virtual ~PathSink();
    virtual void moveTo(SDevicePoint p) = 0;
    virtual void lineTo(SDevicePoint p) = 0;
};

// Forwards a path to a canvas as it is.
class LUMGL_EXPORT CanvasPathSink : public PathSink {
  public:
    explicit CanvasPathSink(Canvas& canvas) : canvas_(canvas) {}
    void moveTo(SDevicePoint p) override;
    void lineTo(SDevicePoint p) override;

  private:
    Canvas& canvas_;
};

// The clipped walk:
// - the start is the last point before the first point inside the x band (moved onto the
//   band limit along its segment when it lies beyond); no point inside: nothing drawn;
// - every later point beyond the x band is moved onto the limit; after that the curve has
//   left the band for good and the walk ends;
// - inside the y band (limits included) consecutive points are joined; a segment leaving
//   the band ends on the limit it crosses, one entering starts with a move to where it
//   enters; a segment with both ends outside draws nothing, even when it crosses the band;
// - device points are truncated toward zero, and no line is emitted whose end equals its
//   start, so a dense curve emits at most one line per change of device point.
// Throws PlotError (1 or 2) for a logarithmic axis with a lower limit <= 0.
LUMGL_EXPORT void WalkClippedCurve(const TPointF* points, std::size_t count, const SPlotInfo& info,
                                   PathSink& sink);
// The same walk feeding the per-column reduction of pixel targets directly (no virtual
// call per point). Defined with ColumnReducer.
class ColumnReducer;
LUMGL_EXPORT void WalkClippedCurve(const TPointF* points, std::size_t count, const SPlotInfo& info,
                                   ColumnReducer& sink);

}  // namespace lumgl
