// INI file with Windows profile semantics; see IniFile.h.
#include "lumcore/IniFile.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <fstream>
#include <iterator>
#include <sstream>

#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"

namespace lumcore {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Windows drops one pair of matching quotes around a value.
std::string_view unquote(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

// Names are compared like the profile functions do: ASCII letters without regard to case,
// everything else byte for byte.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca == cb) continue;
        if (ca >= 0x80 || cb >= 0x80 || std::tolower(ca) != std::tolower(cb)) return false;
    }
    return true;
}

}  // namespace

IniFile IniFile::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return fromText(cp1252ToUtf8(bytes));
}

IniFile IniFile::fromText(std::string_view utf8) {
    IniFile ini;
    ini.sections_.push_back(Section{});
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t end = utf8.find('\n', pos);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view raw = utf8.substr(pos, end - pos);
        pos = end + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

        const std::string_view text = trim(raw);
        if (!text.empty() && text.front() == '[') {
            const std::size_t close = text.find(']');
            const std::string_view name =
                trim(text.substr(1, (close == std::string_view::npos ? text.size() : close) - 1));
            ini.sections_.push_back(Section{std::string(name), {}});
            continue;
        }
        Line line;
        const std::size_t eq = text.find('=');
        if (!text.empty() && text.front() != ';' && eq != std::string_view::npos && eq > 0) {
            line.isEntry = true;
            line.key = std::string(trim(text.substr(0, eq)));
            line.value = std::string(unquote(trim(text.substr(eq + 1))));
        } else {
            line.raw = std::string(raw);
        }
        ini.sections_.back().lines.push_back(std::move(line));
    }
    return ini;
}

std::string IniFile::toText() const {
    std::string out;
    for (const Section& section : sections_) {
        // The unnamed first section only holds what stood before the first header.
        if (&section != &sections_.front() || !section.name.empty())
            out += "[" + section.name + "]\n";
        for (const Line& line : section.lines)
            out += line.isEntry ? line.key + "=" + line.value + "\n" : line.raw + "\n";
    }
    return out;
}

bool IniFile::save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::string bytes = utf8ToCp1252(toText());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

const IniFile::Line* IniFile::findEntry(std::string_view section, std::string_view key) const {
    const std::string_view wantSection = trim(section);
    const std::string_view wantKey = trim(key);
    // The first occurrence wins, as with the profile functions.
    for (const Section& s : sections_) {
        if (&s == &sections_.front() && s.name.empty()) continue;
        if (!sameName(s.name, wantSection)) continue;
        for (const Line& line : s.lines)
            if (line.isEntry && sameName(line.key, wantKey)) return &line;
    }
    return nullptr;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return findEntry(section, key) != nullptr;
}

std::string IniFile::getString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    const Line* line = findEntry(section, key);
    return line ? line->value : std::string(defaultValue);
}

int IniFile::getInt(std::string_view section, std::string_view key, int defaultValue) const {
    const Line* line = findEntry(section, key);
    return line ? toInt(line->value) : defaultValue;
}

double IniFile::getDouble(std::string_view section, std::string_view key,
                          std::string_view defaultText) const {
    const Line* line = findEntry(section, key);
    return toDouble(line ? std::string_view(line->value) : defaultText);
}

IniFile::Section& IniFile::sectionFor(std::string_view section) {
    const std::string_view want = trim(section);
    if (sections_.empty()) sections_.push_back(Section{});
    for (std::size_t i = 1; i < sections_.size(); ++i)
        if (sameName(sections_[i].name, want)) return sections_[i];
    sections_.push_back(Section{std::string(want), {}});
    return sections_.back();
}

void IniFile::setString(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = sectionFor(section);
    const std::string_view wantKey = trim(key);
    for (Line& line : s.lines) {
        if (line.isEntry && sameName(line.key, wantKey)) {
            line.value = std::string(value);
            return;
        }
    }
    // A new key goes after the last entry of its section, ahead of trailing blank lines.
    std::size_t at = s.lines.size();
    while (at > 0 && !s.lines[at - 1].isEntry && trim(s.lines[at - 1].raw).empty()) --at;
    Line line;
    line.isEntry = true;
    line.key = std::string(wantKey);
    line.value = std::string(value);
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void IniFile::setInt(std::string_view section, std::string_view key, int value) {
    setString(section, key, strprintf("%d", value));
}

void IniFile::setDouble(std::string_view section, std::string_view key, double value) {
    setString(section, key, strprintf("%g", value));
}

int IniFile::toInt(std::string_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

double IniFile::toDouble(std::string_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars rejects a second sign, which atof would also stop at.
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::invalid_argument) return 0.0;
    return negative ? -value : value;
}

}  // namespace lumcore
