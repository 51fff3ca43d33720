// lumora-examples: synthesises the example spectra of Beispiele/ from the line database (an
// argon-hydrogen discharge, a nitrogen plasma with its molecular bands, a steel LIBS
// spectrum) and writes an example configuration file.
//
//   lumora-examples <program directory>
//
// Line intensities follow a Boltzmann population at one excitation temperature,
// I ~ g_i f / lambda^3 * exp(-E_k / kT); band heads are drawn as a sharp edge with a tail
// towards the side the band degrades to. Every spectrum gets a smooth continuum and noise
// from a fixed seed, so the files are the same in every build.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"
#include "lumcore/SafeFile.h"
#include "lumdb/Candidate.h"
#include "lumdb/lumdb.h"

namespace {

class SilentHost : public lumdb::RunHost {
  public:
    void enableParent(bool) override {}
    void openStatus() override {}
    void closeStatus() override {}
    void refreshStatus(const std::string&, const std::string&, std::int32_t,
                       std::int32_t) override {}
    lumdb::Answer message(const std::string& text, const std::string&, lumdb::Icon, lumdb::Buttons,
                          bool) override {
        std::cerr << text << "\n";
        return lumdb::Answer::Cancel;
    }

  protected:
    bool pump() override { return false; }
};

struct Emitter {
    std::string element;  // name in the element table
    bool neutral = true;  // neutral file, else singly ionised
    double scale = 1.0;   // relative amount of this species
};

struct Peak {
    double centre;
    double height;
    bool bandHead;
    bool degradesToViolet;
};

struct Recipe {
    std::string file;
    double from, to, step;
    double fwhm;          // nm, instrument and plasma broadening together
    double lorentzShare;  // 0 Gaussian ... 1 Lorentzian
    double temperatureEv;
    std::vector<Emitter> emitters;
    double continuumLevel;  // relative to the strongest line
    double continuumPeakNm;
    double noise;  // relative to the strongest line
};

std::vector<Peak> peaksOf(const std::string& dataDir, TElementArray& elements,
                          const Emitter& emitter, const Recipe& recipe) {
    for (CElement& e : elements) e.selected = e.name == emitter.element;
    SSearchEngineVal values;
    values.Neutrals = emitter.neutral;
    values.FirstIons = !emitter.neutral;
    values.LowerWavelength = static_cast<float>(recipe.from - 1);
    values.UpperWavelength = static_cast<float>(recipe.to + 1);
    values.LowerIntensity = 0;
    values.UpperIntensity = 1e30f;
    values.IntensityOption = 0;
    SilentHost host;
    TSearchEngineLineArray found;
    LineSearchEngine(host, dataDir, found, elements, values);

    // Lines with f-values get Boltzmann intensities; where a species has none, its relative
    // strengths are used as they are. Each species is then scaled so that its strongest line
    // has the emitter's share.
    std::vector<Peak> boltzmann, relative;
    const double kT = recipe.temperatureEv;
    const bool violet = emitter.element == "N2" || emitter.element == "CO";
    for (const CSearchEngineLine& line : found) {
        const std::string_view record = line.record;  // v;Ei;Ek;..;Jl;Ju;comment
        if (std::count(record.begin(), record.end(), ';') < 7) continue;
        const auto field = [&](std::size_t k) { return lumdb::RecordField(record, k); };
        const double v = lumdb::ReadDouble(field(0));
        const std::string label = line.label.substr(0, line.label.rfind(';'));
        const bool atomic = label.find(' ') != label.size() - 1;  // "Fe I " against "N2 "
        const bool relativeOnly = field(7).find("rel. Int.") != std::string_view::npos;
        if (atomic && !relativeOnly && !field(2).empty()) {
            const double gi = 2 * lumdb::ReadDouble(field(5)) + 1;
            const double l = line.wavelength;
            const double h = gi * v / (l * l * l) * std::exp(-lumdb::ReadDouble(field(2)) / kT);
            if (h > 0) boltzmann.push_back({l, h, false, false});
        } else if (v > 0) {
            relative.push_back({line.wavelength, v, !atomic, violet});
        }
    }
    std::vector<Peak>& peaks = boltzmann.empty() ? relative : boltzmann;
    double strongest = 0;
    for (const Peak& p : peaks) strongest = std::max(strongest, p.height);
    for (Peak& p : peaks) p.height *= emitter.scale / strongest;
    return peaks;
}

double profile(double dx, const Recipe& r) {
    const double sigma = r.fwhm / 2.3548;
    const double gamma = r.fwhm / 2;
    const double gauss = std::exp(-0.5 * dx * dx / (sigma * sigma));
    const double lorentz = gamma * gamma / (dx * dx + gamma * gamma);
    return (1 - r.lorentzShare) * gauss + r.lorentzShare * lorentz;
}

bool writeSpectrum(const std::string& programDir, const std::string& dataDir,
                   TElementArray& elements, const Recipe& recipe) {
    std::vector<Peak> peaks;
    for (const Emitter& e : recipe.emitters) {
        std::vector<Peak> p = peaksOf(dataDir, elements, e, recipe);
        if (p.empty()) std::cerr << "lumora-examples: no lines for " << e.element << "\n";
        peaks.insert(peaks.end(), p.begin(), p.end());
    }
    double strongest = 0;
    for (const Peak& p : peaks) strongest = std::max(strongest, p.height);
    if (strongest <= 0) return false;

    const std::size_t n = static_cast<std::size_t>((recipe.to - recipe.from) / recipe.step) + 1;
    std::vector<double> y(n, 0.0);
    const double reach = recipe.fwhm * 12;
    for (const Peak& p : peaks) {
        const double h = p.height / strongest * 60000.0;
        if (h < 1.0) continue;
        const double tail = p.bandHead ? 2.5 : 0;  // nm a band spreads from its head
        const double lo = p.centre - reach - (p.bandHead && p.degradesToViolet ? tail * 3 : 0);
        const double hi = p.centre + reach + (p.bandHead && !p.degradesToViolet ? tail * 3 : 0);
        std::size_t i0 =
            lo <= recipe.from ? 0 : static_cast<std::size_t>((lo - recipe.from) / recipe.step);
        for (std::size_t i = i0; i < n; ++i) {
            const double x = recipe.from + recipe.step * static_cast<double>(i);
            if (x > hi) break;
            double dx = x - p.centre;
            double value;
            if (p.bandHead) {
                // The unresolved rotational lines: an edge at the head, decaying away from it.
                const double away = p.degradesToViolet ? -dx : dx;
                value = away < 0 ? profile(dx, recipe)
                                 : 0.35 * profile(0, recipe) * std::exp(-away / tail) +
                                       0.65 * profile(dx, recipe);
            } else {
                value = profile(dx, recipe);
            }
            y[i] += h * value;
        }
    }
    std::mt19937 random(1234);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = recipe.from + recipe.step * static_cast<double>(i);
        // A smooth thermal continuum peaking at continuumPeakNm, a dark offset, and noise that
        // grows with the signal (shot noise) on a floor (read noise).
        const double c = (x - recipe.continuumPeakNm) / (0.6 * (recipe.to - recipe.from));
        const double continuum = 60000.0 * recipe.continuumLevel * std::exp(-c * c);
        const double signal = 800.0 + y[i] + continuum;
        const double sigma = 60000.0 * recipe.noise + 0.5 * std::sqrt(signal);
        const double value = signal + sigma * gauss(random);
        text += lumcore::strprintf("%.3f %.1f\n", x, value);
    }
    return lumcore::writeFileSafely(
        (std::filesystem::path(programDir) / "Beispiele" / recipe.file).string(), text);
}

// An example configuration in the INI form of the settings dialogs (Windows-1252, CR LF).
bool writeConfiguration(const std::string& programDir, const TElementArray& elements) {
    std::string text = "[Element Selection]\r\n";
    for (const CElement& e : elements) {
        const bool on = e.name == "Ar" || e.name == "H" || e.name == "N2" || e.name == "OH";
        text += e.name + "=" + (on ? "1" : "0") + "\r\n";
    }
    text +=
        "Neutrals=1\r\nFirstIons=1\r\nHigherIons=0\r\n\r\n"
        "[Search Values]\r\n"
        "SearchRange=0.05\r\nIntensityRange=0\r\nLowerIntensity=0\r\nUpperIntensity=10000\r\n"
        "Noise=0\r\nNoiseValue=0\r\nFTFilter=1\r\nSetFTValues=1\r\nFreqNumber=512\r\n"
        "FreqCutoff=50\r\nSGFilter=0\r\nPolynomOrder=2\r\nFilterWidth=5\r\nFilterData=0\r\n"
        "ZoomData=0\r\nIntensityValues=1\r\nIntensityOption=1\r\nSortOption=0\r\n";
    const std::filesystem::path dir =
        std::filesystem::path(programDir) / "Beispiele" / "Konfigurationen";
    std::filesystem::create_directories(dir);
    return lumcore::writeFileSafely((dir / "Argon-Wasserstoff.lmc").string(),
                                    lumcore::utf8ToCp1252(text));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: lumora-examples <program directory>\n";
        return 2;
    }
    const std::string programDir = argv[1];
    TElementArray elements;
    GetElements(programDir, elements);
    if (elements.empty()) {
        std::cerr << "lumora-examples: no element table in " << programDir << "/Data\n";
        return 1;
    }
    const std::string dataDir = programDir + "/Data/";
    std::filesystem::create_directories(std::filesystem::path(programDir) / "Beispiele");

    const std::vector<Recipe> recipes = {
        {"Argon-Wasserstoff-Entladung.txt",
         300,
         900,
         0.05,
         0.12,
         0.2,
         1.0,
         {{"Ar", true, 1.0}, {"Ar", false, 0.05}, {"H", true, 0.6}},
         0.01,
         500,
         0.0006},
        {"Stickstoffplasma.txt",
         300,
         900,
         0.05,
         0.15,
         0.1,
         0.9,
         {{"N2", true, 1.0}, {"N2", false, 0.6}, {"N", true, 0.3}, {"OH", true, 0.2}},
         0.005,
         450,
         0.0006},
        {"Stahl-LIBS.txt",
         250,
         550,
         0.02,
         0.08,
         0.5,
         0.9,
         {{"Fe", true, 1.0},
          {"Fe", false, 0.5},
          {"Cr", true, 0.12},
          {"Mn", true, 0.1},
          {"Ni", true, 0.05},
          {"Si", true, 0.05},
          {"C", true, 0.02}},
         0.08,
         420,
         0.0015},
    };
    int failures = 0;
    for (const Recipe& r : recipes)
        if (!writeSpectrum(programDir, dataDir, elements, r)) {
            std::cerr << "lumora-examples: " << r.file << " not written\n";
            ++failures;
        }
    if (!writeConfiguration(programDir, elements)) ++failures;
    return failures == 0 ? 0 : 1;
}
