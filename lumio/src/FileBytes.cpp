// Whole-file reading and the existence test.
#include "FileBytes.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "lumio/Outcome.h"

namespace lumio::detail {
namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

PathFacts pathFacts(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    PathFacts facts;
    if (error || !fs::exists(status)) return facts;
    if (fs::is_directory(status)) {
        facts.kind = PathKind::Folder;
    } else if (fs::is_regular_file(status)) {
        facts.kind = PathKind::Regular;
        facts.size = fs::file_size(path, error);
        if (error) facts.size = 0;
    } else {
        facts.kind = PathKind::Other;
    }
    return facts;
}

std::string loadFile(const std::string& path) {
    if (pathFacts(path).kind != PathKind::Regular) throw Outcome(keyword::NoFile);
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

std::string loadHead(const std::string& path, std::size_t limit) {
    if (pathFacts(path).kind != PathKind::Regular) return {};
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    std::string bytes(limit, '\0');
    bytes.resize(std::fread(bytes.data(), 1, limit, file.get()));
    return bytes;
}

bool canOpen(const std::string& path) {
    // Reading is all a reader needs: a file opened for update as well would turn away
    // write-protected files and files on read-only media.
    if (pathFacts(path).kind != PathKind::Regular) return false;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    return static_cast<bool>(file);
}

}  // namespace lumio::detail
