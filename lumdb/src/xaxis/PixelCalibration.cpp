// The pixel-to-wavelength calibration: a line through two points, through one point with a
// dispersion, or the least-squares line through several.
#include <cmath>

#include "lumdb/XAxis.h"
#include "xaxis/XAxisSupport.h"

namespace lumdb {

namespace {

bool finite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// The calibration in floats, refused when offset or dispersion do not fit a float or the
// dispersion becomes 0 in one.
std::optional<PixelCalibration> stored(double offset, double dispersion) {
    if (!finite({offset, dispersion}) || !fitsFloat(offset) || !fitsFloat(dispersion))
        return std::nullopt;
    PixelCalibration c{static_cast<float>(offset), static_cast<float>(dispersion)};
    if (c.dispersion == 0.0f) return std::nullopt;
    return c;
}

}  // namespace

std::optional<PixelCalibration> PixelCalibration::fromTwoPoints(double pixel1, double wavelength1,
                                                                double pixel2, double wavelength2) {
    if (!finite({pixel1, wavelength1, pixel2, wavelength2}) || pixel1 == pixel2 ||
        wavelength1 == wavelength2)
        return std::nullopt;
    const double dispersion = (wavelength2 - wavelength1) / (pixel2 - pixel1);
    return stored(wavelength1 - pixel1 * dispersion, dispersion);
}

std::optional<PixelCalibration> PixelCalibration::fromPointAndDispersion(double pixel,
                                                                         double wavelength,
                                                                         double dispersion) {
    if (!finite({pixel, wavelength, dispersion}) || dispersion == 0.0) return std::nullopt;
    return stored(wavelength - pixel * dispersion, dispersion);
}

std::optional<CalibrationFit> fitPixelCalibration(std::span<const CalibrationPoint> points) {
    const std::size_t n = points.size();
    if (n < 2) return std::nullopt;
    for (std::size_t i = 0; i < n; ++i) {
        if (!finite({points[i].pixel, points[i].wavelength})) return std::nullopt;
        for (std::size_t j = 0; j < i; ++j)
            if (points[j].pixel == points[i].pixel) return std::nullopt;
    }
    CalibrationFit fit;
    std::optional<PixelCalibration> c;
    if (n == 2) {
        c = PixelCalibration::fromTwoPoints(points[0].pixel, points[0].wavelength, points[1].pixel,
                                            points[1].wavelength);
    } else {
        // Sums about the means keep the normal equations well conditioned for pixel numbers
        // in the thousands.
        double pixelMean = 0.0, wavelengthMean = 0.0;
        for (const CalibrationPoint& p : points) {
            pixelMean += p.pixel;
            wavelengthMean += p.wavelength;
        }
        pixelMean /= static_cast<double>(n);
        wavelengthMean /= static_cast<double>(n);
        double sxx = 0.0, sxy = 0.0;
        for (const CalibrationPoint& p : points) {
            sxx += (p.pixel - pixelMean) * (p.pixel - pixelMean);
            sxy += (p.pixel - pixelMean) * (p.wavelength - wavelengthMean);
        }
        const double dispersion = sxy / sxx;
        if (dispersion != 0.0) c = stored(wavelengthMean - dispersion * pixelMean, dispersion);
    }
    if (!c) return std::nullopt;
    fit.calibration = *c;
    double squares = 0.0;
    for (const CalibrationPoint& p : points) {
        const double r = p.wavelength - fit.calibration.map()(p.pixel);
        fit.residuals.push_back(r);
        squares += r * r;
    }
    fit.rms = std::sqrt(squares / static_cast<double>(n));
    return fit;
}

std::optional<AffineMap> recalibrationMap(const AxisScaling& scaling,
                                          const PixelCalibration& current,
                                          const PixelCalibration& next) {
    const auto unscaled = scaling.xMap().inverse();
    const auto uncalibrated = current.map().inverse();
    if (!unscaled || !uncalibrated) return std::nullopt;
    return unscaled->then(*uncalibrated).then(next.map());
}

}  // namespace lumdb
