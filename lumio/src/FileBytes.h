// Whole-file reading for the readers: one allocation, no per-line copies.
#pragma once

#include <cstdint>
#include <string>

namespace lumio::detail {

// What a path names, found without opening it (opening a FIFO for reading would wait for a
// writer, and a device never ends).
enum class PathKind { Missing, Regular, Folder, Other };
struct PathFacts {
    PathKind kind = PathKind::Missing;
    std::uintmax_t size = 0;  // of a regular file
};
PathFacts pathFacts(const std::string& path);

// The file's bytes; throws Outcome("NoFile") when it cannot be opened or read, or when the
// path names no regular file.
std::string loadFile(const std::string& path);

// At most the first `limit` bytes of a regular file (empty when it cannot be read).
std::string loadHead(const std::string& path, std::size_t limit);

// The existence test: opens the file for reading and closes it again, so a write-protected
// file or one on read-only media passes and only an unreadable one fails. A path that names
// no regular file fails without being opened.
bool canOpen(const std::string& path);

}  // namespace lumio::detail
