// Number text: the shortest round-trip text of a float and printf's "%.<n>g" of a float,
// both without printf, because the writers and the line database format millions of them.
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "lumcore/Printf.h"

namespace lumcore {
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

constexpr std::uint64_t kIntegerPowersOfTen[] = {
    1ull,           10ull,           100ull,          1000ull,      10000ull,
    100000ull,      1000000ull,      10000000ull,     100000000ull, 1000000000ull,
    10000000000ull, 100000000000ull, 1000000000000ull};

// printf's "%.<precision>g" of a float's exact value for the usual database magnitudes,
// in integer arithmetic: the float is m * 2^-s, so value * 10^k = m * 10^k / 2^s is
// rounded exactly (half to even, as printf does). Returns 0 when the value is outside the
// range handled here; formatGeneral then asks to_chars, which is slower but exact too.
std::size_t formatGeneralFloat(char* out, float value, int precision) {
    if (!(value > 0.0f) || precision < 1 || precision > 9) return 0;
    // The float's own fields: value = mantissa / 2^shift (normal numbers only).
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const int biased = static_cast<int>(bits >> 23) & 0xFF;
    if (biased == 0 || biased == 0xFF) return 0;
    const std::uint64_t mantissa = (bits & 0x7FFFFFu) | 0x800000u;
    const int shift = 150 - biased;
    if (shift <= 0 || shift > 63) return 0;
    // Decimal exponent e with 10^e <= value < 10^(e+1): value lies in [2^b, 2^(b+1)) with
    // b = biased - 127, so floor(b log10 2) is e or one less; the loop below corrects it.
    // (The estimate saves a logarithm per number.)
    int e = (biased - 127) * 78913 >> 18;  // floor(b * log10(2)) for |b| < 2^11
    std::uint64_t digits = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int k = precision - 1 - e;  // scale to `precision` digits before the point
        if (k < 0 || k > 12) return 0;
        const unsigned __int128 scaled =
            static_cast<unsigned __int128>(mantissa) * kIntegerPowersOfTen[k];
        const unsigned __int128 whole = scaled >> shift;
        const unsigned __int128 rest = scaled - (whole << shift);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        std::uint64_t rounded = static_cast<std::uint64_t>(whole);
        if (rest > half || (rest == half && (rounded & 1u))) ++rounded;
        const std::uint64_t low = kIntegerPowersOfTen[precision - 1];
        if (static_cast<std::uint64_t>(whole) < low) {  // e was one too high
            --e;
            continue;
        }
        if (static_cast<std::uint64_t>(whole) >= low * 10) {  // e was one too low
            ++e;
            continue;
        }
        if (rounded == low * 10) {  // rounding carried into the next decade
            rounded = low;
            ++e;
        }
        digits = rounded;
        break;
    }
    if (digits == 0) return 0;
    char text[16];
    for (int i = precision - 1; i >= 0; --i) {
        text[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    int significant = precision;  // %g drops trailing zeros of the fraction
    while (significant > 1 && text[significant - 1] == '0') --significant;
    char* p = out;
    if (e < -4 || e >= precision) {
        *p++ = text[0];
        if (significant > 1) {
            *p++ = '.';
            for (int i = 1; i < significant; ++i) *p++ = text[i];
        }
        *p++ = 'e';
        *p++ = e < 0 ? '-' : '+';
        const int magnitude = e < 0 ? -e : e;
        if (magnitude >= 100) *p++ = static_cast<char>('0' + magnitude / 100);
        *p++ = static_cast<char>('0' + magnitude / 10 % 10);
        *p++ = static_cast<char>('0' + magnitude % 10);
    } else if (e < 0) {
        *p++ = '0';
        *p++ = '.';
        for (int i = 0; i < -e - 1; ++i) *p++ = '0';
        for (int i = 0; i < significant; ++i) *p++ = text[i];
    } else {
        for (int i = 0; i <= e; ++i) *p++ = text[i];
        if (significant > e + 1) {
            *p++ = '.';
            for (int i = e + 1; i < significant; ++i) *p++ = text[i];
        }
    }
    return static_cast<std::size_t>(p - out);
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

std::string shortestFloat(float value) {
    char text[kFloatTextMax];
    return std::string(text, formatShortestFloat(text, value));
}

char* formatGeneral(char* out, float value, int precision) {
    if (const std::size_t n = formatGeneralFloat(out, value, precision)) return out + n;
    return std::to_chars(out, out + kFloatTextMax, static_cast<double>(value),
                         std::chars_format::general, precision)
        .ptr;
}

}  // namespace lumcore
