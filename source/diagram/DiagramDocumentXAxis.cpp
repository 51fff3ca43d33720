// The x axis of the diagram's spectra: the unit recognised after a read, the conversions to
// nanometres and the pixel calibration (message 1216, whose undo entry keeps the x values
// it replaced, so undo gives them back exactly), and shift and stretch (message 1215). Found
// lines follow every change of x, sorted anew with their selection kept.
#include <algorithm>

#include "diagram/DiagramDocument.h"

namespace {

// The data range of a spectrum anew from its points; an inverted x range stays inverted.
void refreshLimits(SpectrumRecord& r) {
    if (r.points.empty()) return;
    const auto [xLow, xHigh] =
        std::minmax_element(r.points.begin(), r.points.end(),
                            [](const TPointF& a, const TPointF& b) { return a.x < b.x; });
    const auto [yLow, yHigh] =
        std::minmax_element(r.points.begin(), r.points.end(),
                            [](const TPointF& a, const TPointF& b) { return a.y < b.y; });
    const bool inverted = r.plotInfo.xMin > r.plotInfo.xMax;
    r.plotInfo.xMin = inverted ? xHigh->x : xLow->x;
    r.plotInfo.xMax = inverted ? xLow->x : xHigh->x;
    r.plotInfo.yMin = yLow->y;
    r.plotInfo.yMax = yHigh->y;
}

bool descending(const TPointList& points) {
    return !points.empty() && points.front().x > points.back().x;
}

// The x-format state an x change replaces: format and calibration code, offset, dispersion,
// and the x shift, x stretch and anchor it resets.
std::string xFormatText(const SpectrumRecord& r) {
    const float values[] = {float(r.xFormat.formatCode),
                            float(r.xFormat.calibrationCode),
                            r.xFormat.offset,
                            r.xFormat.dispersion,
                            r.xTransform[0],
                            r.xTransform[1],
                            r.xAnchor};
    return UndoText(DiagramDocument::kApplyXFormat, values);
}

}  // namespace

void DiagramDocument::registerXAxisMessages() {
    messages_.add(kApplyXFormat, [this](const std::string& text, HistorySnapshot& kept, int) {
        SpectrumRecord& r = overlays_.currentRecord();
        std::string inverse = xFormatText(r);
        const auto v = UndoValues(text, 7);
        if (!v || kept.x.size() != r.points.size()) return inverse;
        // The x values and lines kept go back; those replaced stay with the inverse text.
        const bool wasDescending = descending(r.points);
        for (std::size_t i = 0; i < kept.x.size(); ++i) std::swap(r.points[i].x, kept.x[i]);
        smoothed.clear();
        std::swap(r.spectrumLines, kept.lines);
        if (selectedLine_ >= 0 && r.foundLineSelected) {
            if (wasDescending != descending(r.points))
                selectedLine_ = int(r.spectrumLines.size()) - 1 - selectedLine_;
            if (selectedLine_ < 0 || std::size_t(selectedLine_) >= r.spectrumLines.size())
                clearSelection();
        }
        r.xFormat.formatCode = static_cast<std::int32_t>((*v)[0]);
        r.xFormat.calibrationCode = static_cast<std::int32_t>((*v)[1]);
        r.xFormat.offset = (*v)[2];
        r.xFormat.dispersion = (*v)[3];
        r.xTransform[0] = (*v)[4];
        r.xTransform[1] = (*v)[5];
        r.xAnchor = (*v)[6];
        refreshLimits(r);
        showXTexts(r, true);
        fitXRange();
        return inverse;
    });
    messages_.add(kApplyScaling, [this](const std::string& text, HistorySnapshot&, int) {
        std::string inverse = scalingText();
        if (const auto v = UndoValues(text, 8))
            if (mapCurrent({(*v)[4], (*v)[5], (*v)[6], (*v)[7]}) == lumdb::XResult::Done)
                scaling = {(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
        return inverse;
    });
}

void DiagramDocument::followCurrentSpectrum() {
    fixedPoint = 0.0f;
    smoothed.clear();
    scaling = overlays_.empty() ? std::array<float, 4>{0.0f, 1.0f, 0.0f, 1.0f}
                                : overlays_.currentRecord().xTransform;
}

std::string DiagramDocument::scalingText() const {
    const std::array<float, 4>& record = overlays_.currentRecord().xTransform;
    const float values[] = {scaling[0], scaling[1], scaling[2], scaling[3],
                            record[0],  record[1],  record[2],  record[3]};
    return UndoText(kApplyScaling, values);
}

void DiagramDocument::recogniseXFormat(SpectrumRecord& r) {
    const lumdb::XFormatRecognition found = lumdb::recogniseXFormat(r.points, r.xFormat.fileUnit);
    r.xFormat.formatCode = found.formatCode;
    r.xFormat.calibrationCode = 0;
    r.xFormat.offset = 0.0f;
    r.xFormat.dispersion = 1.0f;
    r.axisText.xUnit = r.axisText.xUnitStatus = found.xUnit;
    r.axisText.yUnit = r.axisText.yUnitStatus = found.yUnit;
    axis.xLabel = found.xLabel;
    axis.yLabel = found.yLabel;
}

// The unit texts of a spectrum from its codes (pixels with a calibration are nanometres),
// and, with `labels`, the diagram's x label.
void DiagramDocument::showXTexts(SpectrumRecord& r, bool labels) {
    lumdb::XAxisTexts texts = lumdb::xAxisTexts(r.xFormat.formatCode);
    if (r.xFormat.formatCode == lumdb::kPixels && r.xFormat.calibrationCode == 2)
        texts = lumdb::xAxisTexts(lumdb::kNanometres);
    r.axisText.xUnit = r.axisText.xUnitStatus = texts.unit;
    if (labels) axis.xLabel = texts.label;
}

// The displayed x range over the current spectrum, turned as it was; the integral's markers
// go, and a shown reticle is placed anew.
void DiagramDocument::fitXRange() {
    const SPlotInfo& data = overlays_.currentRecord().plotInfo;
    const bool inverted = plot_.xMin > plot_.xMax;
    const float low = std::min(data.xMin, data.xMax), high = std::max(data.xMin, data.xMax);
    plot_.xMin = inverted ? high : low;
    plot_.xMax = inverted ? low : high;
    integralDisplay = false;
    if (reticle.shown) reticle.reposition = true;
}

lumdb::XResult DiagramDocument::changeX(
    std::size_t position, const std::function<lumdb::XResult(SpectrumRecord&, int*)>& change) {
    SpectrumRecord& r = overlays_.record(position);
    const bool live = position < overlays_.count();
    const bool current = live && position == overlays_.current();
    std::string before = xFormatText(r);
    std::vector<float> x(r.points.size());
    std::transform(r.points.begin(), r.points.end(), x.begin(),
                   [](const TPointF& p) { return p.x; });
    TLineArray lines = r.spectrumLines;
    int none = -1;
    int* selected = current && r.foundLineSelected ? &selectedLine_ : &none;
    const lumdb::XResult result = change(r, selected);
    if (result != lumdb::XResult::Done) return result;
    if (current) smoothed.clear();
    HistorySnapshot& kept = overlays_.history(position).push(std::move(before));
    kept.x = std::move(x);
    kept.lines = std::move(lines);
    r.xTransform[0] = 0.0f;
    r.xTransform[1] = 1.0f;
    r.xAnchor = lumdb::AxisScaling::reset(r.points).anchor;
    refreshLimits(r);
    // A spectrum being read is not current yet, but becomes so: its labels are the diagram's.
    showXTexts(r, current || !live);
    if (current) fitXRange();
    return result;
}

lumdb::XResult DiagramDocument::convertAngstrom(std::size_t position) {
    return changeX(position, [](SpectrumRecord& r, int* selected) {
        const lumdb::XResult result =
            lumdb::applyXMap({0.1, 0.0}, r.points, &r.spectrumLines, selected);
        if (result == lumdb::XResult::Done) r.xFormat.formatCode = lumdb::kNanometres;
        return result;
    });
}

lumdb::XResult DiagramDocument::convertWavenumbers(std::size_t position) {
    return changeX(position, [](SpectrumRecord& r, int* selected) {
        const lumdb::XResult result = lumdb::wavenumbersToAir(r.points, &r.spectrumLines, selected);
        if (result == lumdb::XResult::Done) r.xFormat.formatCode = lumdb::kNanometres;
        return result;
    });
}

lumdb::XResult DiagramDocument::calibratePixels(
    std::size_t position, const std::optional<lumdb::PixelCalibration>& calibration) {
    return changeX(position, [&calibration](SpectrumRecord& r, int* selected) {
        const lumdb::AxisScaling now{r.xAnchor, r.xTransform};
        const lumdb::PixelCalibration applied =
            r.xFormat.calibrationCode == 2
                ? lumdb::PixelCalibration{r.xFormat.offset, r.xFormat.dispersion}
                : lumdb::PixelCalibration{};
        const lumdb::PixelCalibration next = calibration.value_or(lumdb::PixelCalibration{});
        const std::optional<lumdb::AffineMap> map = lumdb::recalibrationMap(now, applied, next);
        if (!map) return lumdb::XResult::Degenerate;
        const lumdb::XResult result = lumdb::applyXMap(*map, r.points, &r.spectrumLines, selected);
        if (result != lumdb::XResult::Done) return result;
        r.xFormat.formatCode = lumdb::kPixels;
        r.xFormat.calibrationCode = calibration ? 2 : 0;
        r.xFormat.offset = next.offset;
        r.xFormat.dispersion = next.dispersion;
        return result;
    });
}

// Shift and stretch of the current spectrum from its values to `next`, in one map of its
// points, found lines, reticle and integral bounds.
lumdb::XResult DiagramDocument::mapCurrent(const std::array<float, 4>& next) {
    if (overlays_.empty()) return lumdb::XResult::Degenerate;
    SpectrumRecord& r = overlays_.currentRecord();
    const lumdb::AxisScaling now{r.xAnchor, r.xTransform};
    const auto maps = now.mapsTo(next);
    if (!maps) return lumdb::XResult::Degenerate;
    int none = -1;
    int* selected = r.foundLineSelected ? &selectedLine_ : &none;
    const lumdb::XResult result =
        lumdb::applyMaps(maps->first, maps->second, r.points, &r.spectrumLines, selected);
    if (result != lumdb::XResult::Done) return result;
    r.xTransform = next;
    refreshLimits(r);
    const auto mapped = [&maps](TPointF p) {
        return TPointF{static_cast<float>(maps->first(p.x)), static_cast<float>(maps->second(p.y))};
    };
    reticle.position = mapped(reticle.position);
    for (TPointF& p : smoothed) p = mapped(p);
    if (integralDisplay)
        for (TPointF& bound : integralBounds) bound = mapped(bound);
    return result;
}

lumdb::XResult DiagramDocument::applyScaling(const std::array<float, 4>& values) {
    if (overlays_.empty()) return lumdb::XResult::Degenerate;
    std::string before = scalingText();
    const lumdb::XResult result = mapCurrent(values);
    if (result != lumdb::XResult::Done) return result;
    pushUndo(std::move(before));
    scaling = values;
    return result;
}

lumdb::XResult DiagramDocument::adjustWavelength(float from, float to, bool keepFixed) {
    if (overlays_.empty()) return lumdb::XResult::Degenerate;
    const SpectrumRecord& r = overlays_.currentRecord();
    const lumdb::AxisScaling now{r.xAnchor, r.xTransform};
    const std::optional<std::array<float, 4>> next =
        keepFixed ? now.stretchedAbout(from, to, fixedPoint) : now.shifted(from, to);
    if (!next) return lumdb::XResult::Degenerate;
    std::string before = scalingText();
    const lumdb::XResult result = mapCurrent(*next);
    if (result != lumdb::XResult::Done) return result;
    pushUndo(std::move(before));
    scaling = *next;
    fixedPoint = to;
    return result;
}

DiagramDocument::XNames DiagramDocument::xNames() const {
    if (overlays_.empty()) return {axis.xLabel, axis.xUnit, false};
    const SpectrumRecord& r = overlays_.currentRecord();
    if (r.xFormat.formatCode == lumdb::kPixels && r.xFormat.calibrationCode != 2)
        return {"Punkt", "Pkt", true};
    return {axis.xLabel, axis.xUnit.empty() ? r.axisText.xUnit : axis.xUnit, false};
}

std::optional<float> DiagramDocument::pixelOf(float x) const {
    if (overlays_.empty()) return std::nullopt;
    const SpectrumRecord& r = overlays_.currentRecord();
    const lumdb::AxisScaling now{r.xAnchor, r.xTransform};
    const lumdb::PixelCalibration applied =
        r.xFormat.calibrationCode == 2
            ? lumdb::PixelCalibration{r.xFormat.offset, r.xFormat.dispersion}
            : lumdb::PixelCalibration{};
    const std::optional<lumdb::AffineMap> map =
        lumdb::recalibrationMap(now, applied, lumdb::PixelCalibration{});
    if (!map) return std::nullopt;
    return static_cast<float>((*map)(x));
}
