// Whole-file reading and the existence test.
#include "FileBytes.h"

#include <cstdio>
#include <memory>

#include "lumio/Outcome.h"

namespace lumio::detail {
namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

std::string loadFile(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) throw Outcome(keyword::NoFile);
    std::string bytes;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(file.get());
        std::fseek(file.get(), 0, SEEK_SET);
        if (size > 0) {
            // Straight into the result, without a copy through a buffer.
            bytes.resize(static_cast<std::size_t>(size));
            bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
        }
    }
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, n);
    if (std::ferror(file.get())) throw Outcome(keyword::NoFile);
    return bytes;
}

bool canOpen(const std::string& path) {
    // Reading is all a reader needs: a file opened for update as well would turn away
    // write-protected files and files on read-only media.
    FilePtr file(std::fopen(path.c_str(), "rb"));
    return static_cast<bool>(file);
}

}  // namespace lumio::detail
