// The list of sizes and checksums that `lumora-dbtool build` writes beside the database
// files, and the check of a file against it, so that a cut, emptied or altered species file
// is refused instead of giving fewer lines or wrong values.
//
// The list is the text file "Checksums.txt" in the data folder, one line per file:
// "<file name> <size in bytes> <CRC-32 as 8 hex digits>", for example
// "Fe_I.lmt 48213 9a3c01fe"; lines starting with '#' are comments. The CRC-32 is the one
// zlib's crc32() computes (reflected polynomial 0xEDB88320; Python: zlib.crc32).
// A data folder without the list is used without the check.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lumdb/lumdb_export.h"

namespace lumdb {

inline constexpr const char* kChecksumListName = "Checksums.txt";

LUMDB_EXPORT std::uint32_t Crc32(std::string_view bytes);

class LUMDB_EXPORT ChecksumList {
  public:
    struct Entry {
        std::string file;  // name in the data folder, e.g. "Fe_I.lmt"
        std::uint64_t size = 0;
        std::uint32_t crc32 = 0;
    };
    enum class Verdict { Unlisted, Intact, Damaged };

    // The list in `dataDir` (with its trailing separator); present() is false when there is
    // none. Lines that do not read as an entry are passed over.
    static ChecksumList load(const std::string& dataDir);
    bool present() const { return present_; }

    // Unlisted when there is no list or the file is not in it; otherwise whether `bytes`
    // (the whole file) has the listed size and checksum.
    Verdict check(const std::string& file, std::string_view bytes) const;

    // Builds a list: the entry of a file with the content `bytes`.
    void add(std::string file, std::string_view bytes);
    // The file text of the list, comment line first.
    std::string text() const;
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    bool present_ = false;
    std::vector<Entry> entries_;
};

}  // namespace lumdb
