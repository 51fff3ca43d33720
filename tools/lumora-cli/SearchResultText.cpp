// The saved text of a database search; see SearchResultText.h.
#include "SearchResultText.h"

#include <cmath>
#include <cstdlib>

#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"
#include "lumcore/SafeFile.h"
#include "lumdb/Candidate.h"

using lumcore::strprintf;

namespace lumcli {

std::string intensityCell(const CSearchEngineLine& line, int intensityOption) {
    const lumdb::Candidate c = lumdb::SearchCandidate(line);
    if (c.valueText.empty()) return {};
    // A molecule (or no value) has no f-value or Aik and shows "-".
    const float s = c.strength(intensityOption);
    switch (intensityOption) {
        case 0:
            return strprintf("%d", static_cast<int>(s));
        case 1:
        case 2:
            return s > 0 ? strprintf("%.3E", static_cast<double>(s)) : "-";
        default:
            return {};
    }
}

std::string searchResultText(const TSearchEngineLineArray& result, const SSearchEngineVal& values) {
    std::string t = "Orvenit Lumora Datenbank\n";
    t += std::string(36, '=') + "\n\n";
    t += strprintf("Untere Wellenlänge: %g nm\n", static_cast<double>(values.LowerWavelength));
    t += strprintf("Obere Wellenlänge: %g nm\n", static_cast<double>(values.UpperWavelength));
    t += "\nGefundene Linien:\n\n";
    if (result.empty()) return t + "Es wurden keine Linien gefunden!\n";

    const char* strengthTitle = values.IntensityOption == 1   ? "f-Wert"
                                : values.IntensityOption == 2 ? "Aik [1/s]"
                                                              : "I (rel.)";
    t += strprintf(
        "Linie [nm];Element;%s;Energie [eV];Energie "
        "[eV];Übergang;Quantenzahl;Quantenzahl;Kommentar\n",
        strengthTitle);
    t += ";;;unten;oben;unterer Zustand - oberer Zustand;unten;oben;\n";
    t += std::string(176, '-') + "\n";
    std::size_t n = 0;
    for (const CSearchEngineLine& line : result) {
        const lumdb::Candidate c = lumdb::SearchCandidate(line);
        t += strprintf("%.4f", static_cast<double>(line.wavelength)) + ";" + c.species + ";" +
             intensityCell(line, values.IntensityOption);
        for (std::size_t i = 1; i <= 7; ++i) (t += i == 4 ? " - " : ";") += c.field(i);
        t += "\n";
        if (++n % 5 == 0) t += "\n";
    }
    return t;
}

bool saveSearchResultText(const std::string& path, const TSearchEngineLineArray& result,
                          const SSearchEngineVal& values) {
    return lumcore::writeFileSafely(path, lumcore::utf8ToCp1252(searchResultText(result, values)));
}

}  // namespace lumcli
