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
    static std::vector<FormatEntry> table = {
        {1, "Lumora-Datei", {"LMX"}, "r+t", 2, readNative, readNative},
        {2, "ASCII-Datei:  X,Y-Werte", {"ASC", "TXT"}, "r+t", 3, readAscii, readAsciiXY},
        {3, "ASCII-Datei:  Y-Werte", {}, nullptr, 3, nullptr, readAsciiY},
        {4, "Binäre Datei:  X,Y-Werte", {"BIN"}, "r+b", 4, readBinary, readBinaryXY},
        {5, "Binäre Datei:  Y-Werte", {}, nullptr, 4, nullptr, readBinaryY},
        {6, "4Spec-Datei", {"CRV"}, "r+b", 5, read4Spec, read4Spec},
        {7, "Maps-Datei", {"MPS"}, "r+b", 6, readMaps, readMaps},
        {8, "DaVis-Datei", {"PRF"}, "r+t", 7, readDaVis, readDaVis},
        {9, "OOIBase-Datei", {"SAMPLE", "SCOPE", "REFERENCE", "DARK", "SAMPLEDARK"}, "r+t", 8,
         readOOIBase, readOOIBase},
        {10, "OOILibs-Datei", {"OLS", "OLB"}, "r+t", 9, readOOILibs, readOOILibs},
        {11, "Grams-Datei:  Neues Format", {"SPC"}, "r+b", 10, readGrams, readGramsNew},
        {12, "Grams-Datei:  Altes Format", {}, nullptr, 10, nullptr, readGramsOld},
        {13, "WinSpec-Datei", {"SPE"}, "r+b", 11, readWinSpec, readWinSpec},
        {14, "AvaSoft ASCII-Datei", {"TRT", "TAT", "TTT", "TIT"}, "r+t", 12, readAvaSoft,
         readAvaSoft},
    };
    return table;
}

const std::vector<FormatEntry>& formatTable() { return mutableFormatTable(); }

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
