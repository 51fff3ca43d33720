// Finding the format code of a file that was read; see FormatProbe.h.
#include "FormatProbe.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "lumio/lumio.h"

namespace lumcli {

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
