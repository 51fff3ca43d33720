// The Wiener-Fourier filter: the fast transform against a direct DFT kept here as the
// reference, the exponential fit against a dense SVD, the cutoff and model rules on
// hand-made spectra, and the segment handling at the ends of the data.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <numeric>
#include <tuple>
#include <vector>

#include "ScriptedRunHost.h"
#include "SyntheticSpectrum.h"
#include "analysis/ExponentialFit.h"
#include "analysis/SpectrumTransform.h"
#include "analysis/WienerFourierFilter.h"

using namespace lumdb::analysis;

namespace {

// The transform as written out term by term: X[k] = sum_j x_j e^(+i 2 pi k j / N) for
// k <= N/2; the inverse takes the bins above N/2 as the mirror images of those below.
// O(N^2), in double.
class DirectDft final : public SpectrumTransform {
  public:
    explicit DirectDft(std::size_t length) : n_(length) {}
    void forward(const float* x, std::complex<float>* bins) override {
        for (std::size_t k = 0; k <= n_ / 2; ++k) {
            std::complex<double> sum;
            for (std::size_t j = 0; j < n_; ++j) sum += double(x[j]) * turn(k * j);
            bins[k] = std::complex<float>(sum);
        }
    }
    void inverse(const std::complex<float>* bins, float* out) override {
        for (std::size_t j = 0; j < n_; ++j) {
            double re = 0.0;
            for (std::size_t k = 0, m = 0; k < n_; ++k, m = std::min(k, n_ - k))
                re += (std::complex<double>(bins[m]) * std::conj(turn(m * j))).real();
            out[j] = static_cast<float>(re / static_cast<double>(n_));
        }
    }

  private:
    std::complex<double> turn(std::size_t p) const {
        return std::polar(1.0, 6.283185307179586 * double(p % n_) / double(n_));
    }
    std::size_t n_;
};

TransformFactory directFactory() {
    return [](std::size_t n) { return std::make_unique<DirectDft>(n); };
}

// A piece of a synthetic emission spectrum: lines a few points wide on a sloped, noisy base.
std::vector<float> realLooking(std::size_t n, std::uint32_t seed = 7) {
    lumbench::SpectrumRecipe r{.points = n, .xFrom = 300.0, .noise = 8.0, .lines = n / 60 + 1};
    r.xTo = 300.0 + 0.01 * static_cast<double>(n);
    r.seed = seed;
    const auto s = lumbench::makeSpectrum(r);
    std::vector<float> ys;
    for (const auto& p : s.points) ys.push_back(p.y);
    return ys;
}

struct Filtered {
    std::vector<float> ys;
    std::int32_t bins, cutoff;
    bool completed;
};

Filtered runFilter(std::vector<float> ys, std::int32_t bins, std::int32_t cutoff,
                   TransformFactory factory = makeFastTransform) {
    lumtest::ScriptedRunHost host;
    RunState run(host);
    const bool completed = WienerFourierFilter(std::move(factory)).filter(ys, bins, cutoff, run);
    return {std::move(ys), bins, cutoff, completed};
}

// Dense reference for the exponential fit: the SVD of A = [1 x] by the one rotation V that
// makes the columns of A V = [c0 c1] orthogonal; their norms are the singular values. Those
// below 1e-5 of the largest are dropped; the minimum-norm solution of A a = ln y is
// V (c_j . l / |c_j|^2).
ExponentialFit::Result svdFit(const std::vector<double>& x, const std::vector<double>& l) {
    const auto dot = [](const std::vector<double>& p, const std::vector<double>& q) {
        return std::inner_product(p.begin(), p.end(), q.begin(), 0.0);
    };
    std::vector<double> c0(x.size(), 1.0), c1 = x;
    const double angle = 0.5 * std::atan2(2 * dot(c0, c1), dot(c1, c1) - dot(c0, c0));
    const double cs = std::cos(angle), sn = std::sin(angle);
    for (std::size_t i = 0; i < x.size(); ++i)
        std::tie(c0[i], c1[i]) = std::pair(cs * c0[i] - sn * c1[i], sn * c0[i] + cs * c1[i]);
    const double s0 = dot(c0, c0), s1 = dot(c1, c1), floor = 1e-10 * std::max(s0, s1);
    const double u0 = s0 > 0 && s0 >= floor ? dot(c0, l) / s0 : 0;
    const double u1 = s1 > 0 && s1 >= floor ? dot(c1, l) / s1 : 0;
    return {cs * u0 + sn * u1, cs * u1 - sn * u0};
}

}  // namespace

TEST(SpectrumTransform, FastTransformMatchesTheDirectSumsForAnyEvenLength) {
    // Powers of two, odd factors and a large prime factor (2 * 211); forward and back again.
    for (std::size_t n : {16u, 402u, 422u, 1024u}) {
        std::vector<float> x(n), back(n);
        for (std::size_t i = 0; i < n; ++i) x[i] = float(std::sin(0.3 * i) * 50 + (i % 5));
        std::vector<std::complex<float>> fast(n / 2 + 1), direct(n / 2 + 1);
        auto t = makeFastTransform(n);
        t->forward(x.data(), fast.data());
        DirectDft(n).forward(x.data(), direct.data());
        // The sign of the exponent may differ between the two (conjugate bins); the filter
        // only uses |X|^2 and real weights. Float FFT error: ~1e-6 of the largest bin.
        double tolerance = 0;
        for (auto b : direct) tolerance = std::max(tolerance, 2e-6 * std::abs(b));
        for (std::size_t k = 0; k <= n / 2; ++k) {
            EXPECT_NEAR(std::abs(fast[k]), std::abs(direct[k]), tolerance) << n << " " << k;
            EXPECT_NEAR(fast[k].real(), direct[k].real(), tolerance) << n << " " << k;
        }
        t->inverse(fast.data(), back.data());
        for (std::size_t i = 0; i < n; ++i) EXPECT_NEAR(back[i], x[i], 1e-4) << n << " " << i;
    }
}

TEST(WienerFourier, FastFilterMatchesTheFilterOnDirectSums) {
    // Points and M (0: automatic). M = 512 over several segments; automatic short series (odd
    // 301 -> M 201, N = 2*3*67; 320 -> M 211 prime; 500 -> M 301 = 7*43); a prime user M (97).
    // M = 900 on 100 points: the mirrored end of the only segment is longer than the data; it
    // repeats the data every 200 points, so only every 9th bin has power, and whatever the
    // models make of that, the run stays inside the data.
    const std::pair<std::size_t, std::int32_t> cases[] = {
        {6000, 512}, {6000, 0}, {301, 0}, {320, 0}, {500, 0}, {3000, 97}, {100, 900}};
    for (const auto& [n, bins] : cases) {
        const auto ys = realLooking(n, static_cast<std::uint32_t>(n));
        const auto fast = runFilter(ys, bins, 0);
        const auto direct = runFilter(ys, bins, 0, directFactory());
        ASSERT_TRUE(fast.completed);
        EXPECT_EQ(fast.bins, bins ? bins : direct.bins) << n;
        EXPECT_EQ(fast.cutoff, direct.cutoff) << n;
        // Agreement (a NaN counts as disagreement), and the filter must have done something:
        // noise of 8 on a base of ~500.
        double worst = 0, change = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double error = std::fabs(double(fast.ys[i]) / direct.ys[i] - 1);
            worst = error <= worst ? worst : error;
            change = std::max(change, std::fabs(double(fast.ys[i]) - ys[i]));
        }
        EXPECT_LT(worst, 1e-4) << "n " << n << " M " << bins;
        EXPECT_GT(change, 5.0) << n;
    }
}

TEST(WienerFourier, AutomaticValuesAreWrittenBackAndAUserCutoffIsLimitedReducedAndGrown) {
    // 2 * 51 + n < 1024: M = (102 + n rounded down to even) / 2; 102 + 922 = 1024 is not below.
    const std::pair<std::size_t, int> cases[] = {
        {600, 351}, {601, 351}, {921, 511}, {922, 512}, {5000, 512}};
    for (const auto& [n, bins] : cases) {
        const auto f = runFilter(realLooking(n), 0, 0);
        EXPECT_EQ(f.bins, bins) << n;
        EXPECT_TRUE(f.cutoff > 0 && f.cutoff <= bins) << n;
    }
    // A user K: 20 - 1 = 19 bins, grown by one to 20, where a spectrum of smooth lines
    // already falls; past M limited to M - 1 = 511, reduced to 510, grown to 511 at least; 2
    // is not reduced: at least 3 after growing.
    const auto ys = realLooking(4000);
    const std::tuple<int, int, int> user[] = {{20, 20, 20}, {5000, 511, 512}, {2, 3, 512}};
    for (const auto& [cutoff, low, high] : user) {
        const int k = runFilter(ys, 512, cutoff).cutoff;
        EXPECT_TRUE(k >= low && k <= high) << cutoff << " -> " << k;
    }
}

TEST(WienerFourier, FlatAndEmptyDataStayAsTheyAre) {
    // Flat; all zero (no 0/0 in the energy rescaling); fewer points than one margin (51):
    // nothing to transform; none at all.
    const std::vector<float> few{1, 9, 2, 8, 3};
    for (const auto& ys : {std::vector<float>(3000, 123.5f), std::vector<float>(3000, 0.0f), few,
                           std::vector<float>{}}) {
        const auto f = runFilter(ys, ys.size() == 5 ? 512 : 0, 0);
        EXPECT_TRUE(f.completed);
        EXPECT_EQ(f.ys, ys);
    }
}

TEST(WienerFourier, DataEndingInsideTheLastMarginAreReadInBoundsAndAllFiltered) {
    // M = 512: a full segment reads 51 + 922 points. With 950 points (inside that reach) or
    // exactly 973 (reach ends at the data's end) all points still come out filtered.
    for (std::size_t n : {950u, 973u, 973u + 922u}) {
        const auto ys = realLooking(n, 11);
        const auto f = runFilter(ys, 512, 0);
        ASSERT_TRUE(f.completed);
        int unchanged = 0;
        for (std::size_t i = n - 51; i < n; ++i) unchanged += f.ys[i] == ys[i];
        EXPECT_LT(unchanged, 3) << n;
        for (float v : f.ys) ASSERT_TRUE(std::isfinite(v));
    }
}

TEST(WienerFourier, ProgressHasThreeStepsPerSegmentAndAbortKeepsSettings) {
    // ceil(6000 / 922) = 7 segments; an aborted run leaves the automatic values alone.
    lumtest::ScriptedRunHost host, aborting;
    aborting.abortAfterPumps = 2;
    for (auto* h : {&host, &aborting}) {
        RunState run(*h);
        run.phase("Datenglättung", "Wiener-Fourierfilter");
        std::int32_t bins = 0, cutoff = 0;
        auto ys = realLooking(h == &host ? 6000 : 200000);
        EXPECT_EQ(WienerFourierFilter().filter(ys, bins, cutoff, run), h == &host);
        EXPECT_EQ(bins, h == &host ? 512 : 0);
        EXPECT_EQ(cutoff == 0, h != &host);
    }
    ASSERT_FALSE(host.refreshes.empty());
    EXPECT_EQ(host.refreshes.back().upper, 21);
    EXPECT_EQ(host.refreshes.back().phase, "Wiener-Fourierfilter");
    EXPECT_EQ(host.position(), 21);
}

TEST(ExponentialFitTest, RunningSumsGiveTheSvdSolution) {
    lumbench::SyntheticRandom rnd(5);
    const auto line = [&](int from, int count, double l0, double slope, double noise) {
        std::vector<double> x, l;
        for (int k = 0; k < count; ++k) {
            x.push_back(from + k);
            l.push_back(l0 + slope * k + noise * rnd.normal());
        }
        ExponentialFit fit;
        for (std::size_t i = 0; i < x.size(); ++i) fit.addLog(x[i], l[i]);
        const auto got = fit.solve(), want = svdFit(x, l);
        EXPECT_NEAR(got.slope, want.slope, 1e-9 * (1 + std::fabs(want.slope))) << from;
        EXPECT_NEAR(got.logAmplitude, want.logAmplitude, 1e-7 * (1 + std::fabs(want.logAmplitude)));
        return got.slope;
    };
    // A signal part from bin 0 and a noise part high up (bins 400..511): full rank.
    line(0, 40, 20.0, -0.2, 1.0);
    line(400, 112, 3.0, 0.0, 1.0);
    // Two to five bins far from 0: the small singular value falls below 1e-5 of the large
    // one and is dropped; the answer is the minimum-norm one, not the exact line.
    for (int count : {2, 3, 5}) {
        const double slope = line(505, count, 4.0, 0.5, 0.0);
        EXPECT_LT(std::fabs(slope - 0.5), 0.5) << count;
        EXPECT_GT(std::fabs(slope - 0.5), 0.1) << count;
    }
    // One point at 0: ln A is its value, slope 0. Values <= 0 count as ln y = 0.
    line(0, 1, 2.5, 0.0, 0.0);
    ExponentialFit zeros;
    zeros.add(1.0, 0.0);
    zeros.add(2.0, -5.0);
    zeros.add(3.0, 1.0);
    EXPECT_NEAR(zeros.solve().slope, 0.0, 1e-12);
}

TEST(SpectrumModelsTest, CutoffRulesOnHandMadeSpectra) {
    // 100 bins: 50 in bins 1..9, 1 above. Peak 50 over noise 1: 1 decade, so the threshold is
    // (50 - 1) / 4 + 1 = 13.25; bins 10..14 are the first five below it.
    std::vector<double> p(100, 1.0);
    for (int k = 1; k < 10; ++k) p[k] = 50.0;
    p[0] = 1.0e6;
    EXPECT_EQ(automaticCutoff(p, false), 15u);
    // The last segment counts bin 0 to the peak: 6 decades, threshold 1e6 * 10^trunc(-4.5)
    // = 100, and bins 1..5 are already below it.
    EXPECT_EQ(automaticCutoff(p, true), 6u);
    // The noise floor is part of the threshold: bins of 13 lie below 13.25, not below 12.25.
    for (int k = 10; k < 20; ++k) p[k] = 13.0;
    EXPECT_EQ(automaticCutoff(p, false), 15u);
    // No power anywhere: nothing is below a zero threshold, K = M.
    EXPECT_EQ(automaticCutoff(std::vector<double>(100, 0.0), false), 100u);
    // Fewer than 10 bins: no peak or noise band at all, no division by zero.
    EXPECT_EQ(automaticCutoff(std::vector<double>(8, 3.0), false), 8u);
}

TEST(SpectrumModelsTest, SignalGrowsUntilItFallsAndWeightsCrossAtEqualPower) {
    // ln p = 10 - 0.1 k (signal) meeting a flat floor ln p = 5 at k = 50.
    std::vector<double> lp(200);
    for (int k = 0; k < 200; ++k) lp[k] = std::max(10.0 - 0.1 * k, 5.0);
    const auto m = fitModels(lp, 9);
    EXPECT_EQ(m.cutoff, 10u);  // already falling after one bin
    EXPECT_NEAR(m.signalSlope, -0.1, 1e-9);
    ASSERT_TRUE(m.hasNoise);
    EXPECT_LT(m.weight(0), 1.0);
    EXPECT_GT(m.weight(0), 0.9);  // e^10 against a noise model of about e^(6..7) at bin 0
    // Noise fit over 10..199 of the kinked line is not flat, so equal power sits near, not at,
    // bin 50; the weight must fall through 0.5 between the signal and the floor.
    EXPECT_GT(m.weight(20), 0.5);
    EXPECT_LT(m.weight(150), 0.5);
    for (std::uint32_t k = 1; k < 200; ++k) EXPECT_LE(m.weight(k), m.weight(k - 1));
    // The table of all weights (geometric steps between exact values) gives the same, also
    // for steep and extreme models: no NaN, weights stay in [0, 1].
    std::vector<float> table(200);
    for (const auto& [slope, logAmp] :
         {std::pair{m.noiseSlope, m.noiseLogAmp}, std::pair{3.0, -800.0}, std::pair{0.0, 900.0}}) {
        SpectrumModels x = m;
        x.noiseSlope = slope;
        x.noiseLogAmp = logAmp;
        x.weights(table);
        for (std::uint32_t k = 0; k < 200; ++k) {
            ASSERT_TRUE(table[k] >= 0.0f && table[k] <= 1.0f) << k;
            EXPECT_NEAR(table[k], x.weight(k), 1e-7) << k;
        }
    }
}

TEST(SpectrumModelsTest, NoFallingSignalPassesTheSegmentUnweighted) {
    // Power rising all the way: no negative slope before K reaches M.
    std::vector<double> lp(64);
    for (int k = 0; k < 64; ++k) lp[k] = 1.0 + 0.05 * k;
    const auto m = fitModels(lp, 3);
    EXPECT_EQ(m.cutoff, 64u);
    EXPECT_FALSE(m.hasNoise);
    for (std::uint32_t k = 0; k < 64; ++k) EXPECT_EQ(m.weight(k), 1.0);
    // A rising noise model is dropped: weights 1 as well.
    std::vector<double> kink(64);
    for (int k = 0; k < 64; ++k) kink[k] = k < 10 ? 9.0 - k : 0.1 * k;
    const auto r = fitModels(kink, 5);
    EXPECT_FALSE(r.hasNoise);
    EXPECT_EQ(r.weight(30), 1.0);
}
