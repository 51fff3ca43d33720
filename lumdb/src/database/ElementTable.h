// Reading the element table "Elements.lmt": shared by GetElements and CheckDataDirectory.
#pragma once

#include <string>
#include <vector>

#include "lumdb/Records.h"

namespace lumdb::detail {

// The deciphered lines of the table (UTF-8) up to the first empty line; false when the
// table cannot be opened.
bool readElementTable(const std::string& path, std::vector<std::string>& lines);

// One table line split into an element: the five fields, then the file names with ".lmt".
// An empty file field keeps its place (so later files keep their ionisation stage) as an
// empty name, which the readers skip. At most kMaxElementFiles file fields are taken.
CElement parseElementLine(const std::string& line);

// More ionisation stages than any element has: file fields beyond this are ignored, so a
// line of separators cannot cost a string per byte.
inline constexpr std::size_t kMaxElementFiles = 128;

// The local data directory of a program directory, with a trailing '/'.
std::string localDataDirectory(const std::string& programDir);

}  // namespace lumdb::detail
