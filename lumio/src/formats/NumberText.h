// Number fields of the text readers: a fast path for plain numbers ("-12.5e3"), everything
// else through the shared field rule (decimal comma, thousands dots, atof's prefix reading).
#pragma once

#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>

#include "ValueRules.h"

namespace lumio::detail {

inline bool startsPlainNumber(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// The common case of measured data, "-123.4567" without exponent, read without a library
// call: at most 15 digits (exact as a double) with at most 8 after the point. Then the
// double quotient is exact or correctly rounded, and it cannot fall on a halfway point
// between two floats, so converting it to float rounds as reading the text as a float
// directly would (the gap between such a decimal and any halfway point exceeds half a
// double's spacing). Returns false, p unchanged, for anything else.
inline bool readSimpleFloat(const char*& p, const char* end, float& out) {
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    const char* q = p;
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    std::uint64_t mantissa = 0;
    int digits = 0;
    while (q < end && static_cast<unsigned char>(*q - '0') < 10) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
        ++digits;
        ++q;
    }
    int fraction = 0;
    if (q < end && *q == '.') {
        ++q;
        while (q < end && static_cast<unsigned char>(*q - '0') < 10) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
            ++fraction;
            ++q;
        }
    }
    if (digits + fraction == 0 || digits + fraction > 15 || fraction > 8) return false;
    if (q < end && (*q == 'e' || *q == 'E' || *q == '.')) return false;
    const double value = static_cast<double>(mantissa) / kPow10[fraction];
    out = static_cast<float>(negative ? -value : value);
    p = q;
    return true;
}

// The value of the field [first, last) as parseNumberField reads it. A plain field is read
// straight into a float: from_chars rounds correctly, so a saved float's shortest text comes
// back as the very same float (no detour through double that could round twice).
inline double readNumberField(const char* first, const char* last) {
    if (first < last && startsPlainNumber(*first)) {
        float value;
        const char* p = first;
        if (readSimpleFloat(p, last, value) && p == last) return value;
        const auto result = std::from_chars(first, last, value);
        if (result.ec == std::errc() && result.ptr == last) return value;
    }
    return parseNumberField(std::string_view(first, static_cast<std::size_t>(last - first)));
}

inline double readNumberField(std::string_view field) {
    return readNumberField(field.data(), field.data() + field.size());
}

// An integer field read like atoi (leading blanks, a sign, digits), clamped to 32 bits.
inline std::int64_t readIntegerField(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
    if (i < field.size() && field[i] == '+') ++i;
    std::int64_t value = 0;
    const auto result = std::from_chars(field.data() + i, field.data() + field.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return (i < field.size() && field[i] == '-') ? std::numeric_limits<std::int32_t>::min()
                                                     : std::numeric_limits<std::int32_t>::max();
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return value;
}

}  // namespace lumio::detail
