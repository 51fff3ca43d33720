// PlotDrawing and its variants: frame, ticks, grid, labels, titles and the curve.
#include "lumgl/Drawing.h"

#include <cmath>
#include <cstdlib>

#include "lumgl/ColumnReducer.h"
#include "lumgl/CurveWalk.h"
#include "lumgl/LabelFormat.h"
#include "lumgl/Layout.h"
#include "lumgl/Mapping.h"
#include "lumgl/lumgl.h"

namespace lumgl {

namespace {

// Directions of the drawing rules ("up", "down", "n pixels") in device units.
struct Directions {
    int up;    // -1 on screen, +1 when device y grows upwards
    int unit;  // device units per pixel of the rules
    int h;     // font height in device units

    int upBy(int n) const { return up * n; }
    int downPx(int px) const { return -up * px * unit; }
    int px(int n) const { return n * unit; }
};

Directions DirectionsOf(const Canvas& canvas, const SPlotInfo& info) {
    return Directions{info.topLeft.y > info.origin.y ? 1 : -1, canvas.pixelUnit(),
                      canvas.fontHeight(info.font)};
}

// Height of a device y above the bottom edge of the frame, counted toward the top.
int Above(const SPlotInfo& info, const Directions& d, int y) {
    return (y - info.origin.y) * d.up;
}

const SPenDesc kBlackPen{0, 1, PenStyle::Solid};
const SPenDesc kGridPen{kGridColor, 1, PenStyle::Solid};

// Linear label step: the distance of the first two ticks (the step itself for one tick).
double LabelStep(const TickList& ticks) {
    if (ticks.values.size() >= 2) {
        return std::fabs(static_cast<double>(ticks.values[1]) - ticks.values[0]);
    }
    return ticks.step;
}

bool LongTick(const TickList& ticks, float value) {
    return ticks.logarithmic && LogAxisLabel(value).powerOfTen;
}

void DrawDiagram(const TPointList& points, SPlotInfo& info, Canvas& canvas,
                 std::uint16_t axisMask) {
    if (info.drawFlags & kDrawInitialise) {
        InitPlotInfo(points, info, canvas.target());
        info.stateFlags = 0;
        info.drawFlags &= axisMask;
    }
    LayoutPlot(info, canvas);
    if (info.drawFlags & (kDrawFrame | kDrawXGrid | kDrawYGrid)) {
        const DiagramTicks ticks = ComputeDiagramTicks(info);
        DrawDiagramTicks(canvas, info, ticks, true);
        if (info.drawFlags & kDrawFrame) {
            DrawDiagramLabels(canvas, info, ticks);
            DrawDiagramFrame(canvas, info);
        }
    }
    if (info.drawFlags & kDrawCurve) DrawDiagramCurve(canvas, points, info);
    if (info.drawFlags & kDrawFrame) DrawDiagramFrame(canvas, info);
}

void DrawVariant(const TPointList& points, SPlotInfo* info, Canvas& canvas, std::uint16_t variant) {
    const std::uint16_t mask = static_cast<std::uint16_t>(0xFF00 | variant);
    if (info) {
        info->drawFlags &= mask;
        DrawDiagram(points, *info, canvas, mask);
        return;
    }
    SPlotInfo temporary;
    MakePlotInfoStruct(temporary, true);
    temporary.drawFlags = variant;
    temporary.initFlags = kInitAll;
    temporary.stateFlags = 0;
    try {
        DrawDiagram(points, temporary, canvas, mask);
    } catch (...) {
        MakePlotInfoStruct(temporary, false);
        throw;
    }
    MakePlotInfoStruct(temporary, false);
}

}  // namespace

DiagramTicks ComputeDiagramTicks(const SPlotInfo& info) {
    DiagramTicks t;
    t.x = AxisTicks(info.xMin, info.xMax, (info.drawFlags & kDrawXLinear) != 0);
    t.y = AxisTicks(info.yMin, info.yMax, (info.drawFlags & kDrawYLinear) != 0);
    for (float v : t.x.values) {
        t.xPositions.push_back(
            SDevicePoint{TruncateToDevice(DataToDeviceX(v, info)), info.origin.y});
    }
    for (float v : t.y.values) {
        t.yPositions.push_back(
            SDevicePoint{info.origin.x, TruncateToDevice(DataToDeviceY(v, info))});
    }
    return t;
}

void DrawDiagramTicks(Canvas& canvas, const SPlotInfo& info, const DiagramTicks& ticks, bool grid) {
    const Directions d = DirectionsOf(canvas, info);
    const bool xGrid = grid && (info.drawFlags & kDrawXGrid);
    const bool yGrid = grid && (info.drawFlags & kDrawYGrid);
    bool framePenSelected = false;
    auto selectFramePen = [&] {
        if (!framePenSelected) canvas.setPen(info.framePen);
        framePenSelected = true;
    };

    for (std::size_t i = 0; i < ticks.xPositions.size(); ++i) {
        const int px = ticks.xPositions[i].x;
        if (px <= info.origin.x + 1 || px >= info.bottomRight.x - 1) continue;
        const int length = LongTick(ticks.x, ticks.x.values[i]) ? 2 * info.margin : info.margin;
        selectFramePen();
        canvas.moveTo(SDevicePoint{px, info.origin.y});
        canvas.lineTo(SDevicePoint{px, info.origin.y + d.upBy(length)});
        if (xGrid) {
            canvas.setPen(kGridPen);
            canvas.lineTo(SDevicePoint{px, info.topLeft.y - d.upBy(length)});
            canvas.setPen(kBlackPen);
            framePenSelected = false;
        } else {
            canvas.moveTo(SDevicePoint{px, info.topLeft.y - d.upBy(length)});
        }
        canvas.lineTo(SDevicePoint{px, info.topLeft.y});
    }

    const int frameHeight = Above(info, d, info.topLeft.y);
    for (std::size_t i = 0; i < ticks.yPositions.size(); ++i) {
        const int py = ticks.yPositions[i].y;
        const int above = Above(info, d, py);
        if (above <= 1 || above >= frameHeight - 1) continue;
        const int length = LongTick(ticks.y, ticks.y.values[i]) ? 2 * info.margin : info.margin;
        selectFramePen();
        canvas.moveTo(SDevicePoint{info.origin.x, py});
        canvas.lineTo(SDevicePoint{info.origin.x + length, py});
        if (yGrid) {
            canvas.setPen(kGridPen);
            canvas.lineTo(SDevicePoint{info.bottomRight.x - length, py});
            canvas.setPen(kBlackPen);
            framePenSelected = false;
        } else {
            canvas.moveTo(SDevicePoint{info.bottomRight.x - length, py});
        }
        canvas.lineTo(SDevicePoint{info.bottomRight.x, py});
    }
}

void DrawDiagramLabels(Canvas& canvas, const SPlotInfo& info, const DiagramTicks& ticks) {
    const Directions d = DirectionsOf(canvas, info);
    canvas.setFont(info.font);
    canvas.setTextColor(info.framePen.color);

    // x labels and title
    if (!ticks.x.logarithmic) {
        const double step = LabelStep(ticks.x);
        for (std::size_t i = 0; i < ticks.xPositions.size(); ++i) {
            const SDevicePoint p = ticks.xPositions[i];
            canvas.textOut(SDevicePoint{p.x, p.y + d.downPx(2)}, kAlignCenter | kAlignTop,
                           LinearXLabel(ticks.x.values[i], step));
        }
    } else {
        for (std::size_t i = 0; i < ticks.xPositions.size(); ++i) {
            const SDevicePoint p = ticks.xPositions[i];
            const LogLabel label = LogAxisLabel(ticks.x.values[i]);
            if (!label.powerOfTen) {
                canvas.textOut(SDevicePoint{p.x, p.y + d.downPx(2)}, kAlignCenter | kAlignTop,
                               label.text);
            } else {
                canvas.textOut(SDevicePoint{p.x + d.px(4), p.y - d.upBy(d.h / 3)},
                               kAlignRight | kAlignTop, label.text);
                canvas.textOut(SDevicePoint{p.x + d.px(4), p.y}, kAlignLeft | kAlignTop,
                               std::to_string(label.exponent));
            }
        }
    }
    canvas.textOut(SDevicePoint{(info.origin.x + info.bottomRight.x) / 2,
                                info.origin.y - d.upBy(static_cast<int>(1.15 * d.h))},
                   kAlignCenter | kAlignTop, info.xTitle);

    // y labels and title
    const int halfDown = -d.upBy(d.h / 2);
    if (!ticks.y.logarithmic) {
        const double step = LabelStep(ticks.y);
        for (std::size_t i = 0; i < ticks.yPositions.size(); ++i) {
            const SDevicePoint p = ticks.yPositions[i];
            canvas.textOut(SDevicePoint{p.x - d.px(2), p.y + halfDown}, kAlignRight | kAlignBottom,
                           LinearYLabel(ticks.y.values[i], step));
        }
    } else {
        for (std::size_t i = 0; i < ticks.yPositions.size(); ++i) {
            const SDevicePoint p = ticks.yPositions[i];
            const LogLabel label = LogAxisLabel(ticks.y.values[i]);
            if (!label.powerOfTen) {
                canvas.textOut(SDevicePoint{p.x - d.px(2), p.y + halfDown},
                               kAlignRight | kAlignBottom, label.text);
            } else {
                const int shift = std::abs(label.exponent) >= 10 ? 20 : 12;
                canvas.textOut(SDevicePoint{p.x - d.px(shift), p.y + halfDown},
                               kAlignRight | kAlignBottom, label.text);
                canvas.textOut(SDevicePoint{p.x - d.px(2), p.y}, kAlignRight | kAlignBottom,
                               std::to_string(label.exponent));
            }
        }
    }
    SFontDesc turned = info.font;
    turned.escapement = 900;
    canvas.setFont(turned);
    canvas.textOut(
        SDevicePoint{info.plotRect.left + info.margin, (info.topLeft.y + info.origin.y) / 2},
        kAlignCenter | kAlignTop, info.yTitle);
    canvas.setFont(info.font);

    canvas.textOut(SDevicePoint{(info.topLeft.x + info.topRight.x) / 2, info.topLeft.y},
                   kAlignCenter | kAlignBottom, info.title);
}

void DrawDiagramFrame(Canvas& canvas, const SPlotInfo& info) {
    canvas.setPen(info.framePen);
    canvas.moveTo(info.origin);
    canvas.lineTo(info.bottomRight);
    canvas.lineTo(info.topRight);
    canvas.lineTo(info.topLeft);
    canvas.lineTo(info.origin);
}

void DrawDiagramCurve(Canvas& canvas, const TPointList& points, const SPlotInfo& info) {
    canvas.setPen((info.stateFlags & kStateBlackWhite) ? info.framePen : info.curvePen);
    CanvasPathSink direct(canvas);
    if (canvas.reducesDenseCurves()) {
        ColumnReducer reducer(direct);
        WalkClippedCurve(points.data(), points.size(), info, reducer);
        reducer.finish();
    } else {
        WalkClippedCurve(points.data(), points.size(), info, direct);
    }
}

}  // namespace lumgl

void PlotDrawing(const TPointList& points, SPlotInfo& info, lumgl::Canvas& canvas) {
    lumgl::DrawDiagram(points, info, canvas, 0xFFFF);
}

void PlotDrawingLinLin(const TPointList& points, SPlotInfo* info, lumgl::Canvas& canvas) {
    lumgl::DrawVariant(points, info, canvas, 255);
}
void PlotDrawingLinLog(const TPointList& points, SPlotInfo* info, lumgl::Canvas& canvas) {
    lumgl::DrawVariant(points, info, canvas, 253);
}
void PlotDrawingLogLin(const TPointList& points, SPlotInfo* info, lumgl::Canvas& canvas) {
    lumgl::DrawVariant(points, info, canvas, 254);
}
void PlotDrawingLogLog(const TPointList& points, SPlotInfo* info, lumgl::Canvas& canvas) {
    lumgl::DrawVariant(points, info, canvas, 252);
}
