// The data <-> device mapping of a diagram (lumgl::AxisMap per axis), unrounded and with
// both rounding rules, for the entry points (DataToMousePoint, MousePointToData,
// ZoomRectToValues) and for the ticks and the curve of the diagram, which truncate toward
// zero.
#pragma once

#include "lumdb/Records.h"
#include "lumgl/PlotInfo.h"
#include "lumgl/lumgl_export.h"

namespace lumgl {

// Device x of a data x, unrounded: (x - xMin) * xScale + origin.x on a linear axis,
// log10(x / xMin) * xScale + origin.x on a logarithmic one. On a logarithmic axis an
// x <= 0 is placed at origin.x (as is done for y), and xMin <= 0 throws
// PlotError(1) (CalculateScaling has not accepted the range).
LUMGL_EXPORT double DataToDeviceX(double x, const SPlotInfo& info);
// Device y of a data y, likewise; on a logarithmic axis a y <= 0 is placed at origin.y,
// and yMin <= 0 throws PlotError(2).
LUMGL_EXPORT double DataToDeviceY(double y, const SPlotInfo& info);

// The rounding of DataToMousePoint: t = the value truncated toward zero; when t != 0 and
// value - t >= 0.5, t + 1, else the value rounded toward minus infinity. So 10.5 -> 11,
// 0.7 -> 0, 0.5 -> 0, -2.3 -> -3. Values beyond the 32-bit range are clamped to it; NaN
// gives 0.
LUMGL_EXPORT int RoundToDevice(double value);
// Truncation toward zero (ticks and curve of the diagram), clamped like RoundToDevice.
LUMGL_EXPORT int TruncateToDevice(double value);

// A data point mapped with truncation toward zero (the diagram's tick positions and curve).
LUMGL_EXPORT SDevicePoint DataToDevicePointTruncated(TPointF point, const SPlotInfo& info);

// Data x of a device x: (px - origin.x) / xScale + xMin, or xMin * 10^((px - origin.x) /
// xScale) on a logarithmic axis. A scale of 0 (an empty frame) or a non-finite scale
// counts as offset 0, so the result is xMin rather than inf or NaN.
LUMGL_EXPORT double DeviceToDataX(int px, const SPlotInfo& info);
// Data y of a device y, likewise with origin.y, yScale and yMin.
LUMGL_EXPORT double DeviceToDataY(int py, const SPlotInfo& info);

}  // namespace lumgl
