// Synthetic emission spectra drawn from the line database for judging the species judgement:
// a few species at a plasma temperature, their lines at the expected emission, a Gaussian
// instrument width, a wavelength shift and noise, all from one seed. Shared by the unit test
// (a few seeds) and the benchmark program (several hundred).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "SyntheticSpectrum.h"
#include "lumdb/Elements.h"
#include "lumdb/lumdb.h"

namespace lumbench {

struct ElementsCase {
    std::vector<std::uint32_t> species;  // drawn, by index into ReferenceLines::species
    double temperature = 0.0;            // K
    double width = 0.0;                  // instrument FWHM, nm
    double shift = 0.0;                  // nm added to every line
    double noiseFraction = 0.0;          // noise over the strongest line
    // Per drawn species, its lines that stand at least five noise amplitudes high (lines closer
    // than the width count once): a species with fewer than two such lines cannot be told
    // from a chance coincidence.
    std::vector<std::size_t> visibleLines;
    std::vector<std::size_t> visibleLines3;  // the same from three noise amplitudes up
    TPointList points;
};

// The lines of species `s` between `from` and `to` that the generator and a fair judgement
// can use: those with an expected emission, of the species' main kind (transitions when it
// has three between `basisFrom` and `basisTo`, the database wavelengths the spectrum shows,
// as the judgement chooses it).
inline std::vector<std::pair<float, double>> emittingLines(const lumdb::ReferenceLines& refs,
                                                           std::uint32_t s, double from, double to,
                                                           double kelvin, double basisFrom,
                                                           double basisTo) {
    std::vector<std::pair<float, double>> out;
    std::size_t transitions = 0, others = 0;
    for (const auto& r : refs.lines) {
        if (r.species != s || r.wavelength < basisFrom || r.wavelength > basisTo) continue;
        if (r.basis == lumdb::EmissionBasis::Transition)
            ++transitions;
        else if (r.basis != lumdb::EmissionBasis::Unknown)
            ++others;
    }
    const bool useTransitions = transitions >= 3 || (transitions > 0 && others == 0);
    for (const auto& r : refs.lines) {
        if (r.species != s || r.wavelength < from || r.wavelength > to) continue;
        if ((r.basis == lumdb::EmissionBasis::Transition) != useTransitions ||
            r.basis == lumdb::EmissionBasis::Unknown)
            continue;
        const double e = lumdb::ExpectedEmission(r, kelvin);
        if (std::isfinite(e) && e > 0) out.push_back({r.wavelength, e});
    }
    return out;
}

// One case from `seed`: 2 to 8 species among those with at least three lines within a tenth
// of their strongest in the window, 5,000 to 15,000 K, width 0.02 to 0.5 nm (four points per
// width, at most 8192 points and 600 nm), shift -0.8 to 0.8 nm, noise 1 to 10 % of the
// strongest line. Each species' strongest line stands at 0.5 to 1 of the spectrum's.
inline ElementsCase makeElementsCase(const lumdb::ReferenceLines& refs, std::uint32_t seed) {
    SyntheticRandom rnd(seed);
    ElementsCase c;
    c.temperature = 5000.0 + 10000.0 * rnd.uniform();
    c.width = 0.02 * std::pow(25.0, rnd.uniform());
    c.shift = -0.8 + 1.6 * rnd.uniform();
    c.noiseFraction = 0.01 + 0.09 * rnd.uniform();
    const double step = c.width / 4.0;
    const double length = std::min(600.0, 8192.0 * step);
    const double from = 200.0 + (700.0 - length) * rnd.uniform();
    const double to = from + length;

    std::vector<std::uint32_t> eligible;
    for (std::uint32_t s = 0; s < refs.species.size(); ++s) {
        const auto lines = emittingLines(refs, s, from + 1.0, to - 1.0, c.temperature,
                                         from - c.shift, to - c.shift);
        double strongest = 0.0;
        for (const auto& l : lines) strongest = std::max(strongest, l.second);
        std::size_t strong = 0;
        for (const auto& l : lines) strong += l.second >= 0.1 * strongest;
        if (strong >= 3) eligible.push_back(s);
    }
    const std::size_t count =
        std::min<std::size_t>(eligible.size(), 2 + static_cast<std::size_t>(7 * rnd.uniform()));
    for (std::size_t k = 0; k < count; ++k) {
        const auto pick =
            static_cast<std::size_t>(static_cast<double>(eligible.size()) * rnd.uniform());
        c.species.push_back(eligible[pick]);
        eligible.erase(eligible.begin() + static_cast<std::ptrdiff_t>(pick));
    }

    SpectrumRecipe recipe;
    recipe.points = static_cast<std::size_t>(length / step) + 1;
    recipe.xFrom = from;
    recipe.xTo = to;
    recipe.base = 100.0;
    recipe.slope = 0.05;
    recipe.lines = 0;
    recipe.seed = seed * 7919u + 17u;
    recipe.noise = 1000.0 * c.noiseFraction;
    for (const std::uint32_t s : c.species) {
        const double level = 500.0 + 500.0 * rnd.uniform();
        const auto lines = emittingLines(refs, s, from - 2.0, to + 2.0, c.temperature,
                                         from - c.shift, to - c.shift);
        double strongest = 0.0;
        for (const auto& l : lines) strongest = std::max(strongest, l.second);
        std::vector<std::pair<double, float>> inside;  // amplitude, wavelength
        for (const auto& l : lines) {
            const double amplitude = level * l.second / strongest;
            if (amplitude >= 0.2) recipe.given.push_back({l.first + c.shift, c.width, amplitude});
            if (l.first > from && l.first < to) inside.push_back({amplitude, l.first});
        }
        // Lines closer than the width show as one (fine structure, multiplets).
        std::sort(inside.rbegin(), inside.rend());
        std::vector<float> shown;
        std::size_t visible = 0, visible3 = 0;
        for (const auto& [amplitude, w] : inside) {
            if (std::any_of(shown.begin(), shown.end(),
                            [&](float o) { return std::abs(o - w) < c.width; }))
                continue;
            shown.push_back(w);
            visible += amplitude >= 5 * recipe.noise;
            visible3 += amplitude >= 3 * recipe.noise;
        }
        c.visibleLines.push_back(visible);
        c.visibleLines3.push_back(visible3);
    }
    c.points = makeSpectrum(recipe).points;
    return c;
}

// How the judgement fared on one case: the drawn species judged present, the species
// judged present that were not drawn, and the error of every segment shift that at least
// five lines support.
struct CaseOutcome {
    std::size_t drawn = 0, recalled = 0;
    std::size_t detectable = 0, detected = 0;    // drawn species with two visible lines
    std::size_t detectable3 = 0, detected3 = 0;  // two lines from three noises up
    std::size_t present = 0, falsePresent = 0;
    std::vector<double> shiftErrors;
    std::vector<std::uint32_t> missed, wrong;
    lumdb::EvidenceResult result;
};

// The whole chain as lumora-cli elements runs it on a spectrum of one segment.
inline CaseOutcome judgeCase(lumdb::RunHost& host, const lumdb::ReferenceLines& refs,
                             const ElementsCase& c) {
    CaseOutcome out;
    const float noise = lumdb::RobustNoise(c.points);
    SLineSearchVal search{};
    TPointList smoothed;
    TLineArray lines;
    LineSearch(host, c.points, smoothed, lines, &search);
    lumdb::AddFaintLines(host, c.points, search, noise, lines);
    lumdb::EvidenceSettings settings;
    if (std::getenv("LUMORA_QUALITY_TRUE_T")) settings.temperature = c.temperature;
    if (std::getenv("LUMORA_QUALITY_FIT_T")) settings.fitTemperature = true;
    if (std::getenv("LUMORA_QUALITY_NO_SOLE")) settings.soleExplanation = false;
    if (const char* v = std::getenv("LUMORA_QUALITY_CHANCE")) settings.presentChance = std::atof(v);
    if (const char* v = std::getenv("LUMORA_QUALITY_LINES")) settings.presentLines = std::atoi(v);
    if (const char* v = std::getenv("LUMORA_QUALITY_SCORE")) settings.presentScore = std::atof(v);
    if (const char* v = std::getenv("LUMORA_QUALITY_SURE_CHANCE"))
        settings.sureChance = std::atof(v);
    if (const char* v = std::getenv("LUMORA_QUALITY_SURE_SCORE")) settings.sureScore = std::atof(v);
    const auto result =
        lumdb::JudgeSpectrum(c.points, lines, search.NoiseValue, refs, {}, settings).evidence;
    out.drawn = c.species.size();
    for (std::size_t k = 0; k < c.species.size(); ++k) {
        out.detectable += c.visibleLines[k] >= 2;
        out.detectable3 += c.visibleLines3[k] >= 2;
    }
    for (const auto& ev : result.species) {
        const auto at = std::find(c.species.begin(), c.species.end(), ev.species);
        const bool drawn = at != c.species.end();
        if (ev.verdict == lumdb::Verdict::Present) {
            ++out.present;
            if (drawn) ++out.recalled;
            const auto k = static_cast<std::size_t>(at - c.species.begin());
            if (drawn && c.visibleLines[k] >= 2) ++out.detected;
            if (drawn && c.visibleLines3[k] >= 2) ++out.detected3;
            if (!drawn) out.wrong.push_back(ev.species);
        } else if (drawn) {
            out.missed.push_back(ev.species);
        }
    }
    for (const std::uint32_t s : c.species)
        if (std::none_of(result.species.begin(), result.species.end(),
                         [&](const lumdb::SpeciesEvidence& ev) { return ev.species == s; }))
            out.missed.push_back(s);
    out.falsePresent = out.wrong.size();
    out.result = result;
    for (const auto& s : result.shifts)
        if (s.estimated() && s.support.size() >= 5) out.shiftErrors.push_back(s.shift - c.shift);
    return out;
}

}  // namespace lumbench
