// lumgl: plot description, scaling and coordinate mapping, drawing. The entry points are
// exported under their plain names (global namespace); helpers that the drawing Parts use
// live in namespace lumgl (Layout.h, Mapping.h, Ticks.h, Reticle.h, TextMetrics.h).
//
// Failures: CalculateScaling, ZoomRectToValues, GetMinMax (and the functions that call
// them) throw lumgl::PlotError (PlotError.h) whose code() is one of these integers:
// 1 logarithmic x axis with a limit <= 0, 2 logarithmic y axis with both limits <= 0,
// 3 no data points. The record keeps what was written before the failure (a logarithmic
// y fix-up writes yMin or yMax before yScale).
#pragma once

#include "lumdb/Records.h"
#include "lumgl/AxisMap.h"
#include "lumgl/Canvas.h"
#include "lumgl/DiagramComposer.h"
#include "lumgl/Drawing.h"
#include "lumgl/Layout.h"
#include "lumgl/Mapping.h"
#include "lumgl/Markers.h"
#include "lumgl/PlotError.h"
#include "lumgl/PlotInfo.h"
#include "lumgl/Reticle.h"
#include "lumgl/TextMetrics.h"
#include "lumgl/Ticks.h"
#include "lumgl/WmfCanvas.h"
#include "lumgl/WpgExport.h"
#include "lumgl/lumgl_export.h"

LUMGL_EXPORT const char* LumglVersion();

// create: font "System" of height 12 (weight 400), curvePen solid width 1 red (255),
// framePen solid width 1 black, title, xTitle and yTitle empty; nothing else is touched.
// create false (destroy): font and pens are released, i.e. reset to the default
// descriptions. The caller allocates and frees the record itself.
LUMGL_EXPORT void MakePlotInfoStruct(SPlotInfo& info, bool create);

// The initialisation of a drawing (the drawing runs it when drawFlags bit 7 is
// set — this function does not test that bit). If initFlags bit 7 is set, initFlags
// becomes 127. Then in order: bits 0 or 1 run GetMinMax (throws PlotError(3) for no
// points); bit 2 sets xTitle "Titel: X-Achse"; bit 3 yTitle "Titel: Y-Achse"; bit 4
// copies `clientRect` (the window's client rectangle) into plotRect; bit 5 gives new
// pens (curve red, frame black, solid, width 1); bit 6 sets title "Bildtitel: Zeichnung
// (Default)". Finally drawFlags becomes 127 and stateFlags 0.
LUMGL_EXPORT void InitPlotInfo(const TPointList& points, SPlotInfo& info,
                               const SDeviceRect& clientRect);

// The data range of `points`: empty -> PlotError(3); min and max of x and y; a minimum
// equal to its maximum v becomes v - 5 .. v + 5 (when v is so large that v +- 5 rounds
// back to v in 32 bits, v -+ |v| / 1000). initFlags bit 0 stores the x range into xMin,
// xMax; bit 1 the y range into yMin, yMax.
LUMGL_EXPORT void GetMinMax(const TPointList& points, SPlotInfo& info);

// xScale and yScale from the frame corners and the ranges:
//   linear: (bottomRight.x - origin.x) / (xMax - xMin), (topLeft.y - origin.y) / (yMax - yMin);
//   logarithmic: the same over log10(max / min).
// Logarithmic x with xMin <= 0 or xMax <= 0: PlotError(1), nothing written.
// Logarithmic y with yMin <= 0 < yMax: d = yMax - yMin, f from d (the rule's
// decade loop), yMin = yMax / f; with yMax <= 0 < yMin the same, yMax = yMin / f.
//   When 1 <= d <= 10 the loop leaves f at 1, which
//   would give an empty range; f becomes 10, so the lower limit lies one decade below the
//   upper (continuous with d just above 10, where the loop gives f = 10).
// Logarithmic y with both limits <= 0: PlotError(2) (xScale is already written).
// Degenerate ranges, chosen here so that no scale is inf or NaN: equal limits v on a
// linear axis are widened to v - 5 .. v + 5 as GetMinMax does; equal positive limits on a
// logarithmic axis to v / 10 .. v * 10. The widened limits are written into the record.
LUMGL_EXPORT void CalculateScaling(SPlotInfo& info);

// Device point of a data point with the rounding rule of RoundToDevice (10.5 -> 11,
// 0.7 -> 0, -2.3 -> -3). See DataToDeviceX/Y for logarithmic axes.
LUMGL_EXPORT SDevicePoint DataToMousePoint(TPointF point, const SPlotInfo& info);

// The point of the curve nearest in x to the data x of `point` (its device y plays no
// part). The curve rises when the last x >= the first x; the walk from the first point
// passes points before x in that direction; of the point where it stops and the one
// passed last, the nearer in x, on equal distance the one where it stopped (so halfway
// between two points gives the later one); a walk off the end gives the last point.
// No points: PlotError(3).
LUMGL_EXPORT TPointF MousePointToData(SDevicePoint point, const TPointList& points,
                                      const SPlotInfo& info);

// Makes the device rectangle the new ranges: a, b from left and right, d, c from top and
// bottom; xMin = a and xMax = b when |b - a| / (|a| + |b|) * 0.5 > 1e-6, else the x range
// stays (a rectangle too thin to be a zoom); yMin = c, yMax = d under the same test. The
// width is tested, not the difference of the magnitudes, so a rectangle symmetric about 0
// (a = -b) zooms like any other. Then CalculateScaling (throws).
LUMGL_EXPORT void ZoomRectToValues(const SDeviceRect& rect, SPlotInfo& info);

// The point `steps` points away from p along x: the walk of MousePointToData stops at the
// first point not before p.x in the curve's direction; from there |steps| points
// backwards (falling curve and steps > 0, rising and steps < 0) or forwards (otherwise),
// never past either end; no steps when the first and last x are equal. A positive steps
// always moves toward larger x.
// When p lies beyond the last point in walking
// order, the last point (the nearest end point) is returned whatever steps is.
// No points: PlotError(3).
LUMGL_EXPORT TPointF DisplaceDataPoint(TPointF p, const TPointList& points, int steps);

// create: sizes the four arrays for the full screen given by the caller (the system
// metrics of the full-screen client area; values below 1 count as 1) and terminates both
// lists; create false: releases the arrays. See lumgl::HorizontalReticleSpan for frames
// larger than the screen.
LUMGL_EXPORT void MakeReticleStruct(ReticleBuffers& buffers, bool create, int screenWidth,
                                    int screenHeight);
