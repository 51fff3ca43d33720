// Walks the lines of a text file held in memory the way the text readers see them: blank
// lines vanish, leading white space is skipped and the line end ("\n" or "\r\n") is cut off.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace lumio::detail {

// C's isspace in the "C" locale, without the locale lookup.
inline bool isTextSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next line that holds more than white space, without its leading white space and
    // without trailing carriage returns. False at the end of the text.
    bool next(std::string_view& line) {
        const char* p = text_.data() + pos_;
        const char* const end = text_.data() + text_.size();
        while (p < end && isTextSpace(*p)) ++p;
        if (p >= end) {
            pos_ = text_.size();
            return false;
        }
        const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        const char* lineEnd = nl ? static_cast<const char*>(nl) : end;
        pos_ = static_cast<std::size_t>((nl ? lineEnd + 1 : end) - text_.data());
        while (lineEnd > p && lineEnd[-1] == '\r') --lineEnd;
        line = std::string_view(p, static_cast<std::size_t>(lineEnd - p));
        return true;
    }

    // The whole text.
    std::string_view text() const { return text_; }

    // The end of the whole text: bytes up to here may be looked at beyond a line's end.
    const char* textEnd() const { return text_.data() + text_.size(); }

    // Offset just behind the line returned last (behind its "\n").
    std::size_t offset() const { return pos_; }
    void seek(std::size_t offset) { pos_ = offset < text_.size() ? offset : text_.size(); }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace lumio::detail
