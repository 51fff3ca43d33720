// Line markers, identification and database labels, reticle and single segments.
#include "lumgl/Markers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "lumcore/Printf.h"
#include "lumdb/Candidate.h"
#include "lumgl/Mapping.h"
#include "lumgl/lumgl.h"

namespace lumgl {

Canvas::~Canvas() = default;

namespace {

const SPenDesc kBlackPen{0, 1, PenStyle::Solid};

// "[...]" part of a label: the candidate's strength by `type`, measured by the rule of the
// identification (lumdb::StrengthOf), so a label shows the class the identification used.
std::string ValueText(const lumdb::Candidate& candidate, int type) {
    switch (type) {
        case 0:
            return lumcore::strprintf(" [%.0f]", static_cast<double>(candidate.strength(0)));
        case 1:
        case 2:
            // Atoms and ions only (molecules have no f-value or transition probability).
            if (candidate.atomic() && candidate.value() > 0.0f)
                return lumcore::strprintf(" [%.3E]", static_cast<double>(candidate.strength(type)));
            return " [-]";
        default:
            return {};
    }
}

bool InsideX(const SPlotInfo& info, SDevicePoint p) {
    return info.origin.x < p.x && p.x < info.bottomRight.x;
}

}  // namespace

SFontDesc LabelFont(const SPlotInfo& info) {
    SFontDesc font;
    font.face = "Times New Roman";
    font.weight = 400;
    font.height = info.font.height - info.font.height * 25 / 100;
    font.escapement = 900;
    return font;
}

std::string IdentificationLabelText(const std::string& label, const std::string& record,
                                    bool showValue, int type) {
    const lumdb::Candidate c = lumdb::ParseCandidate(label, record);
    std::string out =
        lumcore::strprintf("%s  %.2f%s", c.species.c_str(), c.wavelength, c.repeated ? "*" : "");
    if (showValue) out += ValueText(c, type);
    return out;
}

int SampleLabelLength(const SPlotInfo& info, bool showValue, int type, const TextMetrics& metrics) {
    const char* sample = !showValue                 ? "Ar II 453.88*"
                         : (type == 1 || type == 2) ? "Ar II 453.88 [2.180E-03]"
                                                    : "Ar II 453.88 [1000]";
    SFontDesc unturned = LabelFont(info);
    unturned.escapement = 0;
    return metrics.textExtent(unturned, sample).width;
}

double DatabaseBarTop(const SPlotInfo& info, int labelLength) {
    const double frameHeight = static_cast<double>(info.origin.y) - info.topLeft.y;
    const double lengthInY =
        frameHeight != 0.0
            ? labelLength * (static_cast<double>(info.yMax) - info.yMin) / frameHeight
            : 0.0;
    return static_cast<double>(info.yMax) / 1.1 - lengthInY;
}

std::string DatabaseLabelText(const CSearchEngineLine& line, bool showValue, int type) {
    const lumdb::Candidate c = lumdb::SearchCandidate(line);
    std::string out = lumcore::strprintf("%s  %.2f", c.species.c_str(), c.wavelength);
    if (showValue) out += ValueText(c, type);
    return out;
}

}  // namespace lumgl

using lumgl::Canvas;

void DrawSearchedLines(const TLineArray& lines, const SPlotInfo& info, Canvas& canvas) {
    canvas.setPen(info.framePen);
    canvas.setBrush(MakeColor(255, 0, 0));
    const int u = canvas.pixelUnit();
    for (const CLine& line : lines) {
        const SDevicePoint p = DataToMousePoint(TPointF{line.x, line.y}, info);
        if (p.x <= info.origin.x || p.x >= info.bottomRight.x) continue;
        const SDevicePoint triangle[3] = {
            {p.x, p.y - 6 * u}, {p.x - 4 * u, p.y - 16 * u}, {p.x + 4 * u, p.y - 16 * u}};
        canvas.fillPolygon(triangle, 3);
    }
}

void DrawIdentifiedElements(const TLineArray& lines, bool showValue, int type,
                            const SPlotInfo& info, Canvas& canvas) {
    const SFontDesc font = lumgl::LabelFont(info);
    const int h = font.height;
    const bool black = (info.stateFlags & kStateBlackWhite) != 0;
    canvas.setFont(font);
    canvas.setTextColor(0);
    for (const CLine& line : lines) {
        const int n = static_cast<int>(line.speciesLabels.size());
        for (int i = 0; i < n; ++i) {
            const SDevicePoint p = DataToMousePoint(TPointF{line.x, line.y}, info);
            const int offset = (h - 1) * i - ((h - 1) * n) / 2 - 1;
            if (!black && static_cast<std::size_t>(i) < line.speciesColors.size()) {
                canvas.setTextColor(line.speciesColors[i]);
            }
            const std::string record = static_cast<std::size_t>(i) < line.speciesRecords.size()
                                           ? line.speciesRecords[i]
                                           : std::string();
            const std::string text =
                lumgl::IdentificationLabelText(line.speciesLabels[i], record, showValue, type);
            if (lumgl::InsideX(info, p)) {
                canvas.textOut(SDevicePoint{p.x + offset, p.y - 21},
                               lumgl::kAlignLeft | lumgl::kAlignTop, text);
            }
        }
    }
}

void DrawDataBaseLines(const TSearchEngineLineArray& lines, bool showValue, int type,
                       const SPlotInfo& info, Canvas& canvas) {
    const SFontDesc font = lumgl::LabelFont(info);
    const int h = font.height;
    const bool black = (info.stateFlags & kStateBlackWhite) != 0;
    canvas.setPen(info.framePen);
    canvas.setFont(font);
    canvas.setTextColor(0);

    const double top =
        lumgl::DatabaseBarTop(info, lumgl::SampleLabelLength(info, showValue, type, canvas));

    for (const CSearchEngineLine& line : lines) {
        const SDevicePoint p =
            DataToMousePoint(TPointF{line.wavelength, static_cast<float>(top)}, info);
        canvas.setPen(black ? info.framePen : SPenDesc{line.color, 1, PenStyle::Solid});
        if (info.topLeft.x <= p.x && p.x <= info.bottomRight.x && info.topLeft.y <= p.y &&
            p.y <= info.origin.y) {
            canvas.moveTo(SDevicePoint{p.x, p.y - 10});
            canvas.lineTo(SDevicePoint{p.x, info.origin.y});
        }
        canvas.setPen(info.framePen);
        if (!black) canvas.setTextColor(line.color);
        const std::string text = lumgl::DatabaseLabelText(line, showValue, type);
        if (lumgl::InsideX(info, p)) {
            canvas.textOut(SDevicePoint{p.x - (h - 1) / 2, p.y - 21},
                           lumgl::kAlignLeft | lumgl::kAlignTop, text);
        }
    }
    canvas.setPen(info.framePen);
    canvas.setTextColor(0);
}

void DrawReticle(const SPlotInfo& info, SDevicePoint point, ReticleBuffers& buffers, bool restore,
                 bool save, bool draw, Canvas& canvas) {
    const std::size_t hCap = buffers.horizontalCapacity();
    const std::size_t vCap = buffers.verticalCapacity();
    if (restore) {
        for (std::size_t i = 0;
             i < hCap && buffers.horizontalPositions[i].x != ReticleBuffers::kEnd; ++i) {
            canvas.setPixel(buffers.horizontalPositions[i], buffers.horizontalColors[i]);
        }
        for (std::size_t i = 0; i < vCap && buffers.verticalPositions[i].y != ReticleBuffers::kEnd;
             ++i) {
            canvas.setPixel(buffers.verticalPositions[i], buffers.verticalColors[i]);
        }
    }
    const lumgl::ReticleSpan across = lumgl::HorizontalReticleSpan(info, buffers, point);
    const lumgl::ReticleSpan down = lumgl::VerticalReticleSpan(info, buffers, point);
    if (save && hCap > 0 && vCap > 0) {
        std::size_t k = 0;
        for (int x = across.first; x <= across.last; ++x, ++k) {
            const SDevicePoint p{x, point.y};
            buffers.horizontalPositions[k] = p;
            buffers.horizontalColors[k] = canvas.pixel(p);
        }
        buffers.horizontalPositions[k] = SDevicePoint{ReticleBuffers::kEnd, ReticleBuffers::kEnd};
        k = 0;
        for (int y = down.first; y <= down.last; ++y, ++k) {
            const SDevicePoint p{point.x, y};
            buffers.verticalPositions[k] = p;
            buffers.verticalColors[k] = canvas.pixel(p);
        }
        buffers.verticalPositions[k] = SDevicePoint{ReticleBuffers::kEnd, ReticleBuffers::kEnd};
    }
    if (draw) {
        canvas.setPen(lumgl::kBlackPen);
        if (!across.empty()) {
            canvas.moveTo(SDevicePoint{across.first, point.y});
            canvas.lineTo(SDevicePoint{across.last, point.y});
        }
        if (!down.empty()) {
            canvas.moveTo(SDevicePoint{point.x, down.first});
            canvas.lineTo(SDevicePoint{point.x, down.last});
        }
        canvas.setPen(lumgl::kBlackPen);
    }
}

void PlotDataPoint(float x1, float y1, float x2, float y2, const SPlotInfo& info, Canvas& canvas) {
    canvas.setPen((info.stateFlags & kStateBlackWhite) ? info.framePen : info.curvePen);
    auto deviceY = [&](float y) {
        if (y <= info.yMin) return info.origin.y;
        if (y >= info.yMax) return info.topLeft.y;
        return lumgl::TruncateToDevice(lumgl::DataToDeviceY(y, info));
    };
    const bool inside1 = info.yMin < y1 && y1 < info.yMax;
    const bool inside2 = info.yMin < y2 && y2 < info.yMax;
    if (!inside1 && !inside2) return;
    canvas.moveTo(
        SDevicePoint{lumgl::TruncateToDevice(lumgl::DataToDeviceX(x1, info)), deviceY(y1)});
    canvas.lineTo(
        SDevicePoint{lumgl::TruncateToDevice(lumgl::DataToDeviceX(x2, info)), deviceY(y2)});
}
