// An INI file with the semantics of Windows profile files, for code that must not depend on
// Qt (the command-line tool, the configuration loader): sections and keys compared without
// regard to ASCII case, values trimmed and freed of one pair of enclosing quotes, a missing
// key gives the caller's default, and writing a key keeps every other line as it was.
// Windows-1252 on disk, UTF-8 in memory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumcore {

class IniFile {
public:
    IniFile() = default;

    // Reads `path`; a file that cannot be read gives an empty profile (every key missing).
    static IniFile load(const std::string& path);
    // Parses text that is already UTF-8.
    static IniFile fromText(std::string_view utf8);

    // Writes the whole profile, Windows-1252. False when the file cannot be written.
    bool save(const std::string& path) const;
    // The profile as UTF-8 text, lines ending with "\n".
    std::string toText() const;

    bool hasKey(std::string_view section, std::string_view key) const;
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view defaultValue = {}) const;
    // The leading decimal integer of the value (sign allowed, the rest ignored, no digits
    // give 0); `defaultValue` only when the key is missing.
    int getInt(std::string_view section, std::string_view key, int defaultValue) const;
    // The value converted as text to a number (leading number, the rest ignored, else 0);
    // `defaultText` is converted the same way when the key is missing.
    double getDouble(std::string_view section, std::string_view key,
                     std::string_view defaultText) const;

    void setString(std::string_view section, std::string_view key, std::string_view value);
    void setInt(std::string_view section, std::string_view key, int value);
    // Written with "%g", as the profile functions of the program write numbers.
    void setDouble(std::string_view section, std::string_view key, double value);

    // Text conversions with the profile's rules, independent of the process locale.
    static int toInt(std::string_view text);
    static double toDouble(std::string_view text);

private:
    // One line of the file: an entry "key=value" or anything else kept verbatim.
    struct Line {
        bool isEntry = false;
        std::string key;    // trimmed
        std::string value;  // trimmed, quotes removed
        std::string raw;    // the line as read, for lines that are not entries
    };
    struct Section {
        std::string name;  // empty for lines before the first section header
        std::vector<Line> lines;
    };

    const Line* findEntry(std::string_view section, std::string_view key) const;
    Section& sectionFor(std::string_view section);

    std::vector<Section> sections_;
};

}  // namespace lumcore
