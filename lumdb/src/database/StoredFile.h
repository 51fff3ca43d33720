// One stored (enciphered) database or element-table file, read whole and handed out line by
// line, deciphered.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumdb::detail {

class StoredFile {
  public:
    // Reads the whole file; false when it cannot be opened.
    bool open(const std::string& path);

    std::size_t size() const { return bytes_.size(); }
    // The whole file as read (before any line is deciphered in place).
    std::string_view bytes() const { return bytes_; }
    bool atEnd() const { return next_ >= bytes_.size(); }

    // The next line without its line end, still enciphered, in the file buffer (so it can be
    // deciphered in place, as far as needed); `consumed` receives the bytes it took in the file
    // including the line end. False at the end of the file.
    bool nextStored(char*& line, std::size_t& length, std::size_t& consumed);

    // A stored line deciphered with one of DeCryptLine's glyph-rewriting modes into a buffer of
    // the file's own; `length` becomes the new length.
    char* rewrite(const char* line, std::size_t& length, unsigned char mode);

    // The next line deciphered with DeCryptLine's `mode` (raw Windows-1252). The view stays
    // valid until the next call; mode 0 deciphers in the file buffer itself, without a copy.
    bool nextLine(std::string_view& line, unsigned char mode, std::size_t& consumed);

  private:
    std::string bytes_;
    std::string rewritten_;  // lines of the glyph-rewriting modes
    std::size_t next_ = 0;
};

// Windows-1252 to UTF-8, skipping the work for pure ASCII text.
std::string toUtf8(std::string_view cp1252);
// The same, appended to `out` without a string of its own.
void appendUtf8(std::string& out, std::string_view cp1252);

}  // namespace lumdb::detail
