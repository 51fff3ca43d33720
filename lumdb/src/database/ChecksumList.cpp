// The database's list of sizes and checksums; see ChecksumList.h.
#include "lumdb/ChecksumList.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "lumcore/RegularFile.h"

namespace lumdb {

namespace {

// Eight tables, so the loop takes eight bytes per step ("slicing by eight"): the check runs
// over every species file of a run and should cost little beside reading them.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr CrcTables makeTables() {
    CrcTables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (std::size_t s = 1; s < 8; ++s)
        for (std::size_t i = 0; i < 256; ++i)
            t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
    return t;
}

constexpr CrcTables kTables = makeTables();

std::uint32_t load32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        const std::uint32_t lo = load32(p) ^ c;
        const std::uint32_t hi = load32(p + 4);
        c = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
            kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
            kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
    }
    for (; n > 0; ++p, --n) c = kTables[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

ChecksumList ChecksumList::load(const std::string& dataDir) {
    ChecksumList list;
    // Only a regular file: a FIFO would block the open, a device would be read without end.
    std::string bytes;
    if (lumcore::readRegularFile(dataDir + kChecksumListName, bytes) != lumcore::FileState::Read)
        return list;
    list.present_ = true;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const auto lineEnd = rest.find('\n');
        std::string_view line = rest.substr(0, lineEnd);
        rest.remove_prefix(lineEnd == std::string_view::npos ? rest.size() : lineEnd + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        // From the right: the checksum, the size, and the name (which may hold blanks).
        const auto lastBlank = line.rfind(' ');
        if (lastBlank == std::string_view::npos || lastBlank == 0) continue;
        const auto sizeBlank = line.rfind(' ', lastBlank - 1);
        if (sizeBlank == std::string_view::npos || sizeBlank == 0) continue;
        Entry entry;
        const std::string_view crc = line.substr(lastBlank + 1);
        const std::string_view size = line.substr(sizeBlank + 1, lastBlank - sizeBlank - 1);
        const auto crcRead = std::from_chars(crc.data(), crc.data() + crc.size(), entry.crc32, 16);
        const auto sizeRead = std::from_chars(size.data(), size.data() + size.size(), entry.size);
        if (crc.size() != 8 || crcRead.ptr != crc.data() + crc.size() ||
            sizeRead.ptr != size.data() + size.size() || sizeRead.ec != std::errc())
            continue;
        entry.file = std::string(line.substr(0, sizeBlank));
        list.entries_.push_back(std::move(entry));
    }
    return list;
}

ChecksumList::Verdict ChecksumList::check(const std::string& file, std::string_view bytes) const {
    for (const Entry& entry : entries_) {
        if (entry.file != file) continue;
        return entry.size == bytes.size() && entry.crc32 == Crc32(bytes) ? Verdict::Intact
                                                                         : Verdict::Damaged;
    }
    return Verdict::Unlisted;
}

void ChecksumList::add(std::string file, std::string_view bytes) {
    present_ = true;
    entries_.push_back(Entry{std::move(file), bytes.size(), Crc32(bytes)});
}

std::string ChecksumList::text() const {
    std::string text = "# Lumora line database: file, size in bytes, CRC-32\n";
    for (const Entry& entry : entries_) {
        char numbers[48];
        std::snprintf(numbers, sizeof numbers, " %llu %08x\n",
                      static_cast<unsigned long long>(entry.size),
                      static_cast<unsigned>(entry.crc32));
        text += entry.file + numbers;
    }
    return text;
}

}  // namespace lumdb
