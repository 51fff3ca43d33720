// `build`: CSV sources -> enciphered Elements.lmt and one .lmt per species.
//
// Sources (UTF-8): Elements.csv with the rows "name,text,red,green,blue,file,file,..." and one
// <file>.csv per species whose first row is "species,<short name>,<label>", optionally
// followed by the column header row, then one row per line: wavelength (nm), value, lower
// and upper energy (eV), lower and upper state, J lower, J upper, comment.
//
// Every file is written through a temporary file, and the list of sizes and checksums
// (Checksums.txt) comes last: the old list goes first, so a build that stops half-way leaves
// complete files without a list rather than a list that calls the new files damaged.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "CsvRow.h"
#include "DatabaseTool.h"
#include "lumcore/Cp1252.h"
#include "lumcore/SafeFile.h"
#include "lumdb/ChecksumList.h"
#include "lumdb/Database.h"

namespace dbtool {

namespace {

constexpr std::size_t kRecordFields = 9;

struct Record {
    double wavelength = 0;
    std::string line;  // the plain database line, Windows-1252
};

bool isNumber(const std::string& text) {
    if (text.empty()) return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return end != text.c_str() && *end == '\0';
}

// One field in the database encoding; false when it cannot be stored there.
bool storedField(const std::string& utf8, std::string& out) {
    if (utf8.find(';') != std::string::npos) return false;
    for (unsigned char c : utf8)
        if (c < 0x20) return false;
    out = lumcore::utf8ToCp1252(utf8);
    return lumcore::cp1252ToUtf8(out) == utf8;
}

bool isSkippable(const std::string& line) {
    return line.empty() || line[0] == '#';
}

class Builder {
  public:
    Builder(const std::string& sourceDir, const std::string& dataDir, std::ostream& errors)
        : source_(sourceDir), data_(dataDir), errors_(errors) {}

    int run() {
        std::ifstream table(source_ / "Elements.csv", std::ios::binary);
        if (!table) return fail("Elements.csv", 0, "cannot be opened");
        std::filesystem::create_directories(data_);
        std::error_code ignored;
        std::filesystem::remove(data_ / lumdb::kChecksumListName, ignored);
        std::vector<std::string> tableLines;
        std::string line;
        int number = 0;
        while (std::getline(table, line)) {
            ++number;
            line = chompLine(line);
            if (isSkippable(line) || line.rfind("name,", 0) == 0) continue;
            std::vector<std::string> f = splitCsvRow(line);
            if (f.size() < 5 || f[0].empty()) {
                fail("Elements.csv", number, "needs name, text, red, green, blue");
                continue;
            }
            std::string stored;
            bool ok = true;
            for (int c = 2; c < 5; ++c)
                if (!isNumber(f[c])) ok = fail("Elements.csv", number, "colour is not a number");
            for (std::size_t i = 0; i < f.size() && ok; ++i) {
                std::string piece;
                if (!storedField(f[i], piece))
                    ok = fail(
                        "Elements.csv", number,
                        "field " + std::to_string(i + 1) +
                            " holds ';', a control character or a character Windows-1252 lacks");
                else
                    stored += (i ? ";" : "") + piece;
            }
            // Trailing empty file fields would be dropped by the reader anyway.
            while (!stored.empty() && stored.back() == ';') stored.pop_back();
            if (!ok) continue;
            tableLines.push_back(stored);
            for (std::size_t i = 5; i < f.size(); ++i)
                if (!f[i].empty()) buildSpecies(f[0], f[i]);
        }
        if (tableLines.empty()) fail("Elements.csv", 0, "lists no element");
        if (problems_ == 0) writeStored(data_ / "Elements.lmt", tableLines);
        if (problems_ == 0 && !lumcore::writeFileSafely((data_ / lumdb::kChecksumListName).string(),
                                                        checksums_.text()))
            fail((data_ / lumdb::kChecksumListName).string(), 0, "cannot be written");
        return problems_;
    }

  private:
    bool fail(const std::string& file, int line, const std::string& what) {
        errors_ << file;
        if (line > 0) errors_ << ":" << line;
        errors_ << ": " << what << "\n";
        ++problems_;
        return false;
    }

    void buildSpecies(const std::string& elementName, const std::string& stem) {
        const std::string name = stem + ".csv";
        std::ifstream in(source_ / name, std::ios::binary);
        if (!in) {
            fail(name, 0, "cannot be opened (named in Elements.csv)");
            return;
        }
        std::string header;
        std::vector<Record> records;
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            line = chompLine(line);
            if (isSkippable(line)) continue;
            std::vector<std::string> f = splitCsvRow(line);
            if (header.empty()) {
                if (f.size() < 3 || f[0] != "species" || f[2].empty()) {
                    fail(name, number, "first row must be: species,<short name>,<label>");
                    return;
                }
                std::string shortName, label;
                if (!storedField(f[1], shortName) || !storedField(f[2], label)) {
                    fail(name, number, "species row holds characters the database cannot store");
                    return;
                }
                header = shortName + ";" + label;
                // The readers skip a file whose header does not name its element.
                const std::string key = elementName.substr(0, elementName.find(" ("));
                std::string lowerHeader = f[1] + ";" + f[2], lowerKey = key;
                std::transform(lowerHeader.begin(), lowerHeader.end(), lowerHeader.begin(),
                               ::tolower);
                std::transform(lowerKey.begin(), lowerKey.end(), lowerKey.begin(), ::tolower);
                if (lowerHeader.find(lowerKey) == std::string::npos)
                    fail(name, number,
                         "species row does not contain the element name \"" + key + "\"");
                continue;
            }
            if (f[0].rfind("wavelength", 0) == 0) continue;  // column header row
            if (f.size() < 2 || f.size() > kRecordFields) {
                fail(name, number, "a line has 2 to 9 fields");
                continue;
            }
            if (!isNumber(f[0]) || !isNumber(f[1])) {
                fail(name, number, "wavelength and value must be numbers");
                continue;
            }
            f.resize(kRecordFields);
            Record r;
            r.wavelength = std::strtod(f[0].c_str(), nullptr);
            bool ok = true;
            for (std::size_t i = 0; i < f.size() && ok; ++i) {
                std::string piece;
                if (!storedField(f[i], piece))
                    ok = fail(
                        name, number,
                        "field " + std::to_string(i + 1) +
                            " holds ';', a control character or a character Windows-1252 lacks");
                r.line += (i ? ";" : "") + piece;
            }
            if (ok) records.push_back(std::move(r));
        }
        if (header.empty()) {
            fail(name, 0, "has no species row");
            return;
        }
        // The readers expect ascending wavelengths; equal ones keep their source order.
        std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
            return a.wavelength < b.wavelength;
        });
        std::vector<std::string> lines{header};
        for (Record& r : records) lines.push_back(std::move(r.line));
        if (problems_ == 0) writeStored(data_ / (stem + ".lmt"), lines);
    }

    void writeStored(const std::filesystem::path& path, const std::vector<std::string>& lines) {
        std::string bytes;
        for (std::string line : lines) {
            EnCryptLine(line);
            bytes += line;
            bytes += "\r\n";
        }
        if (!lumcore::writeFileSafely(path.string(), bytes)) {
            fail(path.string(), 0, "cannot be written");
            return;
        }
        checksums_.add(path.filename().string(), bytes);
    }

    std::filesystem::path source_;
    std::filesystem::path data_;
    std::ostream& errors_;
    int problems_ = 0;
    lumdb::ChecksumList checksums_;
};

}  // namespace

int buildDatabase(const std::string& sourceDir, const std::string& dataDir, std::ostream& errors) {
    return Builder(sourceDir, dataDir, errors).run();
}

}  // namespace dbtool
