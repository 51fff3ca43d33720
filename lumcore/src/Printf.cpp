// printf into std::string.
#include "lumcore/Printf.h"

#include <cstdarg>
#include <cstdio>

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

}  // namespace lumcore
