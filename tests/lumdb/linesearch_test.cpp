// The line search: maxima, extents, evaluation and position on hand-made series, and whole
// runs on synthetic spectra (one line, recall of isolated lines, a line-free base, the
// filter settings, abort).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <sstream>
#include <tuple>
#include <vector>

#include "DataRows.h"
#include "ScriptedRunHost.h"
#include "SyntheticSpectrum.h"
#include "analysis/LineMaxima.h"
#include "analysis/PolynomialFilter.h"
#include "lumdb/lumdb.h"

using namespace lumdb::analysis;

namespace {

std::int32_t position(const std::vector<float>& heights, const Maximum& m) {
    return linePosition([&](std::int32_t k) { return heights[k]; }, m);
}

// Index, right and left extent of every maximum.
std::vector<std::array<std::int32_t, 3>> rows(const MaximaTable& maxima) {
    std::vector<std::array<std::int32_t, 3>> r;
    for (const auto& m : maxima) r.push_back({m.index, m.right, m.left});
    return r;
}

MaximaTable maximaOf(const std::vector<float>& ys) {
    lumtest::ScriptedRunHost host;
    RunState run(host);
    MaximaTable maxima;
    EXPECT_TRUE(findMaxima(ys, maxima, run));
    return maxima;
}

lumbench::SyntheticSpectrum spectrum(std::size_t n, std::size_t lines, std::uint32_t seed) {
    // 0.02 nm per point, lines 2 to 5 points wide and 10 to 100 times the noise.
    lumbench::SpectrumRecipe r{.points = n, .slope = 0.3, .lines = lines, .fwhmMin = 0.04};
    r.xTo = 200.0 + 0.02 * static_cast<double>(n - 1);
    r.amplitudeMax = 500.0;
    r.seed = seed;
    return lumbench::makeSpectrum(r);
}

struct SearchResult {
    unsigned char result = 0;
    TPointList smoothed;
    TLineArray lines;
    SLineSearchVal settings;
    lumtest::ScriptedRunHost host;
    void search(const TPointList& pts) {
        result = LineSearch(host, pts, smoothed, lines, &settings);
    }
};

// The noise estimate written out: the spread of the intensities about a straight line fitted
// by least squares to 7 points (the window shifted into the data at both ends), over n - 1.
double residualSpread(const TPointList& pts) {
    const int n = static_cast<int>(pts.size());
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const int first = std::clamp(i - 3, 0, n - 7);
        double sy = 0, sky = 0;  // about the window's middle k = first + 3
        for (int k = -3; k <= 3; ++k) {
            sy += pts[first + 3 + k].y;
            sky += k * pts[first + 3 + k].y;
        }
        const double fitted = sy / 7 + sky / 28 * (i - first - 3);
        sum += (pts[i].y - fitted) * (pts[i].y - fitted);
    }
    return std::sqrt(sum / (n - 1));
}

}  // namespace

TEST(LineMaxima, EveryMaximumOnceAtTheStartOfAFlatTop) {
    const auto lines = lumtest::dataRows("line_maxima.txt");
    ASSERT_EQ(lines.size(), 8u);
    for (const std::string& line : lines) {
        const auto arrow = line.find("->");
        std::istringstream ys(line.substr(0, arrow)), want(line.substr(arrow + 2));
        std::vector<std::int32_t> got;
        for (const auto& m : maximaOf({std::istream_iterator<float>(ys), {}}))
            got.push_back(m.index);
        EXPECT_EQ(got, (std::vector<std::int32_t>{std::istream_iterator<std::int32_t>(want), {}}))
            << line;
    }
}

TEST(LineMaxima, ScanAgreesWithTheStepwiseWalkOnNoisyAndStairCaseData) {
    // Random data with many ties (small integers, as counts from a detector give) and
    // smooth noisy data: the scan must find the same maxima with the same extents as the
    // point-by-point walk. A NaN makes no comparison true; the walk handles it.
    lumbench::SyntheticRandom rnd(21);
    for (int levels : {2, 3, 5, 1000000, 0}) {
        std::vector<float> ys(levels ? 20000 : 6);
        for (auto& v : ys) v = static_cast<float>(static_cast<int>(rnd.uniform() * levels));
        if (!levels) ys = {0, 2, NAN, 1, 3, 0};
        MaximaTable stepwise;
        findMaximaStepwise(ys, stepwise);
        EXPECT_EQ(rows(maximaOf(ys)), rows(stepwise)) << levels;
        EXPECT_GT(stepwise.size(), levels ? 1000u : 0u);
    }
}

TEST(LineMaxima, ExtentsRunThroughFlatsAndTypicalWidthsAverageTheClearMaxima) {
    lumtest::ScriptedRunHost host;
    RunState run(host);
    const std::vector<float> ys{0, 1, 3, 3, 2, 2, 1, 5, 0, 0.5f, 0.4f};
    const MaximaTable maxima = maximaOf(ys);
    // Right of 2 over 3, 2, 2, 1; the last one ends at the end of the data.
    EXPECT_EQ(rows(maxima),
              (std::vector<std::array<std::int32_t, 3>>{{2, 4, 2}, {7, 1, 1}, {9, 1, 1}}));
    // Typical: drops above 0.8 on both sides, that is the first two; rights 4 + 1, lefts
    // 2 + 1, averaged with integer division. No typical maximum at all: zeros.
    TypicalWidth typical;
    ASSERT_TRUE(typicalWidth(ys, maxima, 0.4f, typical, run));
    EXPECT_EQ(std::tie(typical.right, typical.left, typical.width), std::make_tuple(2, 1, 3));
    ASSERT_TRUE(typicalWidth(ys, maxima, 10.0f, typical, run));
    EXPECT_EQ(std::tie(typical.right, typical.left, typical.width), std::make_tuple(0, 0, 0));
}

TEST(LineEvaluation, FiveAcceptanceRulesWithStrictLimits) {
    const auto lines = lumtest::dataRows("line_acceptance.tsv");
    ASSERT_EQ(lines.size(), 13u);
    for (const std::string& line : lines) {
        std::istringstream row(line);
        float left, right;
        int extentLeft, extentRight;
        TypicalWidth typical;
        bool isLine;
        row >> left >> right >> extentLeft >> extentRight >> typical.right >> typical.left >>
            typical.width >> isLine;
        // A series with the maximum 10 in the middle and its two extent ends at the heights.
        std::vector<float> ys(21, 0.0f);
        ys[10] = 10;
        ys[10 - extentLeft] = left;
        ys[10 + extentRight] = right;
        EXPECT_EQ(lumdb::analysis::isLine(ys, Maximum{10, extentRight, extentLeft}, 1, typical),
                  isLine)
            << line;
    }
}

TEST(LineEvaluation, PositionIsTheHighestUnsmoothedPointNearestTheMaximum) {
    // Equal heights at distance 2 and 1: the nearer one; at equal distance: the first one
    // met. The right end of the extent is not looked at, the left end is.
    EXPECT_EQ(position({0, 5, 1, 4, 5, 0}, Maximum{3, 2, 3}), 4);
    EXPECT_EQ(position({0, 5, 1, 5, 0, 0}, Maximum{2, 3, 2}), 1);
    EXPECT_EQ(position({0, 1, 0, 9}, Maximum{1, 2, 1}), 1);
    EXPECT_EQ(position({9, 1, 0, 0}, Maximum{1, 2, 1}), 0);
}

TEST(LineSearchRun, OneGaussianTheNoiseEstimateAGivenNoiseAndALineAtTheLastPoint) {
    TPointList pts, atEnd;
    lumbench::SyntheticRandom rnd(17);
    for (int i = 0; i < 400; ++i) {
        const double d = (i - 203.3) / 3.0, e = (i - 399) / 3.0;
        pts.push_back({300.0f + 0.01f * i,
                       static_cast<float>(100 + 400 * std::exp(-0.5 * d * d) + 4 * rnd.normal())});
        atEnd.push_back({static_cast<float>(i),
                         static_cast<float>(10 + 500 * std::exp(-0.5 * e * e) + (i % 3) * 0.5)});
    }
    SearchResult r;
    r.search(pts);
    ASSERT_EQ(r.result, 1);
    ASSERT_EQ(r.lines.size(), 1u);
    const auto highest = std::max_element(pts.begin() + 190, pts.begin() + 217,
                                          [](auto& a, auto& b) { return a.y < b.y; });
    EXPECT_EQ(r.lines[0].x, highest->x);
    EXPECT_EQ(r.lines[0].y, highest->y);
    // No filter selected: the smoothed list stays empty, the noise estimate is written.
    EXPECT_TRUE(r.smoothed.empty());
    EXPECT_NEAR(r.settings.NoiseValue, residualSpread(pts), 1e-3 * residualSpread(pts));
    EXPECT_EQ(r.host.parentDisabled + r.host.statusOpen, 0);
    // A noise value given by the user is used as it is and not overwritten; a huge one
    // accepts nothing.
    SearchResult given;
    given.settings = {.Noise = true, .NoiseValue = 1.0e6f};
    given.search(pts);
    EXPECT_EQ(given.settings.NoiseValue, 1.0e6f);
    EXPECT_TRUE(given.lines.empty());
    SearchResult end;
    end.search(atEnd);
    ASSERT_EQ(end.result, 1);
    for (const auto& line : end.lines) EXPECT_LT(line.x, 390.0f);
}

TEST(LineSearchRun, IsolatedLinesAreFoundWithinOneSampleAndALineFreeBaseGivesFewLines) {
    // A line counts when its peak is at least 10 times the noise the search measured and no
    // other line lies within 5 widths.
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        const auto s = spectrum(40000, 100, seed);
        SearchResult r;
        r.search(s.points);
        ASSERT_EQ(r.result, 1);
        int checked = 0;
        for (const auto& line : s.lines) {
            bool isolated = line.amplitude >= 10.0 * r.settings.NoiseValue;
            for (const auto& other : s.lines)
                isolated &= &other == &line || std::fabs(other.center - line.center) >
                                                   5.0 * std::max(line.fwhm, other.fwhm);
            if (!isolated) continue;
            ++checked;
            EXPECT_TRUE(std::any_of(
                r.lines.begin(), r.lines.end(),
                [&](const CLine& l) { return std::fabs(l.x - line.center) <= 0.02 * 1.001; }))
                << "seed " << seed << " line at " << line.center;
        }
        EXPECT_GT(checked, 40);
        EXPECT_TRUE(std::is_sorted(r.lines.begin(), r.lines.end(),
                                   [](auto& a, auto& b) { return a.x < b.x; }));
    }
    // White noise on a sloped base, no lines. With few clear maxima the typical extents are
    // short, so rules 4 and 5 let the odd noise maximum through whose extents reach them: a
    // few per thousand points. This generator and seed give 136.
    SearchResult r;
    r.search(spectrum(40000, 0, 1).points);
    ASSERT_EQ(r.result, 1);
    EXPECT_EQ(r.lines.size(), 136u);
}

TEST(LineSearchRun, FilterSettingsDecideWhatTheSmoothedListHolds) {
    const auto s = spectrum(6000, 20, 9);
    // The polynomial filter alone and after the Wiener-Fourier filter, and the Wiener-Fourier
    // filter alone with automatic values: the list is SmoothData's result with the same
    // settings.
    for (int filters : {1, 3, 2}) {
        SearchResult r;
        r.settings = {.SGFilter = filters != 2, .PolynomOrder = 2, .FilterWidth = 9};
        r.settings.FTFilter = filters != 1;
        r.settings.SetFTValues = filters == 2;
        SLineSearchVal settings = r.settings;
        r.search(s.points);
        ASSERT_EQ(r.result, 1);
        lumtest::ScriptedRunHost host;
        TPointList expected;
        ASSERT_EQ(SmoothData(host, s.points, expected, &settings), 1);
        EXPECT_EQ(r.smoothed, expected) << filters;
        EXPECT_FALSE(r.lines.empty());
        if (filters != 2) continue;
        // Wiener-Fourier only: the maxima are looked for on the list smoothed once more by a
        // straight line over wc = M / K points. That search by hand:
        EXPECT_EQ(r.settings.FreqNumber, 512);
        std::vector<float> ys, yo;
        for (auto p = expected.rbegin(); p != expected.rend(); ++p) ys.push_back(p->y);
        for (const auto& p : s.points) yo.push_back(p.y);
        const int wc = std::min(std::max(5, 512 / r.settings.FreqCutoff), 512 / 5) | 1;
        RunState run(host);
        MaximaTable maxima;
        TypicalWidth typical;
        ASSERT_TRUE(polynomialFilter(ys, 1, wc, run) && findMaxima(ys, maxima, run) &&
                    typicalWidth(ys, maxima, r.settings.NoiseValue, typical, run));
        std::vector<float> xs, got;
        for (const auto& m : maxima)
            if (isLine(ys, m, r.settings.NoiseValue, typical))
                xs.push_back(s.points[position(yo, m)].x);
        for (const auto& l : r.lines) got.push_back(l.x);
        EXPECT_EQ(got, xs);
    }
}

TEST(LineSearchRun, PhasesTheirCaptionsAndTooFewZoomedPoints) {
    SearchResult r;
    r.search(spectrum(3000, 10, 5).points);
    std::vector<std::string> phases;
    for (const auto& f : r.host.refreshes) phases.push_back(f.process + "/" + f.phase);
    const std::vector<std::string> expected{
        "Datenbewertung/Rauschen",    "Liniensuche/Maxima/Minima", "Liniensuche/Linienbreiten",
        "Liniensuche/Glättung",       "Liniensuche/Maxima/Minima", "Liniensuche/Linienbreiten",
        "Liniensuche/Linienbewertung"};
    EXPECT_EQ(phases, expected);
    // The maxima phase keeps the range the phase before it left.
    EXPECT_EQ(r.host.refreshes[1].upper, 2999);
    EXPECT_EQ(r.host.refreshes[6].upper, r.host.refreshes[5].upper);
    // Too few points in the zoomed range.
    SearchResult zoomed;
    zoomed.settings = {.ZoomData = true, .zoomFrom = 210.0f, .zoomTo = 210.13f};  // 7 points
    zoomed.search(spectrum(3000, 10, 5).points);
    EXPECT_EQ(zoomed.result, 0);
    ASSERT_EQ(zoomed.host.messages.size(), 1u);
    EXPECT_EQ(zoomed.host.messages[0].text,
              "Abbruch Liniensuche:\nZur Liniensuche sind mindestens 8 Datenpunkte notwendig!");
    EXPECT_EQ(zoomed.host.messages[0].caption, "Liniensuche");
    EXPECT_TRUE(zoomed.lines.empty());
}

TEST(LineSearchRun, AbortKeepsTheLinesAcceptedSoFar) {
    // A complete run, then the same run aborted at its last pump (in the evaluation):
    // result 0, no smoothed data, the lines accepted so far kept.
    const auto big = spectrum(200000, 600, 6);
    SearchResult full, cut;
    full.settings = cut.settings = {.SGFilter = true, .PolynomOrder = 2, .FilterWidth = 7};
    full.search(big.points);
    ASSERT_EQ(full.result, 1);
    cut.host.abortAfterPumps = full.host.pumps;
    cut.lines.add(CLine(1.0f, 1.0f));  // lines of the caller stay
    cut.search(big.points);
    EXPECT_EQ(cut.result, 0);
    EXPECT_TRUE(cut.smoothed.empty());
    EXPECT_EQ(cut.host.refreshes.back().phase, "Linienbewertung");
    EXPECT_GT(cut.lines.size(), 1u);
    EXPECT_LE(cut.lines.size(), full.lines.size() + 1);
    EXPECT_EQ(cut.lines[0].x, 1.0f);
    EXPECT_EQ(cut.host.parentDisabled + cut.host.statusOpen, 0);
}
