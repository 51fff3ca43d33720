// Number formats of the tick labels: fixed formats built from the decimal exponent of the
// tick step on linear axes, mantissa or "10" with an exponent on logarithmic axes.
#pragma once

#include <string>

#include "lumgl/lumgl_export.h"

namespace lumgl {

// The decimal exponent e of a tick step: 0; for steps below 1 decreased while
// step / 10^e < 1, for steps above 10 increased while step / 10^e > 10. The steps are
// differences of 32-bit tick values, so the comparisons allow a relative 1e-4 of
// rounding (0.014f - 0.013f is still the step 0.001).
LUMGL_EXPORT int StepExponent(double step);

// printf format of the x labels of a linear axis: e < 0: "%<|e|+2>.<|e|>f", else
// "%<e>.0f" (400..700 by 50 gives "%1.0f", 0.013..0.018 by 0.001 "%5.3f").
LUMGL_EXPORT std::string LinearXLabelFormat(double step);
// printf format of the y labels of a linear axis: e > 2: "%<e>.1E"; 0 <= e <= 2:
// "%<e>.0f"; e < -3: "%<|e|>.1E"; -3 <= e < 0: "%<|e|+2>.<|e|>f".
LUMGL_EXPORT std::string LinearYLabelFormat(double step);
// One y label of a linear axis: the value in LinearYLabelFormat, but "0" for a value
// whose magnitude is below 1 when e >= 3 (so 0..50000 labels 0, 1.0E+04, 2.0E+04, ...).
LUMGL_EXPORT std::string LinearYLabel(double value, double step);
LUMGL_EXPORT std::string LinearXLabel(double value, double step);

// A label of a logarithmic axis. e: 0; for v < 1 decreased until v / 10^e >= 0.98, for
// v > 1 increased while v / 10^e > 9.8. A power of ten (|log10 v - e| < 0.01) is shown as
// "10" with the exponent "%d" of e; anything else as "%g" of v / 10^e.
struct LogLabel {
    bool powerOfTen = false;
    int exponent = 0;
    std::string text;  // "%g" mantissa, or "10" for a power of ten
};
LUMGL_EXPORT LogLabel LogAxisLabel(double value);

}  // namespace lumgl
