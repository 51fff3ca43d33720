// Per-drawing layout of a diagram: the font chosen from the size of plotRect,
// the frame corners and margin, and the scales. The drawing runs these as steps 2 and 3 of
// every drawing, after the initialisation (InitPlotInfo) when drawFlags bit 7 is set.
#pragma once

#include "lumgl/PlotInfo.h"
#include "lumgl/TextMetrics.h"
#include "lumgl/lumgl_export.h"

namespace lumgl {

// The size s of the font choice: the height H of the rectangle, but W * 2 / 3 (integer
// division) when 1.5 * H > W.
LUMGL_EXPORT int PlotSize(const SDeviceRect& rect);
// Font height for size s: 16 when s >= 350, 12 when s < 200, else 14.
LUMGL_EXPORT int FontHeightForSize(int s);
// margin for size s: 5 when s >= 350, 3 when s < 200, else 4.
LUMGL_EXPORT int MarginForSize(int s);

// Unless stateFlags bit 1 (kStateFixedFont) is set, replaces info.font by an "Arial" font
// of weight 400 and the height of FontHeightForSize(PlotSize(plotRect)).
LUMGL_EXPORT void ChoosePlotFont(SPlotInfo& info);

// Sets origin, bottomRight, topLeft, topRight and margin from plotRect and the height h of
// info.font (metrics.fontHeight):
//   p = W - 6h, r = H - 3.15h truncated toward zero,
//   origin = (left + 5h, top + h + r), bottomRight = origin + (p, 0),
//   topLeft = origin + (0, -r), topRight = origin + (p, -r),
//   margin = MarginForSize(PlotSize(plotRect)).
// A plot rectangle too small for the fonts gives p or r <= 0 (an empty or turned frame);
// CalculateScaling then yields scales of 0 or of the other sign, never inf or NaN.
LUMGL_EXPORT void CalculateFrameGeometry(SPlotInfo& info, const TextMetrics& metrics);

// Steps 2 and 3 of a drawing: ChoosePlotFont, CalculateFrameGeometry, CalculateScaling.
// Throws PlotError (codes 1, 2) from CalculateScaling.
LUMGL_EXPORT void LayoutPlot(SPlotInfo& info, const TextMetrics& metrics);

}  // namespace lumgl
