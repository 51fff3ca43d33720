// GetElements and the element table parser.
#include "ElementTable.h"

#include <cstdlib>

#include "StoredFile.h"
#include "lumdb/Database.h"

namespace lumdb::detail {

namespace {

// The text up to the next ';' (or the rest of the line); `pos` moves past the separator.
std::string nextField(const std::string& line, std::size_t& pos) {
    if (pos >= line.size()) return {};
    const std::size_t end = line.find(';', pos);
    std::string field = line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? line.size() : end + 1;
    return field;
}

}  // namespace

bool readElementTable(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    StoredFile file;
    if (!file.open(path)) return false;
    std::string_view line;
    std::size_t consumed = 0;
    while (file.nextLine(line, 0, consumed)) {
        if (line.empty()) break;
        lines.push_back(toUtf8(line));
    }
    return true;
}

CElement parseElementLine(const std::string& line) {
    CElement element;
    std::size_t pos = 0;
    element.name = nextField(line, pos);
    element.text = nextField(line, pos);
    const int red = std::atoi(nextField(line, pos).c_str());
    const int green = std::atoi(nextField(line, pos).c_str());
    const int blue = std::atoi(nextField(line, pos).c_str());
    element.color = MakeColor(static_cast<unsigned>(red), static_cast<unsigned>(green),
                              static_cast<unsigned>(blue));
    // The loop ends when the rest of the line is empty, so a trailing ';' adds no file.
    while (pos < line.size() && element.files.size() < kMaxElementFiles) {
        std::string name = nextField(line, pos);
        element.files.push_back(name.empty() ? std::string() : name + ".lmt");
    }
    element.selected = true;
    return element;
}

std::string localDataDirectory(const std::string& programDir) {
    return programDir + "/Data/";
}

}  // namespace lumdb::detail

void GetElements(const std::string& programDir, TElementArray& elements) {
    elements.clear();
    std::vector<std::string> lines;
    if (!lumdb::detail::readElementTable(
            lumdb::detail::localDataDirectory(programDir) + "Elements.lmt", lines))
        return;
    elements.reserve(lines.size());
    for (const std::string& line : lines) elements.push_back(lumdb::detail::parseElementLine(line));
}
