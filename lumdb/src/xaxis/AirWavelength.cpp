// Vacuum wavenumbers to air wavelengths by the dispersion formula of Peck and Reeder (1972)
// for dry standard air at 15 °C and 101.325 kPa:
//     n - 1 = 0.05791817 / (238.0185 - s^2) + 0.00167909 / (57.362 - s^2),
// with s the vacuum wavenumber in 1/µm; fitted to measurements from the near ultraviolet to
// 1.7 µm.
#include <cmath>

#include "lumdb/XAxis.h"
#include "xaxis/XAxisSupport.h"

namespace lumdb {

namespace {

// Air wavelength of a wavenumber already known to be positive and finite.
double airWavelength(double wavenumber) {
    const double vacuumNm = 1.0e7 / wavenumber;
    if (wavenumber > kVacuumWavenumberLimit) return vacuumNm;
    const double s = wavenumber * 1.0e-4;  // 1/cm -> 1/µm
    const double s2 = s * s;
    const double n = 1.0 + 0.05791817 / (238.0185 - s2) + 0.00167909 / (57.362 - s2);
    return vacuumNm / n;
}

// The smallest wavenumber whose wavelength a float still holds (n >= 1 only shortens it).
constexpr double kSmallestWavenumber = 1.0e7 / 3.4028234663852886e38;

bool convertible(double wavenumber) {
    return std::isfinite(wavenumber) && wavenumber >= kSmallestWavenumber;
}

}  // namespace

std::optional<double> airWavelengthNm(double wavenumber) {
    if (!convertible(wavenumber)) return std::nullopt;
    return airWavelength(wavenumber);
}

XResult wavenumbersToAir(TPointList& points, TLineArray* lines, int* selectedLine) {
    XResult check = XResult::Done;
    auto inspect = [&check](double v) {
        if (v <= 0.0)
            check = XResult::NotPositive;
        else if (!convertible(v) && check == XResult::Done)  // not a number, infinite, tiny
            check = XResult::OutOfRange;
    };
    for (const TPointF& p : points) inspect(p.x);
    if (lines)
        for (const CLine& line : *lines) inspect(line.x);
    if (check != XResult::Done) return check;

    for (TPointF& p : points) p.x = static_cast<float>(airWavelength(p.x));
    if (lines) {
        for (CLine& line : *lines) line.x = static_cast<float>(airWavelength(line.x));
        resortFoundLines(*lines, selectedLine);
    }
    return XResult::Done;
}

}  // namespace lumdb
