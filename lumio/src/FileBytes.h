// Whole-file reading for the readers: one allocation, no per-line copies.
#pragma once

#include <string>

namespace lumio::detail {

// The file's bytes; throws Outcome("NoFile") when it cannot be opened or read.
std::string loadFile(const std::string& path);

// Opens the file with the existence-test mode ("r+t" or "r+b": reading and updating, so a
// write-protected file fails too) and closes it again.
bool canOpen(const std::string& path, const char* mode);

}  // namespace lumio::detail
