// Buffered output of the writers.
#include "writers/OutputFile.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "lumcore/Printf.h"
#include "lumio/Outcome.h"

namespace lumio::detail {

OutputFile::OutputFile(const std::string& path) : file_(path) {
    if (!file_.isOpen()) throw Outcome(keyword::NoFile);
    buffer_.reserve(kFlushAt + lumcore::kFloatTextMax);
}

void OutputFile::flush() {
    file_.write(buffer_);
    buffer_.clear();
}

void OutputFile::writeFloat(float value) {
    char text[lumcore::kFloatTextMax];
    write(std::string_view(
        text, static_cast<std::size_t>(lumcore::formatShortestFloat(text, value) - text)));
}

void OutputFile::writeFloatDecimalComma(float value) {
    char text[lumcore::kFloatTextMax];
    char* end = lumcore::formatShortestFloat(text, value);
    if (char* dot =
            static_cast<char*>(std::memchr(text, '.', static_cast<std::size_t>(end - text))))
        *dot = ',';
    write(std::string_view(text, static_cast<std::size_t>(end - text)));
}

void OutputFile::writeG(float value) {
    char text[lumcore::kFloatTextMax];
    write(std::string_view(
        text, static_cast<std::size_t>(lumcore::formatGeneral(text, value, 6) - text)));
}

void OutputFile::writeUnsigned(unsigned value) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    write(std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

void OutputFile::writeBinaryFloat(float value) {
    std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    if constexpr (std::endian::native == std::endian::big)
        bits = (bits >> 24) | ((bits >> 8) & 0xFF00u) | ((bits << 8) & 0xFF0000u) | (bits << 24);
    char bytes[4];
    std::memcpy(bytes, &bits, 4);
    write(std::string_view(bytes, 4));
}

bool OutputFile::close() {
    flush();
    return file_.commit();
}

}  // namespace lumio::detail
