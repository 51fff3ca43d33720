// printf-style formatting into std::string with exactly C's semantics ("%g", "%.7g", "%u",
// "%%%d.%df" ...). g++ 12 has no std::format, and the file layouts are defined in printf
// terms anyway.
#pragma once

#include <string>

namespace lumcore {

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The shortest decimal text that reads back as the same 32-bit float (%g style: no
// exponent for moderate magnitudes). Used wherever a saved value must survive unchanged.
std::string shortestFloat(float value);

}  // namespace lumcore
