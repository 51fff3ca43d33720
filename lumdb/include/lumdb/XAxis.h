// The x axis of a spectrum: recognising its unit, converting Ångström and wavenumbers to
// nanometres, the pixel-to-wavelength calibration, shift and stretch, and the integral.
// Everything is computed in double; points and lines keep their 32-bit floats. A function
// that changes a list changes all of it or, when it refuses, nothing: no result is ever
// infinite or not a number.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "lumdb/Records.h"
#include "lumdb/lumdb_export.h"

namespace lumdb {

// x format codes of a spectrum's x-format block.
enum XFormatCode : std::int32_t { kNanometres = 0, kAngstrom = 1, kPixels = 2, kWavenumbers = 3 };

// Why an x change was refused.
enum class XResult : unsigned char {
    Done,
    NotPositive,  // a wavenumber of 0 or below: no wavelength belongs to it
    OutOfRange,   // an input or a result not finite or beyond float range
    Degenerate,   // the values define no map: equal points, a zero dispersion or stretch
};

// ---- Recognising the unit ----------------------------------------------------------------

// The x label and unit texts shown for a format code ("Wellenlänge" "nm", "Wellenlänge" "A",
// "Punkte" "", "Wellenzahl" "1/cm"); any other code gives those of nanometres.
struct XAxisTexts {
    std::string label;
    std::string unit;
};
LUMDB_EXPORT XAxisTexts xAxisTexts(std::int32_t formatCode);

struct XFormatRecognition {
    std::int32_t formatCode = kNanometres;
    bool declared = false;  // the unit the file declares decided, not the values
    std::string xLabel;
    std::string xUnit;
    std::string yLabel;
    std::string yUnit;
};

// The unit of freshly read points. A unit the file declares (`declaredUnit`, a format code;
// anything else, such as -1, for none) is taken as it is; otherwise the values decide, each
// rule overriding the one before: x minimum above 2000 is Ångström; a range whose integer
// part is the number of points less one is pixel numbers; x minimum above 20000 is
// wavenumbers; else nanometres. The y unit is "V" when the y minimum is below 1, else "Cts".
LUMDB_EXPORT XFormatRecognition recogniseXFormat(std::span<const TPointF> points,
                                                 std::int32_t declaredUnit);

// ---- Affine maps ---------------------------------------------------------------------------

// v -> scale * v + offset.
struct AffineMap {
    double scale = 1.0;
    double offset = 0.0;

    double operator()(double v) const { return scale * v + offset; }
    // This map, then `next`.
    AffineMap then(const AffineMap& next) const {
        return {next.scale * scale, next.scale * offset + next.offset};
    }
    // The map back; none when the scale is 0 or the map is not finite.
    LUMDB_EXPORT std::optional<AffineMap> inverse() const;
    bool isIdentity() const { return scale == 1.0 && offset == 0.0; }
};

// Maps x of every point by `x` and y by `y`, and x of every found line by `x`; the lines are
// sorted again (a decreasing map reverses them) and `selectedLine` (an index into `lines`,
// negative for none) follows its line. Refused, changing nothing: a map with scale 0 or not
// finite (Degenerate), a result beyond float range (OutOfRange).
LUMDB_EXPORT XResult applyMaps(const AffineMap& x, const AffineMap& y, TPointList& points,
                               TLineArray* lines = nullptr, int* selectedLine = nullptr);
inline XResult applyXMap(const AffineMap& x, TPointList& points, TLineArray* lines = nullptr,
                         int* selectedLine = nullptr) {
    return applyMaps(x, AffineMap{}, points, lines, selectedLine);
}

// ---- Wavenumbers ---------------------------------------------------------------------------

// Above this wavenumber (below 200 nm) air does not transmit and the dispersion formula has
// no meaning (it has a pole at 75,737.7 1/cm): the vacuum wavelength is taken, as the line
// database lists those lines.
inline constexpr double kVacuumWavenumberLimit = 50000.0;

// The air wavelength in nm of a vacuum wavenumber in 1/cm, by the Peck and Reeder (1972)
// dispersion formula for standard air; none for a wavenumber that is 0 or below or not
// finite, or whose wavelength is beyond float range.
LUMDB_EXPORT std::optional<double> airWavelengthNm(double wavenumber);

// Replaces every x (a vacuum wavenumber) by its air wavelength, the found lines alike.
// Refused when any x is 0 or below (NotPositive) or not finite or too small to give a
// float wavelength (OutOfRange).
LUMDB_EXPORT XResult wavenumbersToAir(TPointList& points, TLineArray* lines = nullptr,
                                      int* selectedLine = nullptr);

// ---- Pixel calibration ---------------------------------------------------------------------

// wavelength = offset + dispersion * pixel, in the 32-bit floats of the x-format block.
struct PixelCalibration {
    float offset = 0.0f;
    float dispersion = 1.0f;

    AffineMap map() const { return {dispersion, offset}; }

    // Through two points; none when the pixels or the wavelengths are equal, a value is not
    // finite, or offset or dispersion lie beyond float range.
    LUMDB_EXPORT static std::optional<PixelCalibration> fromTwoPoints(double pixel1,
                                                                      double wavelength1,
                                                                      double pixel2,
                                                                      double wavelength2);
    // Through one point with a dispersion (nm per pixel, negative allowed, 0 refused).
    LUMDB_EXPORT static std::optional<PixelCalibration> fromPointAndDispersion(double pixel,
                                                                               double wavelength,
                                                                               double dispersion);
};

struct CalibrationPoint {
    double pixel = 0.0;
    double wavelength = 0.0;
};

struct CalibrationFit {
    PixelCalibration calibration;
    std::vector<double> residuals;  // per point: its wavelength less the line's, nm
    double rms = 0.0;               // root mean square of the residuals
};

// The least-squares line through two or more points (through two exactly, as
// fromTwoPoints); none with fewer than two points, two points on the same pixel, all
// wavelengths equal, or a value not finite.
LUMDB_EXPORT std::optional<CalibrationFit> fitPixelCalibration(
    std::span<const CalibrationPoint> points);

// ---- Shift and stretch ---------------------------------------------------------------------

// The shift and stretch of a spectrum against its values x0, y0 before any:
//     x = anchor + S + F * (x0 - anchor),   y = T + G * y0,
// with values = {S, F, T, G} as in the record's transformation block and the anchor the x
// minimum when the transformation was last reset. Every change goes from the current values
// to the new ones in one map, so the result does not depend on the way taken and values
// {0, 1, 0, 1} give the unshifted spectrum back.
struct AxisScaling {
    float anchor = 0.0f;
    std::array<float, 4> values{0.0f, 1.0f, 0.0f, 1.0f};

    // The reset state for points that carry no shift or stretch: anchor at their x minimum.
    LUMDB_EXPORT static AxisScaling reset(std::span<const TPointF> points);

    bool isIdentity() const { return values == std::array<float, 4>{0.0f, 1.0f, 0.0f, 1.0f}; }
    // x0 -> x and y0 -> y under these values.
    AffineMap xMap() const {
        return {values[1], anchor + values[0] - static_cast<double>(values[1]) * anchor};
    }
    AffineMap yMap() const { return {values[3], values[2]}; }

    // The maps (x, y) from these values to `next`; none when a stretch of either is 0 or a
    // value is not finite.
    LUMDB_EXPORT std::optional<std::pair<AffineMap, AffineMap>> mapsTo(
        const std::array<float, 4>& next) const;
    // The values after moving x value `from` to `to` by a shift.
    LUMDB_EXPORT std::optional<std::array<float, 4>> shifted(double from, double to) const;
    // The values after moving `from` to `to` by a stretch about `fixed`, which keeps its
    // place: s = (to - fixed) / (from - fixed), F' = s F, S' = (1 - s)(fixed - anchor) + s S.
    // None when `to` or `from` equals `fixed` (the spectrum would collapse onto one point or
    // the stretch is undefined) or a value is not finite.
    LUMDB_EXPORT std::optional<std::array<float, 4>> stretchedAbout(double from, double to,
                                                                    double fixed) const;
};

// The map of a recalibration, which starts from the pixel numbers rather than the current x:
// x back through the shift and stretch of `scaling` (x only) and the `current` calibration
// (offset 0, dispersion 1 when none is applied), then on through `next`. None when a map
// has no inverse.
LUMDB_EXPORT std::optional<AffineMap> recalibrationMap(const AxisScaling& scaling,
                                                       const PixelCalibration& current,
                                                       const PixelCalibration& next);

// ---- Integral -------------------------------------------------------------------------------

struct IntegralResult {
    double value = 0.0;         // in increasing x, whatever the order of the points
    std::size_t leftIndex = 0;  // the points the two bounds snapped to
    std::size_t rightIndex = 0;
};

// The trapezoidal integral between two bounds. Each bound snaps to a point: in ascending
// data (first x <= last x) the first point with x >= bound, in descending data the first with
// x <= bound, the last point when none is. The sum runs from the smaller snapped index to the
// larger, in double; a single point gives 0. None for no points, a bound not finite or
// beyond float range, or a result beyond float range.
LUMDB_EXPORT std::optional<IntegralResult> trapezoidIntegral(std::span<const TPointF> points,
                                                             double left, double right);

}  // namespace lumdb
