// Number text for report rows, printf's "%.<n>f" and "%.<n>E" without printf: std::to_chars
// gives exactly printf's digits (correctly rounded) at a fraction of its cost, which counts
// at 100,000 rows.
#pragma once

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "lumdb/Candidate.h"

namespace lumreport {

// "%.<precision>f" of `value`.
inline void appendFixed(std::string& out, double value, int precision) {
    char text[400];  // the widest double in fixed notation, with room for the digits
    const auto r =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision);
    out.append(text, r.ptr);
}

// "%.<precision>E" of a finite `value`.
inline void appendScientific(std::string& out, double value, int precision) {
    char text[64];
    const auto r =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, precision);
    for (char* p = text; p != r.ptr; ++p)
        if (*p == 'e') *p = 'E';
    out.append(text, r.ptr);
}

// A number as the C library reads it (lumdb::ReadDouble), taking the quick path for the
// plain decimals the line database holds.
inline double readNumber(std::string_view text) {
    double value = 0.0;
    const char* const end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    if (r.ec == std::errc() && (r.ptr == end || (*r.ptr != 'x' && *r.ptr != 'X'))) return value;
    return lumdb::ReadDouble(text);
}

}  // namespace lumreport
