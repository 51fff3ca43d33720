// A file being written, with its own buffer: the writers append text and floats without a
// system call or a printf per value.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lumio::detail {

class OutputFile {
public:
    // Creates or truncates `path`; throws Outcome("NoFile") when that fails.
    explicit OutputFile(const std::string& path);
    ~OutputFile();
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

    // Flushes and closes; false when any write failed.
    bool close();

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    void flush();

    std::FILE* file_;
    std::string buffer_;
    bool failed_ = false;
};

}  // namespace lumio::detail
