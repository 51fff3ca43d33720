// The text of a saved float: the shortest "%g"-style text that reads back as the same
// 32-bit float, written without printf so that a million points save quickly.
#pragma once

#include <cstddef>

namespace lumio::detail {

// Room formatShortestFloat needs, terminator excluded.
inline constexpr std::size_t kFloatTextMax = 32;

// Writes the text of `value` at `out` (at least kFloatTextMax bytes) and returns its end.
// The text equals lumcore::shortestFloat(value).
char* formatShortestFloat(char* out, float value);

// "%g" of a float, as the layouts write values that need not survive exactly.
char* formatG(char* out, float value);

}  // namespace lumio::detail
