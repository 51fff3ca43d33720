// An INI file with the semantics of Windows profile files, the one implementation behind the
// program's settings, configuration files and the command-line tool: sections and keys
// compared without regard to case, values trimmed and freed of one pair of enclosing quotes,
// only the first section of a name is consulted, a missing key gives the caller's default,
// and writing a key keeps every other line byte for byte (line ends included).
// Windows-1252 on disk, UTF-8 in memory; text that Windows-1252 cannot hold is refused.
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

    // Writes the whole profile, Windows-1252, through a temporary file renamed over `path`,
    // so a failure leaves the old file as it was. False when the file cannot be written.
    bool save(const std::string& path) const;
    // The profile as UTF-8 text. Lines end as in the text read ("\r\n" for a new profile).
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

    // Sets one key, creating the section when needed. False, and nothing changed, when the
    // section, key or value holds a character Windows-1252 cannot store (it would come back
    // as another text: a path with '?' names another file) or a line break.
    bool setString(std::string_view section, std::string_view key, std::string_view value);
    void setInt(std::string_view section, std::string_view key, int value);
    // Written with "%g", as the profile functions of the program write numbers.
    void setDouble(std::string_view section, std::string_view key, double value);
    // Removes the key from the first section of that name; nothing when it is not there.
    void removeKey(std::string_view section, std::string_view key);

    // True when `utf8` survives the way to disk and back unchanged.
    static bool isStorable(std::string_view utf8);
    // Text conversions with the profile's rules, independent of the process locale.
    static int toInt(std::string_view text);
    static double toDouble(std::string_view text);

  private:
    // One line of the file. Lines are written back as read unless their entry was set.
    struct Line {
        bool isEntry = false;
        std::string key;    // trimmed (entries only)
        std::string value;  // trimmed, quotes removed (entries only)
        std::string raw;    // the line as read or last written, without its line end
    };
    struct Section {
        std::string name;    // trimmed; the unnamed first section holds what precedes any header
        std::string header;  // the "[name]" line as read; empty for the unnamed first section
        std::vector<Line> lines;
    };

    // Index of the first section of that name; 0 (the unnamed section) when there is none.
    std::size_t sectionIndex(std::string_view section) const;
    // Index of the key's first line in `s`; s.lines.size() when it is not there.
    static std::size_t entryIndex(const Section& s, std::string_view key);
    const Line* findEntry(std::string_view section, std::string_view key) const;

    std::vector<Section> sections_ = {Section{}};
    std::string eol_ = "\r\n";
    bool finalEol_ = true;
};

}  // namespace lumcore
