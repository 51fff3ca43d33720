// Whole-file reading for the readers: one allocation, no per-line copies.
#pragma once

#include <string>

namespace lumio::detail {

// The file's bytes; throws Outcome("NoFile") when it cannot be opened or read.
std::string loadFile(const std::string& path);

// The existence test: opens the file for reading and closes it again, so a write-protected
// file or one on read-only media passes and only an unreadable one fails.
bool canOpen(const std::string& path);

}  // namespace lumio::detail
