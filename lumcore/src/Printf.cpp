// printf into std::string, and the shortest round-trip text of a float.
#include "lumcore/Printf.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace lumcore {

std::string strprintf(const char* format, ...) {
    char small[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) {
        va_end(again);
        return {};
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        va_end(again);
        return std::string(small, static_cast<std::size_t>(n));
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    std::vsnprintf(out.data(), out.size() + 1, format, again);
    va_end(again);
    return out;
}

std::string shortestFloat(float value) {
    // Try increasing precision of %g until the text reads back as the same float; nine
    // significant digits always suffice for IEEE single precision.
    for (int precision = 6; precision <= 9; ++precision) {
        std::string text = strprintf("%.*g", precision, static_cast<double>(value));
        if (precision == 9 || std::strtof(text.c_str(), nullptr) == value) return text;
    }
    return {};
}

}  // namespace lumcore
