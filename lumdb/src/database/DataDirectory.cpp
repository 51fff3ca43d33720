// CheckDataDirectory: the local data directory, else a removable volume holding the files.
#include <filesystem>

#include "ElementTable.h"
#include "lumdb/Database.h"

namespace {

const char* const kCaption = "Datenbankquelle";

// True when `dir` holds every database file the table names.
bool holdsAllFiles(const std::string& dir, const std::vector<std::string>& tableLines) {
    std::error_code ec;
    for (const std::string& line : tableLines) {
        const CElement element = lumdb::detail::parseElementLine(line);
        for (const std::string& file : element.files) {
            if (file.empty()) continue;
            if (!std::filesystem::is_regular_file(std::filesystem::path(dir + file), ec))
                return false;
        }
    }
    return true;
}

std::string volumeDataDirectory(std::string root) {
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    if (root == "/") root.clear();
    return root + "/Lumora/Data/";
}

}  // namespace

unsigned char CheckDataDirectory(lumdb::RunHost& host, const std::string& programDir,
                                 std::string& dataDir) {
    const std::string local = lumdb::detail::localDataDirectory(programDir);
    std::vector<std::string> table;
    // The table itself is always read from the local directory, also when the line files
    // lie on a disc.
    if (!lumdb::detail::readElementTable(local + "Elements.lmt", table)) {
        host.beep();
        host.message(
            "Das Datenbankverzeichnis kann nicht gefunden werden! Bitte überprüfen Sie "
            "die Programm- und Datenbankpfade.",
            kCaption, lumdb::Icon::Information, lumdb::Buttons::Ok, false);
        return 0;
    }
    if (holdsAllFiles(local, table)) {
        dataDir = local;
        return 1;
    }
    for (;;) {
        for (const std::string& root : host.removableVolumes()) {
            const std::string dir = volumeDataDirectory(root);
            if (holdsAllFiles(dir, table)) {
                dataDir = dir;
                return 1;
            }
        }
        host.beep();
        const lumdb::Answer answer = host.message(
            "Bitte legen Sie die Orvenit Lumora CD in das CD-Laufwerk und bestätigen Sie mit OK!",
            kCaption, lumdb::Icon::Information, lumdb::Buttons::OkCancel, false);
        if (answer != lumdb::Answer::Ok) return 0;
    }
}
