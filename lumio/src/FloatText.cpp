// Shortest round-trip text of a float in "%g" style, and "%g", through std::to_chars.
#include "FloatText.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace lumio::detail {
namespace {

// What printf does: "%.*g" for the precisions from 6 on, the first whose text reads back
// as the same float. Nine digits always do (NaN never compares equal and ends there too).
char* formatByPrecision(char* out, float value) {
    for (int precision = 6; precision <= 9; ++precision) {
        const auto written =
            std::to_chars(out, out + kFloatTextMax, value, std::chars_format::general, precision);
        if (precision == 9) return written.ptr;
        float back;
        const auto parsed = std::from_chars(out, written.ptr, back);
        if (parsed.ec == std::errc() && back == value) return written.ptr;
    }
    return out;
}

}  // namespace

char* formatShortestFloat(char* out, float value) {
    // The shortest digits D (d of them) that read back as the value come from to_chars.
    // printf's answer is "%.6g" when d <= 6 (a float lies so close to D that rounding it to
    // six digits gives D again) and "%.<d>g" otherwise: where the float's neighbours are
    // equally far on both sides, the correctly rounded d-digit text is D itself. This holds
    // for normal floats (their spacing is at most 2^-23 of the value). Powers of two have a
    // nearer neighbour below, subnormals are spaced too widely, and infinities and NaN have
    // no digits; those take printf's own way.
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const std::uint32_t exponentBits = bits & 0x7F800000u;
    if (value != 0.0f &&
        (exponentBits == 0 || exponentBits == 0x7F800000u || (bits & 0x7FFFFFu) == 0))
        return formatByPrecision(out, value);

    char text[kFloatTextMax];
    const char* const end =
        std::to_chars(text, text + kFloatTextMax, value, std::chars_format::scientific).ptr;
    const char* p = text;
    const bool negative = *p == '-';
    if (negative) ++p;
    char digits[16];
    int count = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') digits[count++] = *p;
    ++p;  // 'e'
    if (p < end && *p == '+') ++p;
    int exponent = 0;
    std::from_chars(p, end, exponent);

    const int precision = count > 6 ? count : 6;
    char* o = out;
    if (negative) *o++ = '-';
    if (exponent < -4 || exponent >= precision) {
        *o++ = digits[0];
        if (count > 1) {
            *o++ = '.';
            std::memcpy(o, digits + 1, static_cast<std::size_t>(count - 1));
            o += count - 1;
        }
        *o++ = 'e';
        *o++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) *o++ = '0';
        o = std::to_chars(o, o + 4, magnitude).ptr;
    } else if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i) *o++ = i < count ? digits[i] : '0';
        if (count > exponent + 1) {
            *o++ = '.';
            for (int i = exponent + 1; i < count; ++i) *o++ = digits[i];
        }
    } else {
        *o++ = '0';
        *o++ = '.';
        for (int i = 0; i < -exponent - 1; ++i) *o++ = '0';
        std::memcpy(o, digits, static_cast<std::size_t>(count));
        o += count;
    }
    return o;
}

char* formatG(char* out, float value) {
    return std::to_chars(out, out + kFloatTextMax, static_cast<double>(value),
                         std::chars_format::general, 6)
        .ptr;
}

}  // namespace lumio::detail
