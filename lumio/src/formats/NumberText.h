// Number fields of the text readers: a fast path for plain numbers ("-12.5e3"), everything
// else through the shared field rule (decimal comma, thousands dots, atof's prefix reading).
#pragma once

#include <bit>
#include <charconv>
#include <cstring>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>

#include "ValueRules.h"

namespace lumio::detail {

inline bool startsPlainNumber(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// Eight characters as one little-endian word, and what that word says about them.
namespace digits8 {

inline std::uint64_t load(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

// How many of the eight characters, from the first on, are digits. Each byte is looked at
// on its own: the carry of "+ 6" can only disturb a byte behind a non-digit.
inline int leadingDigits(std::uint64_t word) {
    const std::uint64_t high = word & 0xF0F0F0F0F0F0F0F0u;
    const std::uint64_t shifted = (word + 0x0606060606060606u) & 0xF0F0F0F0F0F0F0F0u;
    const std::uint64_t other = (high ^ 0x3030303030303030u) | (shifted ^ 0x3030303030303030u);
    return other == 0 ? 8 : std::countr_zero(other) >> 3;
}

// The value of the first n (1 to 7) digits: they are moved to the end of the word behind
// '0's and read as eight digits at once.
inline std::uint32_t value(std::uint64_t word, int n) {
    word = (word << (8 * (8 - n))) | (0x3030303030303030u >> (8 * n));
    word -= 0x3030303030303030u;
    word = (word * 10) + (word >> 8);
    word = (((word & 0x000000FF000000FFu) * 0x000F424000000064u) +
            (((word >> 16) & 0x000000FF000000FFu) * 0x0000271000000001u)) >> 32;
    return static_cast<std::uint32_t>(word);
}

}  // namespace digits8

// Powers of ten for decimalToFloat. Namespace-scope constants, one copy per translation
// unit: read straight, not through the shared library's table of addresses (a function's
// static table was; that load stood in every number's conversion).
namespace pow10 {
constexpr double kPositive[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
constexpr double kInverse[] = {1e0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8};
}  // namespace pow10

// The float nearest to mantissa / 10^fraction (negated when `negative`), for a mantissa of
// at most 15 digits and a fraction of at most 8 digits; see readSimpleFloat.
inline float decimalToFloat(std::uint64_t mantissa, int fraction, bool negative) {
    const double* const kPow10 = pow10::kPositive;
    const double* const kInversePow10 = pow10::kInverse;
    // A product with the rounded power 1e-n lies within two double steps of the exact
    // quotient. Rounding it to float gives the right float unless a halfway point between
    // two floats lies that close; then the quotient is computed exactly. (A division per
    // number was a quarter of reading a large file.)
    // (The mantissa has at most 15 digits: converted as a signed number it takes one
    // instruction.)
    const double whole = static_cast<double>(static_cast<std::int64_t>(mantissa));
    double value = whole * kInversePow10[fraction];
    const std::uint32_t belowFloat =
        static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(value) & 0x1FFFFFFFu);
    if (fraction != 0 && belowFloat - (0x10000000u - 16u) < 32u) value = whole / kPow10[fraction];
    return static_cast<float>(negative ? -value : value);
}

// The common case of measured data, "-123.4567" without exponent, read without a library
// call: at most 15 digits (exact as a double) with at most 8 after the point. Then the
// double quotient is exact or correctly rounded, and it cannot fall on a halfway point
// between two floats, so converting it to float rounds as reading the text as a float
// directly would (the gap between such a decimal and any halfway point exceeds half a
// double's spacing). Values are at least 1e-8 here, far from the subnormal floats.
// Returns false, p unchanged, for anything else.
inline bool readSimpleFloat(const char*& p, const char* end, float& out, const char* readable = nullptr) {
    static constexpr std::uint64_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    const char* q = p;
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fraction = 0;
    // Up to seven digits before and after the point, a word at a time, while 16 bytes are
    // left to look at (up to `readable`, the end of the buffer the text lies in, which may
    // reach past the field); anything longer, past the field or nearer the end of the
    // buffer goes digit by digit.
    if (readable == nullptr || readable < end) readable = end;
    bool done = false;
    if (readable - q >= 16) {
        const std::uint64_t head = digits8::load(q);
        const int n = digits8::leadingDigits(head);
        if (n < 8 && n <= end - q) {
            mantissa = n ? digits8::value(head, n) : 0;
            digits = n;
            q += n;
            if (q == end || *q != '.') {
                done = true;
            } else {
                const std::uint64_t tail = digits8::load(q + 1);
                const int m = digits8::leadingDigits(tail);
                if (m < 8 && m <= end - (q + 1)) {
                    if (m) mantissa = mantissa * kScale[m] + digits8::value(tail, m);
                    fraction = m;
                    q += 1 + m;
                    done = true;
                } else {
                    mantissa = 0;
                    digits = 0;
                    q = negative ? p + 1 : p;
                }
            }
        }
    }
    if (!done) {
        while (q < end && static_cast<unsigned char>(*q - '0') < 10) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
            ++digits;
            ++q;
        }
        if (q < end && *q == '.') {
            ++q;
            while (q < end && static_cast<unsigned char>(*q - '0') < 10) {
                mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
                ++fraction;
                ++q;
            }
        }
    }
    if (digits + fraction == 0 || digits + fraction > 15 || fraction > 8) return false;
    if (q < end && (*q == 'e' || *q == 'E' || *q == '.')) return false;
    out = decimalToFloat(mantissa, fraction, negative);
    p = q;
    return true;
}

// The value of the field [first, last) as parseNumberField reads it. A plain field is read
// straight into a float: from_chars rounds correctly, so a saved float's shortest text comes
// back as the very same float (no detour through double that could round twice).
inline double readNumberField(const char* first, const char* last, const char* readable = nullptr) {
    if (first < last && startsPlainNumber(*first)) {
        float value;
        const char* p = first;
        if (readSimpleFloat(p, last, value, readable) && p == last) return value;
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
