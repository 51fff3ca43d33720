// Tick values of linear and logarithmic axes.
#include "lumgl/Ticks.h"

#include <algorithm>
#include <cmath>

namespace lumgl {

namespace {

double Pow10(int k) {
    return std::pow(10.0, k);
}

// Relative tolerance for limits that are 32-bit floats (0.018f lies below 0.018).
constexpr double kRelTol = 1e-6;

}  // namespace

TickList LinearTicks(double a, double b) {
    TickList ticks;
    if (!std::isfinite(a) || !std::isfinite(b)) return ticks;
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    const double d = hi - lo;
    if (!(d > 0.0) || !std::isfinite(d)) return ticks;

    int k = 0;
    if (d < 1.0) {
        while (d / Pow10(k) < 1.0 && k > -400) --k;
    }
    if (d > 10.0) {
        while (d / Pow10(k) > 10.0 && k < 400) ++k;
    }
    const double g = Pow10(k);
    const double q = d / g;
    double step;
    if (q <= 1.6) {
        step = 0.2 * g;
    } else if (q < 4.0) {
        step = 0.5 * g;
    } else if (q < 8.0) {
        step = g;
    } else {
        step = 2.0 * g;
    }
    ticks.step = step;

    // In units of the step: the rounding of the limits to 32 bits, at most 1/1000 step.
    const double tol =
        std::min(1e-3, 1e-6 + 4.8e-7 * std::max(std::fabs(lo), std::fabs(hi)) / step);
    const double first = std::ceil(lo / step - tol);
    const double last = std::floor(hi / step + tol);
    for (double m = first; m <= last; m += 1.0) {
        double v = m * step;
        if (v == 0.0) v = 0.0;  // no negative zero
        ticks.values.push_back(static_cast<float>(v));
    }
    return ticks;
}

TickList LogTicks(double a, double b) {
    TickList ticks;
    ticks.logarithmic = true;
    if (!std::isfinite(a) || !std::isfinite(b)) return ticks;
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    if (!(lo > 0.0)) return ticks;

    int k = 0;
    if (lo < 1.0) {
        while (lo / Pow10(k) < 1.0 - kRelTol && k > -400) --k;
    }
    if (lo > 1.0) {
        while (lo / Pow10(k) > 1.0 + kRelTol && k < 400) ++k;
    }
    const double top = hi * (1.0 + kRelTol);
    const double bottom = lo * (1.0 - kRelTol);
    const double span = std::log10(hi / lo);
    if (span > 3.0) {
        for (int i = 0; i < 800; ++i) {
            const double v = Pow10(k + i);
            if (v > top) break;
            if (v >= bottom) ticks.values.push_back(static_cast<float>(v));
        }
    } else {
        const int J = span > 2.0 ? 6 : 10;
        for (int i = 0; i <= 3; ++i) {
            const double base = Pow10(k + i);
            for (int j = 1; j < J; ++j) {
                const double v = j * base;
                if (v > top) break;
                if (v >= bottom) ticks.values.push_back(static_cast<float>(v));
            }
        }
    }
    return ticks;
}

TickList AxisTicks(float a, float b, bool linear) {
    return linear ? LinearTicks(a, b) : LogTicks(a, b);
}

}  // namespace lumgl
