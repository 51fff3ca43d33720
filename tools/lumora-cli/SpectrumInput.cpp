// Reading spectra for the subcommands; see SpectrumInput.h.
#include "SpectrumInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "lumio/lumio.h"

namespace lumcli {

std::string keywordMessage(const std::string& keyword) {
    if (keyword == lumio::keyword::NoFile) return "Datei existiert nicht oder der Pfadname hat sich geändert!";
    if (keyword == lumio::keyword::NullFile) return "In der Datei befinden sich keine Daten!";
    if (keyword == lumio::keyword::UnknownFormat) return "Die Datei hat ein unbekannntes Format!";
    if (keyword == lumio::keyword::DataNumberOverflow) return "Die Datenanzahl ist zu groß!";
    return "Das Öffnen der Datei wurde abgebrochen.";
}

LoadedSpectrum readSpectrum(CliUi& ui, const std::string& path) {
    ui.beginFile();
    LoadedSpectrum loaded;
    loaded.record = std::make_unique<SpectrumRecord>();
    loaded.record->fileName = path;
    try {
        loaded.filterIndex = ReadFileData(ui, *loaded.record, 1);
    } catch (const lumio::Outcome& e) {
        const std::string keyword = e.keyword();
        // A cancelled read was explained by a message or by the missing choice; the other
        // keywords have the program's own texts.
        std::string message = keywordMessage(keyword);
        if (keyword == lumio::keyword::CancelOpenFile && !ui.failureNote().empty())
            message = ui.failureNote();
        throw FileFailure(keyword, message);
    } catch (const std::bad_alloc&) {
        throw FileFailure("Error", "Nicht genügend Speicher zum Lesen der Datei.");
    } catch (const std::exception& e) {
        throw FileFailure("Error", std::string("Fehler beim Öffnen der Datei! ") + e.what());
    }
    return loaded;
}

FormatProbe::FormatProbe(const ChoiceAnswers& answers) : answers_(answers) {}

FormatProbe::~FormatProbe() {
    if (!scratchDir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(scratchDir_, ec);
    }
}

std::string FormatProbe::scratchDir() {
    if (scratchDir_.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "lumora-cli-XXXXXX").string();
        if (::mkdtemp(pattern.data())) scratchDir_ = pattern;
    }
    return scratchDir_;
}

const std::vector<std::string>& FormatProbe::entries() {
    if (entries_.empty() && !scratchDir().empty()) {
        // A name whose extension matches no format makes ReadFileData show the format
        // list; without an answer the read stops right there.
        CliUi quiet(ChoiceAnswers{}, nullptr);
        SpectrumRecord record;
        record.fileName = scratchDir_ + "/none.0";
        try {
            ReadFileData(quiet, record, 1);
        } catch (const lumio::Outcome&) {
        }
        entries_ = quiet.formatEntries();
    }
    return entries_;
}

bool FormatProbe::readsAs(const std::string& path, int code, const SpectrumRecord& loaded,
                          int filterIndex) {
    if (scratchDir().empty()) return false;
    // The extension-less link makes the format dialog come up, answered with `code`.
    const std::string link = scratchDir_ + "/probe.0";
    ::unlink(link.c_str());
    const std::string target = std::filesystem::absolute(path).string();
    if (::symlink(target.c_str(), link.c_str()) != 0) return false;
    ChoiceAnswers answers = answers_;
    answers.formatCode = code;
    CliUi quiet(answers, nullptr);
    SpectrumRecord record;
    record.fileName = link;
    bool same = false;
    try {
        same = ReadFileData(quiet, record, 1) == filterIndex && record.points == loaded.points && record.plotInfo.title == loaded.plotInfo.title &&
               record.spectrumLines.size() == loaded.spectrumLines.size() &&
               record.databaseLines.size() == loaded.databaseLines.size();
    } catch (const std::exception&) {
    }
    ::unlink(link.c_str());
    return same;
}

int FormatProbe::formatCode(const std::string& path, const SpectrumRecord& loaded, int filterIndex,
                            std::optional<int> chosen) {
    if (chosen) return *chosen;
    const int count = static_cast<int>(entries().size());
    for (int code = 1; code <= count; ++code) {
        // Same data, and the format belongs to the group the file was read as.
        if (readsAs(path, code, loaded, filterIndex)) return code;
    }
    return 0;
}

}  // namespace lumcli
