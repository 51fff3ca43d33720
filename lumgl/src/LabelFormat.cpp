// Tick label formats.
#include "lumgl/LabelFormat.h"

#include <cmath>
#include <cstdlib>

#include "lumcore/Printf.h"

namespace lumgl {

namespace {
constexpr double kSlack = 1e-4;
}

int StepExponent(double step) {
    step = std::fabs(step);
    if (!(step > 0.0) || !std::isfinite(step)) return 0;
    int e = 0;
    if (step < 1.0) {
        while (step / std::pow(10.0, e) < 1.0 - kSlack && e > -300) --e;
    }
    if (step > 10.0) {
        while (step / std::pow(10.0, e) > 10.0 * (1.0 + kSlack) && e < 300) ++e;
    }
    return e;
}

std::string LinearXLabelFormat(double step) {
    const int e = StepExponent(step);
    if (e < 0) return lumcore::strprintf("%%%d.%df", -e + 2, -e);
    return lumcore::strprintf("%%%d.0f", e);
}

std::string LinearYLabelFormat(double step) {
    const int e = StepExponent(step);
    if (e > 2) return lumcore::strprintf("%%%d.1E", e);
    if (e >= 0) return lumcore::strprintf("%%%d.0f", e);
    if (e < -3) return lumcore::strprintf("%%%d.1E", -e);
    return lumcore::strprintf("%%%d.%df", -e + 2, -e);
}

std::string LinearXLabel(double value, double step) {
    return lumcore::strprintf(LinearXLabelFormat(step).c_str(), value);
}

std::string LinearYLabel(double value, double step) {
    if (StepExponent(step) >= 3 && std::fabs(value) < 1.0) return "0";
    return lumcore::strprintf(LinearYLabelFormat(step).c_str(), value);
}

LogLabel LogAxisLabel(double v) {
    LogLabel label;
    int e = 0;
    if (v > 0.0 && std::isfinite(v)) {
        if (v < 1.0) {
            while (v / std::pow(10.0, e) < 0.98 && e > -300) --e;
        }
        if (v > 1.0) {
            while (v / std::pow(10.0, e) > 9.8 && e < 300) ++e;
        }
    }
    label.exponent = e;
    if (v > 0.0 && std::fabs(std::log10(v) - e) < 0.01) {
        label.powerOfTen = true;
        label.text = "10";
    } else {
        label.text = lumcore::strprintf("%g", v / std::pow(10.0, e));
    }
    return label;
}

}  // namespace lumgl
