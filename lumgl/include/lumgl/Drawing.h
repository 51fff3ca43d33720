// Drawing of one spectrum diagram through a Canvas: frame, ticks, grid lines, tick labels,
// axis titles, picture title and the clipped data curve. The entry points take the canvas
// in place of a device context; the canvas' target rectangle is the window's client area
// (initFlags bit 4).
#pragma once

#include <vector>

#include "lumdb/Records.h"
#include "lumgl/Canvas.h"
#include "lumgl/PlotInfo.h"
#include "lumgl/Ticks.h"
#include "lumgl/lumgl_export.h"

// Draws the diagram: initialisation when drawFlags bit 7 is set, font choice, frame
// geometry and scales, then ticks (bits 2, 4, 5), labels, titles and frame (bit 2), the
// curve (bit 3) and the frame once more over the curve's ends (bit 2).
// Throws lumgl::PlotError (1, 2, 3) from the layout.
LUMGL_EXPORT void PlotDrawing(const TPointList& points, SPlotInfo& info, lumgl::Canvas& canvas);

// The four axis variants (255, 253, 254, 252: bit 0 clear makes x logarithmic, bit 1
// clear y). With an info its drawFlags are and-ed with the variant; with none a temporary
// SPlotInfo is made, initialised from the data (initFlags 128) and drawn.
// Chosen here: the variant's axis modes survive the initialisation (which otherwise sets
// drawFlags to 127 and so makes both axes linear again).
LUMGL_EXPORT void PlotDrawingLinLin(const TPointList& points, SPlotInfo* info,
                                    lumgl::Canvas& canvas);
LUMGL_EXPORT void PlotDrawingLinLog(const TPointList& points, SPlotInfo* info,
                                    lumgl::Canvas& canvas);
LUMGL_EXPORT void PlotDrawingLogLin(const TPointList& points, SPlotInfo* info,
                                    lumgl::Canvas& canvas);
LUMGL_EXPORT void PlotDrawingLogLog(const TPointList& points, SPlotInfo* info,
                                    lumgl::Canvas& canvas);

namespace lumgl {

// Tick values and their device points (truncated) for one drawing.
struct DiagramTicks {
    TickList x;
    TickList y;
    std::vector<SDevicePoint> xPositions;  // (x pixel, origin.y)
    std::vector<SDevicePoint> yPositions;  // (origin.x, y pixel)
};

// The pieces of a drawing, for PlotDrawing and for the WPG export, which orders and
// groups them differently. They work in either direction of device y (screen y grows
// downwards, WPG's upwards): "up" is always toward topLeft.
LUMGL_EXPORT DiagramTicks ComputeDiagramTicks(const SPlotInfo& info);
// Ticks at the bottom and top edges and the left and right edges, with the grid lines of
// drawFlags bits 4 and 5 when `grid` is set.
LUMGL_EXPORT void DrawDiagramTicks(Canvas& canvas, const SPlotInfo& info, const DiagramTicks& ticks,
                                   bool grid);
// Tick labels of both axes, the axis titles and the picture title.
LUMGL_EXPORT void DrawDiagramLabels(Canvas& canvas, const SPlotInfo& info,
                                    const DiagramTicks& ticks);
LUMGL_EXPORT void DrawDiagramFrame(Canvas& canvas, const SPlotInfo& info);
// The curve in curvePen (framePen in black and white), reduced per pixel column when the
// canvas is a pixel target.
LUMGL_EXPORT void DrawDiagramCurve(Canvas& canvas, const TPointList& points, const SPlotInfo& info);

// The grey of the grid lines (red = green = blue = 192).
inline constexpr TColor kGridColor = 12632256;

}  // namespace lumgl
