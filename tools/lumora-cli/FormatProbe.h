// Which entry of the format list a spectrum file was read as.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CliUi.h"
#include "lumio/SpectrumRecord.h"

namespace lumcli {

// The filter index that ReadFileData returns does not tell the variants of a group apart
// (ASCII x,y or y, binary x,y or y, the two Grams formats), so the file is read once more
// under a name without extension, with each format answered in the format dialog, until
// one gives the same data and the same filter index.
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
