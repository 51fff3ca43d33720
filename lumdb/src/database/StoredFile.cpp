// Whole-file reading and line splitting for the stored database files.
#include "StoredFile.h"

#include <cstdint>
#include <cstring>

#include "LineCipherKey.h"
#include "lumcore/Cp1252.h"
#include "lumcore/RegularFile.h"
#include "lumdb/Database.h"

namespace lumdb::detail {

bool StoredFile::open(const std::string& path) {
    next_ = 0;
    // Only regular files: a FIFO would block the open, a device would be read without end.
    return lumcore::readRegularFile(path, bytes_) == lumcore::FileState::Read;
}

bool StoredFile::nextStored(char*& line, std::size_t& length, std::size_t& consumed) {
    if (next_ >= bytes_.size()) return false;
    char* start = bytes_.data() + next_;
    const std::size_t left = bytes_.size() - next_;
    const void* nl = std::memchr(start, '\n', left);
    length = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : left;
    consumed = nl ? length + 1 : length;
    next_ += consumed;
    // Files written on Windows end their lines with "\r\n"; the cipher never yields '\r'.
    if (length > 0 && start[length - 1] == '\r') --length;
    line = start;
    return true;
}

char* StoredFile::rewrite(const char* line, std::size_t& length, unsigned char mode) {
    rewritten_.assign(line, length);
    DeCryptLine(rewritten_, mode);
    length = rewritten_.size();
    return rewritten_.data();
}

bool StoredFile::nextLine(std::string_view& line, unsigned char mode, std::size_t& consumed) {
    char* text = nullptr;
    std::size_t length = 0;
    if (!nextStored(text, length, consumed)) return false;
    if (mode == 0) {
        decipherBytes(text, length);
    } else {
        text = rewrite(text, length, mode);
    }
    line = std::string_view(text, length);
    return true;
}

namespace {

// Nearly every database line is pure ASCII: test eight bytes at a time for a high bit.
bool isAscii(std::string_view text) {
    const char* p = text.data();
    std::size_t n = text.size();
    std::uint64_t high = 0;
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        high |= word;
    }
    for (; n > 0; ++p, --n) high |= static_cast<unsigned char>(*p);
    return (high & 0x8080808080808080ull) == 0;
}

}  // namespace

std::string toUtf8(std::string_view cp1252) {
    if (!isAscii(cp1252)) return lumcore::cp1252ToUtf8(cp1252);
    return std::string(cp1252);
}

void appendUtf8(std::string& out, std::string_view cp1252) {
    if (isAscii(cp1252))
        out.append(cp1252);
    else
        out += lumcore::cp1252ToUtf8(cp1252);
}

}  // namespace lumdb::detail
