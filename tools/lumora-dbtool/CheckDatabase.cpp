// `check` and `dump`: read a built database back the way the program reads it. When the
// data folder has its list of sizes and checksums, `check` holds every file against it.
#include <sys/stat.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "DatabaseTool.h"
#include "lumcore/Cp1252.h"
#include "lumcore/RegularFile.h"
#include "lumdb/ChecksumList.h"
#include "lumdb/Database.h"

namespace dbtool {

namespace {

// The deciphered lines of a stored file (Windows-1252); `bytes` receives the file as
// stored. Returns "" when it was read, else why not. Only regular files are read: a FIFO or
// a device is refused at once instead of blocking or being read without end.
std::string readStored(const std::string& path, std::vector<std::string>& lines,
                       std::string* bytes = nullptr) {
    std::string stored;
    switch (lumcore::readRegularFile(path, stored)) {
        case lumcore::FileState::Read:
            break;
        case lumcore::FileState::Missing:
            return "missing";
        case lumcore::FileState::Folder:
            return "is a folder, not a file";
        case lumcore::FileState::NotRegular:
            return "is not a regular file (a FIFO or device is not read)";
        case lumcore::FileState::TooLarge:
        case lumcore::FileState::Unreadable:
            return "cannot be read";
    }
    std::istringstream in(stored);
    if (bytes) *bytes = std::move(stored);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        DeCryptLine(line, 0);
        lines.push_back(line);
    }
    return "";
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream s(line);
    std::string f;
    while (std::getline(s, f, ';')) fields.push_back(f);
    if (!line.empty() && line.back() == ';') fields.push_back("");
    return fields;
}

bool isNumber(const std::string& text) {
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return !text.empty() && end != text.c_str() && *end == '\0';
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

int checkDatabase(const std::string& dataDir, std::ostream& out, std::ostream& errors) {
    const std::string dir = dataDir.empty() || dataDir.back() == '/' ? dataDir : dataDir + "/";
    int problems = 0;
    auto fail = [&](const std::string& where, const std::string& what) {
        errors << where << ": " << what << "\n";
        ++problems;
    };
    const lumdb::ChecksumList checksums = lumdb::ChecksumList::load(dir);
    struct stat listed {};
    if (::stat((dir + lumdb::kChecksumListName).c_str(), &listed) == 0 && !S_ISREG(listed.st_mode))
        fail(lumdb::kChecksumListName, "is not a regular file (a FIFO or device is not read)");
    auto checkSum = [&](const std::string& name, const std::string& bytes) {
        const auto verdict = checksums.check(name, bytes);
        if (verdict == lumdb::ChecksumList::Verdict::Damaged)
            fail(name,
                 std::string("damaged: size or checksum differs from ") + lumdb::kChecksumListName);
        else if (checksums.present() && verdict == lumdb::ChecksumList::Verdict::Unlisted)
            fail(name, std::string("not listed in ") + lumdb::kChecksumListName);
    };
    std::vector<std::string> table;
    std::string bytes;
    if (const std::string why = readStored(dir + "Elements.lmt", table, &bytes); !why.empty()) {
        fail(dir + "Elements.lmt", why);
        return problems;
    }
    checkSum("Elements.lmt", bytes);
    std::size_t elements = 0, files = 0, records = 0;
    for (std::size_t t = 0; t < table.size() && !table[t].empty(); ++t) {
        const std::vector<std::string> f = split(table[t]);
        const std::string where = "Elements.lmt:" + std::to_string(t + 1);
        if (f.size() < 5 || f[0].empty()) {
            fail(where, "fewer than five fields");
            continue;
        }
        for (int c = 2; c < 5; ++c)
            if (!isNumber(f[c])) fail(where, "colour field is not a number");
        ++elements;
        const std::string key = lower(
            f[0].find(" (") == std::string::npos ? f[0] : f[0].substr(0, f[0].find_first_of(" (")));
        for (std::size_t i = 5; i < f.size(); ++i) {
            if (f[i].empty()) continue;
            const std::string name = lumcore::cp1252ToUtf8(f[i]) + ".lmt";
            std::vector<std::string> lines;
            if (const std::string why = readStored(dir + name, lines, &bytes); !why.empty()) {
                fail(name, why);
                continue;
            }
            ++files;
            checkSum(name, bytes);
            if (lines.empty() || lines[0].empty()) {
                fail(name, "has no header line");
                continue;
            }
            const std::vector<std::string> header = split(lines[0]);
            if (header.size() < 2 || header[1].empty())
                fail(name + ":1", "header lacks the species label");
            if (lower(lines[0]).find(key) == std::string::npos)
                fail(name + ":1", "header does not contain the element name");
            double previous = -1e300;
            for (std::size_t n = 1; n < lines.size(); ++n) {
                const std::string at = name + ":" + std::to_string(n + 1);
                const std::vector<std::string> r = split(lines[n]);
                if (r.size() < 2 || !isNumber(r[0]) || !isNumber(r[1])) {
                    fail(at, "wavelength and value must be numbers");
                    continue;
                }
                const double wavelength = std::strtod(r[0].c_str(), nullptr);
                if (wavelength < previous) fail(at, "records not sorted by wavelength");
                previous = wavelength;
                ++records;
            }
        }
    }
    if (elements == 0) fail("Elements.lmt", "lists no element");
    out << elements << " elements, " << files << " species files, " << records << " records, "
        << problems << " problems\n";
    return problems;
}

int dumpFile(const std::string& path, std::ostream& out, std::ostream& errors) {
    std::vector<std::string> lines;
    if (const std::string why = readStored(path, lines); !why.empty()) {
        errors << path << ": " << why << "\n";
        return 1;
    }
    for (const std::string& line : lines) out << lumcore::cp1252ToUtf8(line) << "\n";
    return 0;
}

}  // namespace dbtool
