// The saved text of a database search; see SearchResultText.h.
#include "lumreport/SearchResultText.h"

#include "NumberText.h"
#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"
#include "lumcore/SafeFile.h"
#include "lumdb/Candidate.h"
#include "lumreport/ReportCells.h"
#include "lumreport/SearchReport.h"

using lumcore::strprintf;

namespace lumreport {

std::string searchResultText(std::span<const CSearchEngineLine> result,
                             const SSearchEngineVal& values) {
    std::string t = "Orvenit Lumora Datenbank\n";
    t += std::string(36, '=') + "\n\n";
    t += strprintf("Untere Wellenlänge: %g nm\n", static_cast<double>(values.LowerWavelength));
    t += strprintf("Obere Wellenlänge: %g nm\n", static_cast<double>(values.UpperWavelength));
    t += "\nGefundene Linien:\n\n";
    if (result.empty()) return t + "Es wurden keine Linien gefunden!\n";

    t.reserve(t.size() + result.size() * 100);
    t += strprintf(
        "Linie [nm];Element;%s;Energie [eV];Energie "
        "[eV];Übergang;Quantenzahl;Quantenzahl;Kommentar\n",
        strengthTitle(values.IntensityOption));
    t += ";;;unten;oben;unterer Zustand - oberer Zustand;unten;oben;\n";
    t += std::string(176, '-') + "\n";
    std::size_t n = 0;
    for (const CSearchEngineLine& line : result) {
        const lumdb::Candidate c = lumdb::SearchCandidate(line);
        appendFixed(t, static_cast<double>(line.wavelength), 4);
        (t += ';') += c.species;
        (t += ';') += strengthCell(c, values.IntensityOption, "-");
        for (std::size_t i = 1; i <= 7; ++i) (t += i == 4 ? " - " : ";") += c.field(i);
        t += "\n";
        if (++n % 5 == 0) t += "\n";
    }
    return t;
}

bool saveSearchResultText(const std::string& path, std::span<const CSearchEngineLine> result,
                          const SSearchEngineVal& values) {
    return lumcore::writeFileSafely(path, lumcore::utf8ToCp1252(searchResultText(result, values)));
}

}  // namespace lumreport
