// Message box and failure helpers shared by the readers.
#include "ReadContext.h"

#include <cctype>

#include "lumcore/Cp1252.h"

namespace lumio::detail {

Answer showMessage(ReadContext& ctx, const std::string& message, Icon icon, Buttons buttons) {
    return ctx.ui.message(ctx.record.fileName + message, kCaptionDataFormat, icon, buttons);
}

void fail(const char* keyword) {
    throw Outcome(keyword);
}

int unitOfLabel(std::string_view label) {
    std::string text;
    for (char c : label) text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto has = [&text](std::string_view word) { return text.find(word) != std::string::npos; };
    // A unit as a word of its own: "nm" but not inside "nmr".
    auto hasWord = [&text](std::string_view word) {
        for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
            const bool before = at == 0 || !std::isalpha(static_cast<unsigned char>(text[at - 1]));
            const std::size_t end = at + word.size();
            const bool after =
                end == text.size() || !std::isalpha(static_cast<unsigned char>(text[end]));
            if (before && after) return true;
        }
        return false;
    };
    if (has("raman")) return SXFormat::kUnitUnknown;
    if (has("cm-1") || has("cm^-1") || has("1/cm") || has("wavenumber") || has("wellenzahl"))
        return 3;
    if (hasWord("nm")) return 0;
    if (has("angstrom") || has("\xc3\xa5") || has("\xc3\x85") || has("[a]") || has("(a)")) return 1;
    if (has("wavelength") || has("wellenl")) return 0;
    if (has("pixel") || has("punkte") || has("channel")) return 2;
    return SXFormat::kUnitUnknown;
}

std::string plotTitleOf(std::string_view cp1252) {
    // Each byte becomes at least one byte: what lies beyond the limit is never needed.
    std::string text = lumcore::cp1252ToUtf8(cp1252.substr(0, SPlotInfo::kTitleMax));
    if (text.size() > SPlotInfo::kTitleMax) {
        std::size_t cut = SPlotInfo::kTitleMax;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text.resize(cut);
    }
    return text;
}

void declareUnitOfLabel(SpectrumRecord& record, std::string_view label) {
    if (record.xFormat.fileUnit == SXFormat::kUnitUnknown)
        record.xFormat.fileUnit = unitOfLabel(label);
}

}  // namespace lumio::detail
