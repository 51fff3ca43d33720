// A file being written, with its own buffer: the writers append text and floats without a
// system call or a printf per value. The bytes go to a temporary file beside the target,
// which replaces the target only when close() finds every byte written.
#pragma once

#include <string>
#include <string_view>

#include "lumcore/SafeFile.h"

namespace lumio::detail {

class OutputFile {
  public:
    // Creates the temporary file for `path`; throws Outcome("NoFile") when that fails.
    explicit OutputFile(const std::string& path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(std::string_view text) {
        if (buffer_.size() + text.size() > kFlushAt) flush();
        buffer_.append(text);
    }
    void write(char c) {
        if (buffer_.size() + 1 > kFlushAt) flush();
        buffer_.push_back(c);
    }
    // The shortest text that reads back as the same float.
    void writeFloat(float value);
    // The same with the first "." made a decimal comma.
    void writeFloatDecimalComma(float value);
    // "%g".
    void writeG(float value);
    void writeUnsigned(unsigned value);
    // The four bytes of a little-endian IEEE float.
    void writeBinaryFloat(float value);

    // Flushes, closes and puts the file in place of the target; false, with the target as
    // it was, when any write failed. Without close() the target is not touched.
    bool close();

  private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    void flush();

    lumcore::SafeFile file_;
    std::string buffer_;
};

}  // namespace lumio::detail
