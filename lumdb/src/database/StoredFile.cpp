// Whole-file reading and line splitting for the stored database files.
#include "StoredFile.h"

#include <cstdio>
#include <cstring>

#include "LineCipherKey.h"
#include "lumcore/Cp1252.h"
#include "lumdb/Database.h"

namespace lumdb::detail {

bool StoredFile::open(const std::string& path) {
    bytes_.clear();
    next_ = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long length = std::ftell(f);
        if (length > 0) bytes_.reserve(static_cast<std::size_t>(length));
        std::fseek(f, 0, SEEK_SET);
    }
    char chunk[1 << 16];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes_.append(chunk, n);
    std::fclose(f);
    return true;
}

bool StoredFile::nextRaw(std::string_view& line, std::size_t& consumed) {
    if (next_ >= bytes_.size()) return false;
    const char* start = bytes_.data() + next_;
    const std::size_t left = bytes_.size() - next_;
    const void* nl = std::memchr(start, '\n', left);
    std::size_t length = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : left;
    consumed = nl ? length + 1 : length;
    next_ += consumed;
    // Files written on Windows end their lines with "\r\n"; the cipher never yields '\r'.
    if (length > 0 && start[length - 1] == '\r') --length;
    line = std::string_view(start, length);
    return true;
}

bool StoredFile::nextLine(std::string_view& line, unsigned char mode, std::size_t& consumed) {
    if (!nextRaw(line, consumed)) return false;
    if (mode == 0) {
        char* text = bytes_.data() + (line.data() - bytes_.data());
        decipherBytes(text, line.size());
        return true;
    }
    rewritten_.assign(line.data(), line.size());
    DeCryptLine(rewritten_, mode);
    line = rewritten_;
    return true;
}

std::string toUtf8(std::string_view cp1252) {
    for (unsigned char c : cp1252)
        if (c >= 0x80) return lumcore::cp1252ToUtf8(cp1252);
    return std::string(cp1252);
}

}  // namespace lumdb::detail
