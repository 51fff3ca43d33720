// The measurement of found lines and the per-segment shift estimate on a 1,000,000-point
// spectrum (200-1000 nm) whose lines are the sample database's strongest expected lines of
// every species, shifted by 0.3 nm, with every species selected. The database is the one the
// build lays out in its program directory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchRunHost.h"
#include "SyntheticElements.h"
#include "SyntheticSpectrum.h"
#include "lumdb/Elements.h"
#include "lumdb/lumdb.h"

namespace {

struct Scene {
    lumdb::ReferenceLines refs;
    TPointList points;
    TLineArray lines;
    float noise = 0.0f;
    bool ready = false;

    Scene() {
        lumbench::BenchRunHost host;
        TElementArray elements;
        GetElements(LUMORA_PROGRAM_DIR, elements);
        if (elements.empty()) return;
        SSelectElVal values{};
        values.Neutrals = values.FirstIons = true;
        CollectReferenceLines(host, std::string(LUMORA_PROGRAM_DIR) + "/Data/", elements, values,
                              190.0, 1010.0, refs);
        // The 3000 lines of highest expected strength, at 50 to 20000 by that strength.
        std::vector<lumdb::ReferenceLine> strongest = refs.lines;
        std::stable_sort(strongest.begin(), strongest.end(),
                         [](auto& a, auto& b) { return a.strength > b.strength; });
        strongest.resize(std::min<std::size_t>(3000, strongest.size()));
        lumbench::SpectrumRecipe r;
        for (const auto& l : strongest)
            r.given.push_back({l.wavelength + 0.3, 0.05, 50.0 + 19950.0 * l.strength});
        std::sort(r.given.begin(), r.given.end(),
                  [](auto& a, auto& b) { return a.center < b.center; });
        points = lumbench::makeSpectrum(r).points;
        noise = lumdb::RobustNoise(points);
        SLineSearchVal settings{};
        settings.Noise = true;
        settings.NoiseValue = noise;
        TPointList smoothed;
        LineSearch(host, points, smoothed, lines, &settings);
        ready = !refs.lines.empty();
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_RobustNoise(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) benchmark::DoNotOptimize(lumdb::RobustNoise(s.points));
}
BENCHMARK(BM_RobustNoise)->Unit(benchmark::kMillisecond);

void BM_MeasureLines(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) benchmark::DoNotOptimize(lumdb::MeasureLines(s.points, s.lines, s.noise));
    state.counters["lines"] = static_cast<double>(s.lines.size());
}
BENCHMARK(BM_MeasureLines)->Unit(benchmark::kMillisecond);

void BM_CollectReferenceLines(benchmark::State& state) {
    lumbench::BenchRunHost host;
    TElementArray elements;
    GetElements(LUMORA_PROGRAM_DIR, elements);
    SSelectElVal values{};
    values.Neutrals = values.FirstIons = true;
    lumdb::ReferenceLines refs;
    for (auto _ : state)
        CollectReferenceLines(host, std::string(LUMORA_PROGRAM_DIR) + "/Data/", elements, values,
                              0.0, 1e30, refs);
    state.counters["references"] = static_cast<double>(refs.lines.size());
}
BENCHMARK(BM_CollectReferenceLines)->Unit(benchmark::kMillisecond);

// Noise, measurement and shift together, as lumora-cli elements runs them after the search;
// the argument 1 fits shift and stretch.
void BM_MeasureAndShift(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ready) {
        state.SkipWithError("no line database in " LUMORA_PROGRAM_DIR "/Data");
        return;
    }
    lumdb::ShiftSettings settings;
    settings.fitStretch = state.range(0) != 0;
    double shift = 0.0;
    for (auto _ : state) {
        const float noise = lumdb::RobustNoise(s.points);
        const auto measured = lumdb::MeasureLines(s.points, s.lines, noise);
        const auto shifts = lumdb::EstimateShifts(s.points, measured, noise, s.refs, settings);
        shift = shifts.empty() || !shifts[0].estimated() ? -99.0 : shifts[0].shift;
    }
    state.counters["lines"] = static_cast<double>(s.lines.size());
    state.counters["shift"] = shift;
}
BENCHMARK(BM_MeasureAndShift)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Noise, measurement, shift and the judgement of every species on the 1,000,000-point scene.
void BM_JudgeSpecies(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ready) {
        state.SkipWithError("no line database in " LUMORA_PROGRAM_DIR "/Data");
        return;
    }
    std::size_t present = 0;
    for (auto _ : state) {
        const float noise = lumdb::RobustNoise(s.points);
        const auto measured = lumdb::MeasureLines(s.points, s.lines, noise);
        const auto shifts = lumdb::EstimateShifts(s.points, measured, noise, s.refs);
        const auto result = lumdb::JudgeSpecies(s.points, measured, noise, s.refs, shifts);
        present = 0;
        for (const auto& ev : result.species) present += ev.verdict == lumdb::Verdict::Present;
    }
    state.counters["present"] = static_cast<double>(present);
}
BENCHMARK(BM_JudgeSpecies)->Unit(benchmark::kMillisecond);

// The quality of the judgement over synthetic cases drawn from the sample database (seeds 1
// to N): recall of the drawn species, the share of present verdicts that are wrong, and the
// shift errors of the segments at least five lines support. One pass; the counters are the
// figures, the time is incidental.
void BM_SyntheticQuality(benchmark::State& state) {
    lumbench::BenchRunHost host;
    TElementArray elements;
    GetElements(LUMORA_PROGRAM_DIR, elements);
    for (auto& e : elements) e.selected = true;
    SSelectElVal values{};
    values.Neutrals = values.FirstIons = values.HigherIons = true;
    lumdb::ReferenceLines refs;
    CollectReferenceLines(host, std::string(LUMORA_PROGRAM_DIR) + "/Data/", elements, values, 0.0,
                          1e30, refs, 1e-3f);
    if (refs.lines.empty()) {
        state.SkipWithError("no line database in " LUMORA_PROGRAM_DIR "/Data");
        return;
    }
    std::size_t drawn = 0, recalled = 0, present = 0, wrong = 0, shifts = 0, within = 0;
    std::size_t detectable = 0, detected = 0, detectable3 = 0, detected3 = 0;
    std::vector<double> errors;
    for (auto _ : state) {
        // LUMORA_QUALITY_FIRST moves the seeds (first .. first + N - 1), for a second set.
        const char* firstSeed = std::getenv("LUMORA_QUALITY_FIRST");
        const auto first =
            firstSeed ? static_cast<std::uint32_t>(std::strtoul(firstSeed, nullptr, 10)) : 1u;
        for (std::uint32_t seed = first; seed < first + static_cast<std::uint32_t>(state.range(0));
             ++seed) {
            const auto c = lumbench::makeElementsCase(refs, seed);
            const auto o = lumbench::judgeCase(host, refs, c);
            if (const char* write = std::getenv("LUMORA_QUALITY_WRITE");
                write && std::strtoul(write, nullptr, 10) == seed) {
                // The case as a two-column text file, for lumora-cli elements --explain.
                if (std::FILE* f = std::fopen("synthetic_case.txt", "w")) {
                    for (const auto& p : c.points) std::fprintf(f, "%.5f %.3f\n", p.x, p.y);
                    std::fclose(f);
                }
            }
            if (std::getenv("LUMORA_QUALITY_DUMP"))
                for (const auto& ev : o.result.species) {
                    if (ev.verdict == lumdb::Verdict::Unsupported) continue;
                    std::size_t agree = 0;
                    for (const auto& l : ev.lines) agree += l.outcome == lumdb::LineOutcome::Agrees;
                    const bool isDrawn = std::find(c.species.begin(), c.species.end(),
                                                   ev.species) != c.species.end();
                    std::printf("D %u %d %.4f %.3e %zu %zu %zu %zu\n", seed, isDrawn ? 1 : 0,
                                ev.score, ev.chance, agree, ev.found, ev.expected, ev.missing);
                }
            drawn += o.drawn;
            recalled += o.recalled;
            detectable += o.detectable;
            detected += o.detected;
            detectable3 += o.detectable3;
            detected3 += o.detected3;
            present += o.present;
            wrong += o.falsePresent;
            for (const double e : o.shiftErrors) {
                ++shifts;
                within += std::abs(e) <= 0.02;
                errors.push_back(std::abs(e));
            }
            if (std::getenv("LUMORA_QUALITY_CASES")) {
                std::printf("seed %u T %.0f w %.3f shift %.3f noise %.3f: drawn", seed,
                            c.temperature, c.width, c.shift, c.noiseFraction);
                for (auto sp : c.species) std::printf(" %s", refs.species[sp].c_str());
                std::printf(" (visible");
                for (auto v : c.visibleLines) std::printf(" %zu", v);
                std::printf(") | missed");
                for (auto sp : o.missed) std::printf(" %s", refs.species[sp].c_str());
                for (auto sp : o.missed)
                    for (const auto& ev : o.result.species)
                        if (ev.species == sp) {
                            std::size_t agree = 0;
                            for (const auto& l : ev.lines)
                                agree += l.outcome == lumdb::LineOutcome::Agrees;
                            std::printf(" [%s v%d s%.2f a%zu f%zu e%zu m%zu c%.1e]",
                                        refs.species[sp].c_str(), static_cast<int>(ev.verdict),
                                        ev.score, agree, ev.found, ev.expected, ev.missing,
                                        ev.chance);
                        }
                std::printf(" | wrong");
                for (auto sp : o.wrong)
                    for (const auto& ev : o.result.species)
                        if (ev.species == sp) {
                            std::printf(" [%s s%.2f f%zu e%zu c%.1e:", refs.species[sp].c_str(),
                                        ev.score, ev.found, ev.expected, ev.chance);
                            for (const auto& l : ev.lines)
                                if (l.outcome == lumdb::LineOutcome::Agrees) {
                                    // Which drawn species has a line near it.
                                    const double w = refs.lines[l.reference].wavelength;
                                    std::string near = "-";
                                    for (const auto& r : refs.lines)
                                        if (std::abs(r.wavelength - w) < c.width &&
                                            std::find(c.species.begin(), c.species.end(),
                                                      r.species) != c.species.end())
                                            near = refs.species[r.species];
                                    std::printf(" %.2f(%s)", w, near.c_str());
                                }
                            std::printf("]");
                        }
                std::printf(" | shifts");
                for (const double e : o.shiftErrors) std::printf(" %+.3f", e);
                std::printf("\n");
            }
        }
    }
    std::sort(errors.begin(), errors.end());
    state.counters["recall"] =
        drawn ? static_cast<double>(recalled) / static_cast<double>(drawn) : 0;
    state.counters["recall_detectable"] =
        detectable ? static_cast<double>(detected) / static_cast<double>(detectable) : 0;
    // Drawn species with at least two lines three noise amplitudes high.
    state.counters["recall_3noise"] =
        detectable3 ? static_cast<double>(detected3) / static_cast<double>(detectable3) : 0;
    state.counters["false_present"] =
        present ? static_cast<double>(wrong) / static_cast<double>(present) : 0;
    state.counters["shift_within_0.02"] =
        shifts ? static_cast<double>(within) / static_cast<double>(shifts) : 0;
    state.counters["shift_median_error"] = errors.empty() ? 0 : errors[errors.size() / 2];
    state.counters["shifts"] = static_cast<double>(shifts);
    state.counters["species"] = static_cast<double>(drawn);
}
BENCHMARK(BM_SyntheticQuality)->Arg(400)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
