// The format table, in the order in which extensions are tried and the format dialog lists
// the formats. A reader that is not available yet is nullptr: its extension then leads to
// the format dialog, and choosing it there fails with "UnknownFormat".
#include "FormatTable.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "FileBytes.h"
#include "formats/Readers.h"

namespace lumio::detail {

std::vector<FormatEntry>& mutableFormatTable() {
    // One row per line reads best as a table.
    // clang-format off
    static std::vector<FormatEntry> table = {
        {1, "Lumora-Datei", {"LMX"},
         "Lumora-Dateien  (*.lmx)|*.lmx", readNative, readNative, looksNative},
        {2, "ASCII-Datei:  X,Y-Werte", {"ASC", "TXT", "CSV", "PRN", "DAT", "CAM"},
         "ASCII-Dateien  (*.asc,*.txt)|*.asc;*.txt", readAscii, readAsciiXY, looksAscii},
        {3, "ASCII-Datei:  Y-Werte", {}, nullptr, nullptr, readAsciiY},
        {4, "Binäre Datei:  X,Y-Werte", {"BIN"},
         "Binärdateien  (*.bin)|*.bin", readBinary, readBinaryXY},
        {5, "Binäre Datei:  Y-Werte", {}, nullptr, nullptr, readBinaryY},
        {6, "4Spec-Datei", {"CRV"},
         "4Spec-Dateien  (*.crv)|*.crv", read4Spec, read4Spec, looks4Spec},
        {7, "Maps-Datei", {"MPS"},
         "Maps-Dateien  (*.mps)|*.mps", readMaps, readMaps, looksMaps},
        {8, "DaVis-Datei", {"PRF"},
         "DaVis-Dateien  (*.prf)|*.prf", readDaVis, readDaVis, looksDaVis},
        {9, "OOIBase-Datei", {"SAMPLE", "SCOPE", "REFERENCE", "DARK", "SAMPLEDARK"},
         "OOIBase-Dateien  (*.sample, *.scope, *.Reference, *.Dark, *.SampleDark)"
         "|*.sample; *.scope; *.Reference; *.Dark; *.SampleDark", readOOIBase, readOOIBase,
         looksOOIBase},
        {10, "OOILibs-Datei", {"OLS", "OLB"},
         "OOILibs-Dateien  (*.ols, *.olb)|*.ols; *.olb", readOOILibs, readOOILibs, looksOOILibs},
        {11, "Grams-Datei:  Neues Format", {"SPC"},
         "Grams-Dateien  (*.spc)|*.spc", readGrams, readGramsNew, looksGrams},
        {12, "Grams-Datei:  Altes Format", {}, nullptr, nullptr, readGramsOld},
        {13, "WinSpec-Datei", {"SPE"},
         "WinSpec-Dateien  (*.spe)|*.spe", readWinSpec, readWinSpec, looksWinSpec},
        {14, "AvaSoft ASCII-Datei", {"TRT", "TAT", "TTT", "TIT"},
         "AvaSoft ASCII-Dateien  (*.trt,*.tat,*.ttt,*.tit)|*.trt;*.tat;*.ttt;*.tit",
         readAvaSoft, readAvaSoft, looksAvaSoft},
        {15, "Ocean Optics-Textdatei", {"JAZ"},
         "Ocean Optics-Textdateien  (*.txt,*.jaz,*.JazIrrad)|*.txt;*.jaz;*.JazIrrad",
         readOceanText, readOceanText, looksOceanText},
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

const FormatEntry* matchContent(const std::string& path, int skipCode) {
    // Every content test decides within the first 64 KiB (headers are short; the binary
    // formats' marks lie within the first 4100 bytes).
    const std::string head = loadHead(path, std::size_t{1} << 16);
    if (head.empty()) return nullptr;
    for (const auto& entry : formatTable())
        if (entry.looksLike && entry.formatCode != skipCode && entry.looksLike(head)) return &entry;
    return nullptr;
}

}  // namespace lumio::detail
