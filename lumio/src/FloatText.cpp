// Shortest round-trip text of a float, and "%g", through std::to_chars.
#include "FloatText.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace lumio::detail {

namespace {

// Significant digits of the shortest text that reads back as `value` (0 for inf and NaN).
int shortestDigits(float value) {
    char text[kFloatTextMax];
    const auto written = std::to_chars(text, text + kFloatTextMax, value, std::chars_format::scientific);
    int digits = 0;
    for (const char* c = text; c < written.ptr && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9') ++digits;
    return digits;
}

}  // namespace

char* formatShortestFloat(char* out, float value) {
    // to_chars with chars_format::general and a precision is printf's "%.*g"; take the
    // first precision from 6 on whose text reads back as the same float. Nine digits always
    // do (NaN never compares equal and ends there too, as with printf). No precision below
    // the shortest round-trip digit count can succeed, so the search starts there.
    const int fewest = shortestDigits(value);
    for (int precision = fewest > 6 ? fewest : 6; precision <= 9; ++precision) {
        const auto written =
            std::to_chars(out, out + kFloatTextMax, value, std::chars_format::general, precision);
        if (precision == 9) return written.ptr;
        float back;
        const auto parsed = std::from_chars(out, written.ptr, back);
        if (parsed.ec == std::errc() && back == value) return written.ptr;
    }
    return out;
}

char* formatG(char* out, float value) {
    return std::to_chars(out, out + kFloatTextMax, static_cast<double>(value),
                         std::chars_format::general, 6)
        .ptr;
}

}  // namespace lumio::detail
