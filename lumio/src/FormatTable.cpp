// The format table, in the order in which extensions are tried and the format dialog lists
// the formats. A reader that is not available yet is nullptr: its extension then leads to
// the format dialog, and choosing it there fails with "UnknownFormat".
#include "FormatTable.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "formats/Readers.h"

namespace lumio::detail {

std::vector<FormatEntry>& mutableFormatTable() {
    // One row per line reads best as a table.
    // clang-format off
    static std::vector<FormatEntry> table = {
        {1, "Lumora-Datei", {"LMX"},
         "Lumora-Dateien  (*.lmx)|*.lmx", readNative, readNative},
        {2, "ASCII-Datei:  X,Y-Werte", {"ASC", "TXT"},
         "ASCII-Dateien  (*.asc,*.txt)|*.asc;*.txt", readAscii, readAsciiXY},
        {3, "ASCII-Datei:  Y-Werte", {}, nullptr, nullptr, readAsciiY},
        {4, "Binäre Datei:  X,Y-Werte", {"BIN"},
         "Binärdateien  (*.bin)|*.bin", readBinary, readBinaryXY},
        {5, "Binäre Datei:  Y-Werte", {}, nullptr, nullptr, readBinaryY},
        {6, "4Spec-Datei", {"CRV"},
         "4Spec-Dateien  (*.crv)|*.crv", read4Spec, read4Spec},
        {7, "Maps-Datei", {"MPS"},
         "Maps-Dateien  (*.mps)|*.mps", readMaps, readMaps},
        {8, "DaVis-Datei", {"PRF"},
         "DaVis-Dateien  (*.prf)|*.prf", readDaVis, readDaVis},
        {9, "OOIBase-Datei", {"SAMPLE", "SCOPE", "REFERENCE", "DARK", "SAMPLEDARK"},
         "OOIBase-Dateien  (*.sample, *.scope, *.Reference, *.Dark, *.SampleDark)"
         "|*.sample; *.scope; *.Reference; *.Dark; *.SampleDark", readOOIBase, readOOIBase},
        {10, "OOILibs-Datei", {"OLS", "OLB"},
         "OOILibs-Dateien  (*.ols, *.olb)|*.ols; *.olb", readOOILibs, readOOILibs},
        {11, "Grams-Datei:  Neues Format", {"SPC"},
         "Grams-Dateien  (*.spc)|*.spc", readGrams, readGramsNew},
        {12, "Grams-Datei:  Altes Format", {}, nullptr, nullptr, readGramsOld},
        {13, "WinSpec-Datei", {"SPE"},
         "WinSpec-Dateien  (*.spe)|*.spe", readWinSpec, readWinSpec},
        {14, "AvaSoft ASCII-Datei", {"TRT", "TAT", "TTT", "TIT"},
         "AvaSoft ASCII-Dateien  (*.trt,*.tat,*.ttt,*.tit)|*.trt;*.tat;*.ttt;*.tit",
         readAvaSoft, readAvaSoft},
    };
    // clang-format on
    return table;
}

const std::vector<FormatEntry>& formatTable() {
    return mutableFormatTable();
}

int filterIndex(int formatCode) {
    int index = 1;
    for (const auto& entry : formatTable()) {
        if (entry.openFilter) ++index;
        if (entry.formatCode == formatCode) return index;
    }
    return 1;
}

std::string openFilterList() {
    std::string list = "Alle Dateien  (*.*)|*.*";
    for (const auto& entry : formatTable())
        if (entry.openFilter) list.append("|").append(entry.openFilter);
    return list;
}

const FormatEntry* matchExtension(std::string_view fileName) {
    // The text after the last "."; a name without one is matched on its whole text.
    const auto dot = fileName.rfind('.');
    std::string ext(dot == std::string_view::npos ? fileName : fileName.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const auto& entry : formatTable())
        for (auto word : entry.extensions)
            if (ext.find(word) != std::string::npos) return &entry;
    return nullptr;
}

}  // namespace lumio::detail
