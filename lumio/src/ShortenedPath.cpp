// The shortened path the choice dialogs show.
#include <cstddef>

#include "lumio/lumio.h"

namespace lumio {

std::string shortenedPath(const std::string& path) {
    // Characters, not bytes: UTF-8 continuation bytes do not count.
    std::size_t chars = 0;
    for (unsigned char c : path)
        if ((c & 0xC0) != 0x80) ++chars;
    if (chars <= 45) return path;
    const auto first = path.find_first_of("\\/");
    const auto last = path.find_last_of("\\/");
    if (first == std::string::npos || first == last) return path;
    return path.substr(0, first + 1) + "..." + path.substr(last);
}

}  // namespace lumio
