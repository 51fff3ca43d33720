// Synthetic optical emission spectra for benchmarks and tests: Gaussian lines on a sloped
// base with Gaussian noise, reproducible from a seed on every platform (the random numbers
// come from mt19937, whose output the C++ standard fixes, not from the library's
// distributions, which it does not).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "lumdb/Records.h"

namespace lumbench {

struct SyntheticLine {
    double center = 0.0;     // nm
    double fwhm = 0.0;       // nm
    double amplitude = 0.0;  // above the base
};

struct SpectrumRecipe {
    std::size_t points = 1'000'000;
    double xFrom = 200.0;  // nm, first point
    double xTo = 1000.0;   // nm, last point
    double base = 500.0;   // base level at xFrom
    double slope = 0.25;   // base rise per nm
    double noise = 5.0;    // standard deviation of the noise
    std::size_t lines = 3000;
    double fwhmMin = 0.02;  // nm
    double fwhmMax = 0.1;
    double amplitudeMin = 50.0;  // log-uniform between these
    double amplitudeMax = 20000.0;
    std::uint32_t seed = 20240601;
    // Lines placed as given instead of `lines` random ones (the noise still from `seed`).
    std::vector<SyntheticLine> given = {};
};

struct SyntheticSpectrum {
    TPointList points;
    std::vector<SyntheticLine> lines;  // in the order of their centres
};

class SyntheticRandom {
  public:
    explicit SyntheticRandom(std::uint32_t seed) : engine_(seed) {}
    // Uniform in (0, 1).
    double uniform() { return (static_cast<double>(engine_()) + 0.5) / 4294967296.0; }
    // Standard normal by the Box-Muller transform.
    double normal() {
        if (hasSpare_) {
            hasSpare_ = false;
            return spare_;
        }
        const double r = std::sqrt(-2.0 * std::log(uniform()));
        const double phi = 6.283185307179586 * uniform();
        spare_ = r * std::sin(phi);
        hasSpare_ = true;
        return r * std::cos(phi);
    }

  private:
    std::mt19937 engine_;
    double spare_ = 0.0;
    bool hasSpare_ = false;
};

inline SyntheticSpectrum makeSpectrum(const SpectrumRecipe& recipe) {
    SyntheticSpectrum out;
    SyntheticRandom rnd(recipe.seed);
    const std::size_t n = recipe.points;
    const double step = n > 1 ? (recipe.xTo - recipe.xFrom) / static_cast<double>(n - 1) : 0.0;
    std::vector<double> y(n);
    for (std::size_t i = 0; i < n; ++i)
        y[i] = recipe.base + recipe.slope * (step * static_cast<double>(i));

    const double lo = std::min(recipe.xFrom, recipe.xTo);
    const double hi = std::max(recipe.xFrom, recipe.xTo);
    out.lines = recipe.given;
    for (std::size_t l = 0; recipe.given.empty() && l < recipe.lines; ++l) {
        SyntheticLine line;
        line.center = lo + (hi - lo) * rnd.uniform();
        line.fwhm = recipe.fwhmMin + (recipe.fwhmMax - recipe.fwhmMin) * rnd.uniform();
        line.amplitude = recipe.amplitudeMin *
                         std::pow(recipe.amplitudeMax / recipe.amplitudeMin, rnd.uniform());
        out.lines.push_back(line);
    }
    std::sort(out.lines.begin(), out.lines.end(),
              [](const SyntheticLine& a, const SyntheticLine& b) { return a.center < b.center; });
    if (step != 0.0) {
        for (const auto& line : out.lines) {
            const double sigma = line.fwhm / 2.354820045030949;
            const double reach = 7.0 * sigma;
            // Index range of the points within `reach` of the centre, for either direction of x.
            double a = (line.center - reach - recipe.xFrom) / step;
            double b = (line.center + reach - recipe.xFrom) / step;
            if (a > b) std::swap(a, b);
            const auto first = static_cast<std::ptrdiff_t>(std::max(0.0, std::ceil(a)));
            const auto last =
                static_cast<std::ptrdiff_t>(std::min(static_cast<double>(n) - 1.0, std::floor(b)));
            for (std::ptrdiff_t i = first; i <= last; ++i) {
                const double d = recipe.xFrom + step * static_cast<double>(i) - line.center;
                y[static_cast<std::size_t>(i)] +=
                    line.amplitude * std::exp(-0.5 * d * d / (sigma * sigma));
            }
        }
    }
    out.points.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        out.points[i].x = static_cast<float>(recipe.xFrom + step * static_cast<double>(i));
        out.points[i].y = static_cast<float>(y[i] + recipe.noise * rnd.normal());
    }
    return out;
}

}  // namespace lumbench
