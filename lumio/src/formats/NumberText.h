// Number fields of the text readers: a plain number ("-12.5e3") that fills the field is read
// by from_chars, everything else through the shared field rule (decimal comma, thousands
// dots, atof's prefix reading).
#pragma once

#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>

#include "ValueRules.h"

namespace lumio::detail {

inline bool startsPlainNumber(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// The value of the field [first, last) as parseNumberField reads it. A plain field is read
// straight into a float: from_chars rounds correctly, so a saved float's shortest text comes
// back as the very same float (no detour through double that could round twice).
inline double readNumberField(const char* first, const char* last) {
    if (first < last && startsPlainNumber(*first)) {
        float value;
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
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return value;
}

}  // namespace lumio::detail
