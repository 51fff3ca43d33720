// Number text for every part of Lumora: printf-style formatting into std::string with
// exactly C's semantics ("%g", "%.7g", "%u", "%%%d.%df" ...; g++ 12 has no std::format, and
// the file layouts are defined in printf terms anyway), and the two float texts the files
// and the line database need in bulk, written without printf.
#pragma once

#include <cstddef>
#include <string>

namespace lumcore {

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Room the float formatters below need, terminator excluded.
inline constexpr std::size_t kFloatTextMax = 32;

// The shortest decimal text that reads back as the same 32-bit float, in "%g" style (no
// exponent for moderate magnitudes): printf's "%.<n>g" for the smallest n from 6 on whose
// text reads back unchanged. Used wherever a saved value must survive unchanged.
std::string shortestFloat(float value);
// The same text written at `out` (at least kFloatTextMax bytes); returns its end.
char* formatShortestFloat(char* out, float value);

// printf's "%.<precision>g" of the float (as a double), precision 1 to 17, written at `out`
// (at least kFloatTextMax bytes); returns its end.
char* formatGeneral(char* out, float value, int precision);

}  // namespace lumcore
