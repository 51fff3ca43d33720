// Reading one spectrum file for a subcommand: ReadFileData with the scripted answers, its
// failures turned into the outcome keyword and a German message that says what to do.
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "CliUi.h"
#include "lumio/SpectrumRecord.h"

namespace lumcli {

// A file that could not be read or written: the outcome keyword and the message for people.
class FileFailure : public std::runtime_error {
public:
    FileFailure(std::string keyword, const std::string& message)
        : std::runtime_error(message), keyword_(std::move(keyword)) {}
    const std::string& keyword() const { return keyword_; }

private:
    std::string keyword_;
};

struct LoadedSpectrum {
    std::unique_ptr<SpectrumRecord> record;
    int filterIndex = 0;
};

// Throws FileFailure.
LoadedSpectrum readSpectrum(CliUi& ui, const std::string& path);

// The German text the program shows for an outcome keyword.
std::string keywordMessage(const std::string& keyword);

// Which entry of the format list a file was read as. The filter index alone does not tell
// the variants of a group apart (ASCII x,y or y, binary x,y or y, the two Grams formats),
// so the file is read a second time under a name without extension, as the format chosen
// in the format dialog, and compared.
class FormatProbe {
public:
    explicit FormatProbe(const ChoiceAnswers& answers);
    ~FormatProbe();
    FormatProbe(const FormatProbe&) = delete;
    FormatProbe& operator=(const FormatProbe&) = delete;

    // The entries of the format list, in format-code order.
    const std::vector<std::string>& entries();
    // The format code of `loaded`, read from `path`; `chosen` is the code given in the
    // format dialog during that read, if it was asked.
    int formatCode(const std::string& path, const SpectrumRecord& loaded, int filterIndex,
                   std::optional<int> chosen);

private:
    bool readsAs(const std::string& path, int code, const SpectrumRecord& loaded, int filterIndex);
    std::string scratchDir();

    ChoiceAnswers answers_;
    std::vector<std::string> entries_;
    std::string scratchDir_;
};

}  // namespace lumcli
