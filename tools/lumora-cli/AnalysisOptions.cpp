// Analysis settings from --config and the options; see AnalysisOptions.h.
#include "AnalysisOptions.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "lumcore/IniFile.h"
#include "lumcore/Printf.h"

using lumcore::strprintf;

namespace lumcli {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string trimmed(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.erase(s.begin());
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    return s;
}

}  // namespace

void selectElements(TElementArray& elements, const std::string& list) {
    if (sameName(trimmed(list), "all")) {
        for (auto& e : elements) e.selected = true;
        return;
    }
    for (auto& e : elements) e.selected = false;
    std::size_t start = 0;
    while (start <= list.size()) {
        auto comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        const std::string name = trimmed(list.substr(start, comma - start));
        start = comma + 1;
        if (name.empty()) continue;
        auto it = std::find_if(elements.begin(), elements.end(),
                               [&](const CElement& e) { return sameName(e.name, name); });
        if (it == elements.end())
            throw UsageError(
                strprintf("Das Element \"%s\" steht nicht in der Elementtabelle.", name.c_str()));
        it->selected = true;
    }
}

int strengthOption(const std::string& text) {
    if (text == "rel") return 0;
    if (text == "f") return 1;
    if (text == "aik") return 2;
    throw UsageError("--strength erwartet rel, f oder aik, nicht \"" + text + "\".");
}

lumdb::AnalysisSettings analysisSettingsFrom(const CommandLine& line, TElementArray& elements) {
    lumdb::AnalysisSettings s = lumdb::AnalysisSettings::defaults();
    if (line.has("config")) {
        const std::string path = line.value("config");
        if (::access(path.c_str(), R_OK) != 0)
            throw UsageError("Die Konfigurationsdatei \"" + path + "\" kann nicht gelesen werden.");
        s = lumdb::loadAnalysisSettings(lumcore::IniFile::load(path), elements);
    } else {
        for (auto& e : elements) e.selected = false;
        // Without a configuration the stages are whatever the options say; none given
        // means neutral atoms and singly ionised, which is what one nearly always wants.
        if (!line.has("neutrals") && !line.has("ions") && !line.has("higher-ions")) {
            s.select.Neutrals = true;
            s.select.FirstIons = true;
        }
    }
    if (line.has("elements")) selectElements(elements, line.value("elements"));
    if (line.has("neutrals") || line.has("ions") || line.has("higher-ions")) {
        s.select.Neutrals = line.has("neutrals");
        s.select.FirstIons = line.has("ions");
        s.select.HigherIons = line.has("higher-ions");
    }
    // The checks and texts of the settings dialogs, so a wrong value reads the same here.
    if (line.has("tolerance")) {
        const double t = parseNumber("tolerance", line.value("tolerance"));
        if (!(t > 0)) throw UsageError("Das Suchintervall muß größer Null sein! (--tolerance)");
        s.select.SearchRange = static_cast<float>(t);
    }
    if (line.has("intensity")) {
        const auto v = parseNumberList("intensity", line.value("intensity"), 2);
        if (v[1] <= v[0])
            throw UsageError(
                "Die obere Intensitätsgrenze muß größer als die untere Intensitätsgrenze sein! "
                "(--intensity)");
        s.select.IntensityRange = true;
        s.select.LowerIntensity = static_cast<float>(v[0]);
        s.select.UpperIntensity = static_cast<float>(v[1]);
    }
    if (line.has("strength")) s.select.IntensityOption = strengthOption(line.value("strength"));
    s.select.decipherMode = 0;

    SLineSearchVal& ls = s.search;
    if (line.has("noise")) {
        const double v = parseNumber("noise", line.value("noise"));
        if (v < 0) throw UsageError("--noise darf nicht negativ sein.");
        ls.Noise = true;
        ls.NoiseValue = static_cast<float>(v);
    }
    if (line.has("fourier")) {
        ls.FTFilter = true;
        const std::string v = line.value("fourier");
        if (v.empty()) {
            ls.SetFTValues = true;  // standard values: the filter chooses M and K itself
        } else {
            const auto mk = parseIntList("fourier", v, 2);
            if (mk[1] < 8)
                throw UsageError(
                    "Die Filterbreite muß mindestens 8 Datenpunkte sein! (--fourier M,K: K)");
            if (mk[0] <= mk[1])
                throw UsageError(
                    "Die Grenzfrequenz muß größer als die Filterbreite sein! (--fourier M,K: M > "
                    "K)");
            ls.SetFTValues = false;
            ls.FreqNumber = mk[0];
            ls.FreqCutoff = mk[1];
        }
    }
    if (line.has("sg")) {
        const auto ow = parseIntList("sg", line.value("sg"), 2);
        if (ow[0] < 0 || ow[1] < 1)
            throw UsageError(
                "--sg ORDNUNG,BREITE: Polynomgrad und Filterbreite sind positive Zahlen.");
        if (ow[1] <= ow[0])
            throw UsageError("Die Filterbreite muß größer als der Polynomgrad sein! (--sg)");
        // The filter window is centred on each point: an even width has no centre.
        if (ow[1] % 2 == 0)
            throw UsageError(
                "Die Filterbreite muß eine ungerade Anzahl von Datenpunkten sein! (--sg)");
        ls.SGFilter = true;
        ls.PolynomOrder = ow[0];
        ls.FilterWidth = ow[1];
    }
    if (line.has("zoom")) {
        const auto z = parseNumberList("zoom", line.value("zoom"), 2);
        ls.ZoomData = true;
        ls.zoomFrom = static_cast<float>(std::min(z[0], z[1]));
        ls.zoomTo = static_cast<float>(std::max(z[0], z[1]));
    }
    return s;
}

void applyDataRange(SLineSearchVal& search, const TPointList& points, bool zoomGiven) {
    if (!search.ZoomData || zoomGiven || points.empty()) return;
    float lo = points.front().x;
    float hi = lo;
    for (const auto& p : points) {
        lo = std::min(lo, p.x);
        hi = std::max(hi, p.x);
    }
    search.zoomFrom = lo;
    search.zoomTo = hi;
}

}  // namespace lumcli

namespace lumcli {

std::string filterLimitMessage(const SLineSearchVal& search, std::size_t n) {
    const auto count = static_cast<unsigned>(n);
    if (search.FTFilter && !search.SetFTValues && static_cast<std::size_t>(search.FreqNumber) > n)
        return strprintf("Die Filterfrequenz muß kleiner als die Anzahl der Datenpunkte(%u) sein!",
                         count);
    if (search.SGFilter && static_cast<std::size_t>(search.FilterWidth) > n)
        return strprintf("Die Filterbreite muß kleiner als die Anzahl der Datenpunkte(%u) sein!",
                         count);
    return {};
}

}  // namespace lumcli
