// INI file with Windows profile semantics; see IniFile.h.
#include "lumcore/IniFile.h"

#include <charconv>
#include <climits>
#include <cstdio>

#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"
#include "lumcore/SafeFile.h"

namespace lumcore {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

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

// Names are compared without regard to case, for ASCII and for the Latin-1 letters of
// Windows-1252 (UTF-8 C3 80..9E against C3 A0..BE, the multiplication sign excepted);
// everything else byte for byte.
std::string folded(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                out[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && folded(a) == folded(b);
}

bool isSectionHeader(std::string_view text) {
    return !text.empty() && text.front() == '[';
}

}  // namespace

IniFile IniFile::load(const std::string& path) {
    // Plain C reads: a folder of that name or a read error gives an empty profile instead of
    // the exception a stream buffer would throw.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    std::string bytes;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? IniFile{} : fromText(cp1252ToUtf8(bytes));
}

IniFile IniFile::fromText(std::string_view utf8) {
    IniFile ini;
    // A file written on Unix keeps its line ends; anything else gets those of Windows.
    if (utf8.find("\r\n") == std::string_view::npos && utf8.find('\n') != std::string_view::npos)
        ini.eol_ = "\n";
    ini.finalEol_ = utf8.empty() || utf8.back() == '\n';
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t end = utf8.find('\n', pos);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view raw = utf8.substr(pos, end - pos);
        pos = end + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

        const std::string_view text = trim(raw);
        if (isSectionHeader(text)) {
            const std::size_t close = text.find(']');
            const std::string_view name =
                trim(text.substr(1, (close == std::string_view::npos ? text.size() : close) - 1));
            ini.sections_.push_back(Section{std::string(name), std::string(raw), {}});
            continue;
        }
        Line line;
        line.raw = std::string(raw);
        const std::size_t eq = text.find('=');
        if (!text.empty() && text.front() != ';' && eq != std::string_view::npos && eq > 0) {
            line.isEntry = true;
            line.key = std::string(trim(text.substr(0, eq)));
            line.value = std::string(unquote(trim(text.substr(eq + 1))));
        }
        ini.sections_.back().lines.push_back(std::move(line));
    }
    return ini;
}

std::string IniFile::toText() const {
    std::string out;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0) out += sections_[i].header + eol_;
        for (const Line& line : sections_[i].lines) out += line.raw + eol_;
    }
    if (!finalEol_ && out.size() >= eol_.size()) out.resize(out.size() - eol_.size());
    return out;
}

bool IniFile::save(const std::string& path) const {
    return writeFileSafely(path, utf8ToCp1252(toText()));
}

std::size_t IniFile::sectionIndex(std::string_view section) const {
    const std::string_view want = trim(section);
    // Only the first section of a name counts, as with the profile functions.
    for (std::size_t i = 1; i < sections_.size(); ++i)
        if (sameName(sections_[i].name, want)) return i;
    return 0;
}

std::size_t IniFile::entryIndex(const Section& s, std::string_view key) {
    const std::string_view want = trim(key);
    // The first occurrence of a key wins.
    for (std::size_t i = 0; i < s.lines.size(); ++i)
        if (s.lines[i].isEntry && sameName(s.lines[i].key, want)) return i;
    return s.lines.size();
}

const IniFile::Line* IniFile::findEntry(std::string_view section, std::string_view key) const {
    const std::size_t si = sectionIndex(section);
    if (si == 0) return nullptr;
    const Section& s = sections_[si];
    const std::size_t li = entryIndex(s, key);
    return li < s.lines.size() ? &s.lines[li] : nullptr;
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

bool IniFile::isStorable(std::string_view utf8) {
    return utf8.find_first_of("\r\n") == std::string_view::npos &&
           cp1252ToUtf8(utf8ToCp1252(utf8)) == utf8;
}

bool IniFile::setString(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    if (!isStorable(section) || !isStorable(key) || !isStorable(value) || key.empty() ||
        key.find('=') != std::string_view::npos || section.find(']') != std::string_view::npos)
        return false;
    std::size_t si = sectionIndex(section);
    if (si == 0) {
        // A new section goes to the end, one blank line after what stands there.
        const Section& last = sections_.back();
        const bool lastIsBlank =
            last.lines.empty() ? sections_.size() == 1 : trim(last.lines.back().raw).empty();
        if (!lastIsBlank) sections_.back().lines.push_back(Line{});
        sections_.push_back(Section{std::string(section), "[" + std::string(section) + "]", {}});
        finalEol_ = true;
        si = sections_.size() - 1;
    }
    Section* s = &sections_[si];
    if (const std::size_t li = entryIndex(*s, key); li < s->lines.size()) {
        Line& line = s->lines[li];
        line.value = std::string(value);
        line.raw = line.key + "=" + line.value;  // the key keeps its spelling
        return true;
    }
    // A new key goes after the last line of its section that is not blank.
    std::size_t at = s->lines.size();
    while (at > 0 && trim(s->lines[at - 1].raw).empty()) --at;
    Line line;
    line.isEntry = true;
    line.key = std::string(key);
    line.value = std::string(value);
    line.raw = line.key + "=" + line.value;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    return true;
}

void IniFile::setInt(std::string_view section, std::string_view key, int value) {
    setString(section, key, strprintf("%d", value));
}

void IniFile::setDouble(std::string_view section, std::string_view key, double value) {
    setString(section, key, strprintf("%g", value));
}

void IniFile::removeKey(std::string_view section, std::string_view key) {
    const std::size_t si = sectionIndex(section);
    if (si == 0) return;
    std::vector<Line>& lines = sections_[si].lines;
    const std::size_t li = entryIndex(sections_[si], key);
    if (li < lines.size()) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(li));
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
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
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
