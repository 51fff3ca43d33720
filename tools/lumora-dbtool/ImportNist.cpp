// `import-nist`: a line list exported by the NIST Atomic Spectra Database lines form (tab- or
// comma-separated, with its column header row) -> one species source file.
//
// Columns used, found by their header names: obs_wl_air(nm) (else ritz_wl_air(nm), else the
// vacuum columns obs_wl_vac/ritz_wl_vac), intens, Aki(s^-1), fik, Ei(eV), Ek(eV), conf_i,
// term_i, J_i, conf_k, term_k, J_k. The export writes values as ="..." for spreadsheets and
// marks derived levels with brackets; both are removed.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "CsvRow.h"
#include "DatabaseTool.h"
#include "lumcore/Printf.h"
#include "lumcore/SafeFile.h"

namespace dbtool {

namespace {

std::string clean(std::string v) {
    auto trim = [](std::string& s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '"')) s.erase(s.begin());
        while (!s.empty() && (s.back() == ' ' || s.back() == '"')) s.pop_back();
    };
    trim(v);
    if (!v.empty() && v.front() == '=') {
        v.erase(v.begin());
        trim(v);
    }
    return v;
}

// The leading number of a value ("1000bl" -> 1000, "[12.345]" -> 12.345); NaN when none.
double leadingNumber(std::string v) {
    v.erase(std::remove_if(
                v.begin(), v.end(),
                [](char c) { return c == '[' || c == ']' || c == '(' || c == ')' || c == '?'; }),
            v.end());
    char* end = nullptr;
    const double x = std::strtod(v.c_str(), &end);
    return end == v.c_str() ? std::nan("") : x;
}

// J as a decimal: "3/2" -> "1.5"; lists ("1/2,3/2") and unknowns become empty.
std::string decimalJ(const std::string& j) {
    if (j.empty() || j.find(',') != std::string::npos) return {};
    const std::size_t slash = j.find('/');
    if (slash == std::string::npos) return std::isnan(leadingNumber(j)) ? std::string() : j;
    const double n = std::strtod(j.substr(0, slash).c_str(), nullptr);
    const double d = std::strtod(j.substr(slash + 1).c_str(), nullptr);
    return d > 0 ? lumcore::strprintf("%g", n / d) : std::string();
}

struct Line {
    double wavelength = 0;
    double f = std::nan("");
    double intensity = std::nan("");
    std::vector<std::string> fields;  // energies, states, J values
};

}  // namespace

int importNist(const std::string& inputPath, const std::string& label,
               const std::string& outputPath, std::ostream& errors) {
    std::ifstream in(inputPath, std::ios::binary);
    if (!in) {
        errors << inputPath << ": cannot be opened\n";
        return 1;
    }
    std::string line;
    std::vector<std::string> columns;
    char separator = ',';
    while (columns.empty() && std::getline(in, line)) {
        line = chompLine(line);
        if (line.find("wl") == std::string::npos) continue;
        separator = line.find('\t') != std::string::npos ? '\t' : ',';
        for (std::string c : splitCsvRow(line, separator)) columns.push_back(clean(c));
    }
    if (columns.empty()) {
        errors << inputPath << ": no column header row with a wavelength column\n";
        return 1;
    }
    auto column = [&](std::initializer_list<const char*> prefixes) -> int {
        for (const char* p : prefixes)
            for (std::size_t i = 0; i < columns.size(); ++i)
                if (columns[i].rfind(p, 0) == 0) return static_cast<int>(i);
        return -1;
    };
    const int obs = column({"obs_wl_air", "obs_wl_vac", "obs_wl"});
    const int ritz = column({"ritz_wl_air", "ritz_wl_vac", "ritz_wl"});
    const int intens = column({"intens"}), aki = column({"Aki"}), fik = column({"fik"});
    const int ei = column({"Ei("}), ek = column({"Ek("});
    const int confI = column({"conf_i"}), termI = column({"term_i"}), jI = column({"J_i"});
    const int confK = column({"conf_k"}), termK = column({"term_k"}), jK = column({"J_k"});
    if (obs < 0 && ritz < 0) {
        errors << inputPath << ": no wavelength column (obs_wl_air(nm) or ritz_wl_air(nm))\n";
        return 1;
    }

    std::vector<Line> lines;
    double strongest = 0;
    while (std::getline(in, line)) {
        line = chompLine(line);
        if (line.empty()) continue;
        std::vector<std::string> f = splitCsvRow(line, separator);
        for (std::string& v : f) v = clean(v);
        auto at = [&](int i) {
            return i >= 0 && static_cast<std::size_t>(i) < f.size() ? f[i] : std::string();
        };
        Line l;
        l.wavelength = leadingNumber(at(obs));
        if (std::isnan(l.wavelength)) l.wavelength = leadingNumber(at(ritz));
        if (std::isnan(l.wavelength) || l.wavelength <= 0) continue;  // repeated headers, notes
        const std::string jLower = decimalJ(at(jI)), jUpper = decimalJ(at(jK));
        l.f = leadingNumber(at(fik));
        const double a = leadingNumber(at(aki));
        if (std::isnan(l.f) && !std::isnan(a) && !jLower.empty() && !jUpper.empty()) {
            // f from A: f = 1.4992e-16 lambda[Angstrom]^2 g_k/g_i A (the air wavelength is used;
            // the difference to vacuum is below 0.03 %).
            const double gi = 2 * std::strtod(jLower.c_str(), nullptr) + 1;
            const double gk = 2 * std::strtod(jUpper.c_str(), nullptr) + 1;
            const double angstrom = l.wavelength * 10;
            l.f = 1.4992e-16 * angstrom * angstrom * gk / gi * a;
        }
        l.intensity = leadingNumber(at(intens));
        if (!std::isnan(l.intensity)) strongest = std::max(strongest, l.intensity);
        auto state = [](const std::string& conf, const std::string& term) {
            return conf.empty() ? term : term.empty() ? conf : conf + " " + term;
        };
        auto energy = [&](int i) {
            const double e = leadingNumber(at(i));
            return std::isnan(e) ? std::string() : lumcore::strprintf("%.5f", e);
        };
        l.fields = {
            energy(ei), energy(ek), state(at(confI), at(termI)), state(at(confK), at(termK)),
            jLower,     jUpper};
        lines.push_back(std::move(l));
    }

    std::ostringstream out;
    out << "species," << csvField(label) << "," << csvField(label) << "\n";
    out << "wavelength_nm,value,lower_energy_eV,upper_energy_eV,lower_state,upper_state,j_lower,"
           "j_upper,comment\n";
    std::size_t written = 0, relative = 0;
    for (const Line& l : lines) {
        std::string value, comment;
        if (!std::isnan(l.f)) {
            value = lumcore::strprintf("%.4g", l.f);
        } else if (!std::isnan(l.intensity) && strongest > 0) {
            // No f-value: NIST's relative intensity scaled to the strongest line of the list.
            value = lumcore::strprintf("%.4g", l.intensity / strongest);
            comment = "rel. Int. NIST";
            ++relative;
        } else {
            continue;
        }
        out << lumcore::strprintf("%.5f", l.wavelength) << "," << value;
        for (const std::string& field : l.fields) {
            std::string v = field;
            std::replace(v.begin(), v.end(), ';', ',');
            out << "," << csvField(v);
        }
        out << "," << comment << "\n";
        ++written;
    }
    if (!lumcore::writeFileSafely(outputPath, out.str())) {
        errors << outputPath << ": cannot be written\n";
        return 1;
    }
    errors << written << " lines written (" << relative << " with relative intensity only)\n";
    return written == 0 ? 1 : 0;
}

}  // namespace dbtool
