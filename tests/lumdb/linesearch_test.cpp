// The line search: maxima, extents, evaluation and position on hand-made series, and whole
// runs on synthetic spectra (one line, recall of isolated lines, a line-free base, the
// filter settings, abort).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "ScriptedRunHost.h"
#include "SyntheticSpectrum.h"
#include "analysis/LineMaxima.h"
#include "analysis/PolynomialFilter.h"
#include "lumdb/lumdb.h"

using lumdb::analysis::Maximum;
using lumdb::analysis::RunState;
using lumdb::analysis::TypicalWidth;

namespace {

std::vector<std::int32_t> maximaOf(const std::vector<float>& ys) {
    lumtest::ScriptedRunHost host;
    RunState run(host);
    lumdb::analysis::MaximaTable maxima;
    EXPECT_TRUE(lumdb::analysis::findMaxima(ys, maxima, run));
    std::vector<std::int32_t> idx;
    for (const auto& m : maxima) idx.push_back(m.index);
    return idx;
}

bool accepted(float h, float left, float right, int extentLeft, int extentRight, float noise,
              TypicalWidth typical) {
    // A series with the maximum in the middle and its two extent ends at the given heights.
    std::vector<float> ys(21, 0.0f);
    ys[10] = h;
    ys[10 - extentLeft] = left;
    ys[10 + extentRight] = right;
    return lumdb::analysis::isLine(ys, Maximum{10, extentRight, extentLeft}, noise, typical);
}

lumbench::SpectrumRecipe recipe(std::size_t n, std::size_t lines, std::uint32_t seed) {
    lumbench::SpectrumRecipe r;
    r.points = n;
    r.xFrom = 200.0;
    r.xTo = 200.0 + 0.02 * static_cast<double>(n - 1);  // 0.02 nm per point
    r.lines = lines;
    r.fwhmMin = 0.04;  // 2 to 5 points
    r.fwhmMax = 0.1;
    r.amplitudeMin = 50.0;
    r.amplitudeMax = 500.0;
    r.noise = 5.0;
    r.base = 500.0;
    r.slope = 0.3;
    r.seed = seed;
    return r;
}

struct SearchResult {
    unsigned char result = 0;
    TPointList smoothed;
    TLineArray lines;
    SLineSearchVal settings;
    lumtest::ScriptedRunHost host;
};

// The noise estimate written out: the spread of the intensities about a straight line fitted
// by least squares to 7 points (the window shifted into the data at both ends), divided by
// n - 1.
double residualSpread(const TPointList& pts) {
    const int n = static_cast<int>(pts.size());
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const int first = std::clamp(i - 3, 0, n - 7);
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (int k = first; k < first + 7; ++k) {
            sx += k;
            sy += pts[k].y;
            sxx += double(k) * k;
            sxy += double(k) * pts[k].y;
        }
        const double slope = (7 * sxy - sx * sy) / (7 * sxx - sx * sx);
        const double fitted = (sy - slope * sx) / 7 + slope * i;
        sum += (pts[i].y - fitted) * (pts[i].y - fitted);
    }
    return std::sqrt(sum / (n - 1));
}

void search(SearchResult& r, const TPointList& pts) {
    r.result = LineSearch(r.host, pts, r.smoothed, r.lines, &r.settings);
}

}  // namespace

TEST(LineMaxima, EveryMaximumOnceAtTheStartOfAFlatTop) {
    std::ifstream in(std::string(LUMORA_TEST_DATA) + "/lumdb/data/line_maxima.txt");
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const auto arrow = line.find("->");
        std::istringstream ys(line.substr(0, arrow)), want(line.substr(arrow + 2));
        const std::vector<float> series{std::istream_iterator<float>(ys), {}};
        const std::vector<std::int32_t> expected{std::istream_iterator<std::int32_t>(want), {}};
        EXPECT_EQ(maximaOf(series), expected) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 8);
}

TEST(LineMaxima, ScanAgreesWithTheStepwiseWalkOnNoisyAndStairCaseData) {
    // Random data with many ties (small integers, as counts from a detector give) and
    // smooth noisy data: the scan must find the same maxima with the same extents as the
    // point-by-point walk.
    lumbench::SyntheticRandom rnd(21);
    for (int levels : {2, 3, 5, 1000000}) {
        std::vector<float> ys(20000);
        for (auto& v : ys) v = static_cast<float>(static_cast<int>(rnd.uniform() * levels));
        lumtest::ScriptedRunHost host;
        RunState run(host);
        lumdb::analysis::MaximaTable fast, stepwise;
        ASSERT_TRUE(lumdb::analysis::findMaxima(ys, fast, run));
        lumdb::analysis::findMaximaStepwise(ys, stepwise);
        ASSERT_EQ(fast.size(), stepwise.size()) << levels;
        for (std::size_t k = 0; k < fast.size(); ++k) {
            ASSERT_EQ(fast[k].index, stepwise[k].index) << levels << " " << k;
            ASSERT_EQ(fast[k].right, stepwise[k].right) << levels << " " << k;
            ASSERT_EQ(fast[k].left, stepwise[k].left) << levels << " " << k;
        }
        EXPECT_GT(fast.size(), 1000u);
    }
    // A NaN makes no comparison true; the walk handles it, the scan is not used.
    const std::vector<float> withNaN{0, 2, NAN, 1, 3, 0};
    lumtest::ScriptedRunHost host;
    RunState run(host);
    lumdb::analysis::MaximaTable a, b;
    ASSERT_TRUE(lumdb::analysis::findMaxima(withNaN, a, run));
    lumdb::analysis::findMaximaStepwise(withNaN, b);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) EXPECT_EQ(a[k].index, b[k].index);
}

TEST(LineMaxima, ExtentsRunThroughFlatsAndTypicalWidthsAverageTheClearMaxima) {
    lumtest::ScriptedRunHost host;
    RunState run(host);
    const std::vector<float> ys{0, 1, 3, 3, 2, 2, 1, 5, 0, 0.5f, 0.4f};
    lumdb::analysis::MaximaTable maxima;
    ASSERT_TRUE(lumdb::analysis::findMaxima(ys, maxima, run));
    ASSERT_EQ(maxima.size(), 3u);  // 2, 7, 9
    TypicalWidth typical;
    ASSERT_TRUE(lumdb::analysis::typicalWidth(ys, maxima, 0.4f, typical, run));
    EXPECT_EQ(maxima[0].index, 2);
    EXPECT_EQ(maxima[0].right, 4);  // 3, 2, 2, 1
    EXPECT_EQ(maxima[0].left, 2);
    EXPECT_EQ(maxima[1].right, 1);
    EXPECT_EQ(maxima[1].left, 1);
    EXPECT_EQ(maxima[2].right, 1);  // 0.5 -> 0.4, the end of the data
    EXPECT_EQ(maxima[2].left, 1);
    // Typical: drops above 0.8 on both sides, that is the first two; rights 4 + 1, lefts
    // 2 + 1, averaged with integer division.
    EXPECT_EQ(typical.right, 2);
    EXPECT_EQ(typical.left, 1);
    EXPECT_EQ(typical.width, 3);
    // No typical maximum at all: zeros.
    ASSERT_TRUE(lumdb::analysis::typicalWidth(ys, maxima, 10.0f, typical, run));
    EXPECT_EQ(typical.width, 0);
    EXPECT_EQ(typical.right, 0);
}

TEST(LineEvaluation, FiveAcceptanceRulesWithStrictLimits) {
    std::ifstream in(std::string(LUMORA_TEST_DATA) + "/lumdb/data/line_acceptance.tsv");
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        float left, right;
        int extentLeft, extentRight;
        TypicalWidth typical;
        bool isLine;
        row >> left >> right >> extentLeft >> extentRight >> typical.right >> typical.left >>
            typical.width >> isLine;
        EXPECT_EQ(accepted(10, left, right, extentLeft, extentRight, 1, typical), isLine) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 13);
}

namespace {
std::int32_t linePosition(const std::vector<float>& heights, const Maximum& m) {
    return lumdb::analysis::linePosition([&](std::int32_t k) { return heights[k]; }, m);
}
}  // namespace

TEST(LineEvaluation, PositionIsTheHighestUnsmoothedPointNearestTheMaximum) {
    // Equal heights at distance 2 and 1: the nearer one.
    EXPECT_EQ(linePosition(std::vector<float>{0, 5, 1, 4, 5, 0}, Maximum{3, 2, 3}), 4);
    // Equal heights at equal distance: the first one met.
    EXPECT_EQ(linePosition(std::vector<float>{0, 5, 1, 5, 0, 0}, Maximum{2, 3, 2}), 1);
    // The right end of the extent is not looked at.
    EXPECT_EQ(linePosition(std::vector<float>{0, 1, 0, 9}, Maximum{1, 2, 1}), 1);
    // The left end is.
    EXPECT_EQ(linePosition(std::vector<float>{9, 1, 0, 0}, Maximum{1, 2, 1}), 0);
}

TEST(LineSearchRun, OneGaussianOnANoisyBaseGivesOneLineAtItsHighestPoint) {
    TPointList pts;
    lumbench::SyntheticRandom rnd(17);
    for (int i = 0; i < 400; ++i) {
        const double d = (i - 203.3) / 3.0;
        pts.push_back(
            {300.0f + 0.01f * i,
             static_cast<float>(100.0 + 400.0 * std::exp(-0.5 * d * d) + 4.0 * rnd.normal())});
    }
    SearchResult r;
    search(r, pts);
    ASSERT_EQ(r.result, 1);
    ASSERT_EQ(r.lines.size(), 1u);
    int highest = 190;
    for (int i = 190; i < 217; ++i)
        if (pts[i].y > pts[highest].y) highest = i;
    EXPECT_EQ(r.lines[0].x, pts[highest].x);
    EXPECT_EQ(r.lines[0].y, pts[highest].y);
    EXPECT_TRUE(r.lines[0].candidateLabels.empty());
    EXPECT_TRUE(r.lines[0].speciesLabels.empty());
    // No filter selected: the smoothed list stays empty, the noise estimate is written.
    EXPECT_TRUE(r.smoothed.empty());
    EXPECT_NEAR(r.settings.NoiseValue, residualSpread(pts), 1e-3 * residualSpread(pts));
    EXPECT_EQ(r.host.parentDisabled, 0);
    EXPECT_EQ(r.host.statusOpen, 0);
}

TEST(LineSearchRun, LineAtTheLastPointIsNotFound) {
    TPointList pts;
    for (int i = 0; i < 100; ++i) {
        const double d = (i - 99) / 3.0;
        pts.push_back({static_cast<float>(i),
                       static_cast<float>(10.0 + 500.0 * std::exp(-0.5 * d * d) + (i % 3) * 0.5)});
    }
    SearchResult r;
    search(r, pts);
    ASSERT_EQ(r.result, 1);
    for (const auto& line : r.lines) EXPECT_LT(line.x, 90.0f);
}

TEST(LineSearchRun, NoiseEstimateOfWhiteNoiseAndAGivenNoiseValue) {
    // Residual of a 7-point straight-line fit: y - mean of 7 has variance 6/7 sigma^2, and
    // the straight line takes the sloped base out exactly.
    const auto s = lumbench::makeSpectrum(recipe(100000, 0, 3));
    SearchResult r;
    search(r, s.points);
    EXPECT_NEAR(r.settings.NoiseValue, 5.0 * std::sqrt(6.0 / 7.0), 0.02 * 5.0);
    // Given by the user: used as it is and not overwritten; a huge value accepts nothing.
    SearchResult given;
    given.settings.Noise = true;
    given.settings.NoiseValue = 1.0e6f;
    search(given, s.points);
    EXPECT_EQ(given.settings.NoiseValue, 1.0e6f);
    EXPECT_TRUE(given.lines.empty());
}

TEST(LineSearchRun, IsolatedLinesAreFoundWithinOneSample) {
    // Lines 2 to 5 points wide, 10 to 100 times the noise. A line counts when its peak is at
    // least 10 times the noise the search measured and no other line lies within 5 widths.
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        const auto s = lumbench::makeSpectrum(recipe(40000, 100, seed));
        SearchResult r;
        search(r, s.points);
        ASSERT_EQ(r.result, 1);
        const double noise = r.settings.NoiseValue;
        int checked = 0;
        for (std::size_t i = 0; i < s.lines.size(); ++i) {
            const auto& line = s.lines[i];
            bool isolated = line.amplitude >= 10.0 * noise;
            for (std::size_t j = 0; j < s.lines.size() && isolated; ++j)
                if (j != i && std::fabs(s.lines[j].center - line.center) <=
                                  5.0 * std::max(line.fwhm, s.lines[j].fwhm))
                    isolated = false;
            if (!isolated) continue;
            ++checked;
            bool found = false;
            for (const auto& l : r.lines)
                found = found || std::fabs(l.x - line.center) <= 0.02 * 1.001;
            EXPECT_TRUE(found) << "seed " << seed << " line at " << line.center << " amplitude "
                               << line.amplitude << " width " << line.fwhm;
        }
        EXPECT_GT(checked, 40);
        // Lines come out sorted by x.
        for (std::size_t k = 1; k < r.lines.size(); ++k) EXPECT_LE(r.lines[k - 1].x, r.lines[k].x);
    }
}

TEST(LineSearchRun, LineFreeNoisyBaseGivesFewFalseLines) {
    // 40000 points of white noise on a sloped base, no lines. With few clear maxima the
    // typical extents are short, so rules 4 and 5 let the odd noise maximum through whose
    // extents reach them: a few per thousand points. This generator and seed give 136.
    const auto s = lumbench::makeSpectrum(recipe(40000, 0, 1));
    SearchResult r;
    search(r, s.points);
    ASSERT_EQ(r.result, 1);
    EXPECT_EQ(r.lines.size(), 136u);
}

TEST(LineSearchRun, FilterSettingsDecideWhatTheSmoothedListHolds) {
    const auto s = lumbench::makeSpectrum(recipe(6000, 20, 9));
    // The polynomial filter alone and after the Wiener-Fourier filter: the list is
    // SmoothData's result with the same settings.
    for (bool wiener : {false, true}) {
        SearchResult r;
        r.settings.FTFilter = wiener;
        r.settings.SGFilter = true;
        r.settings.PolynomOrder = 2;
        r.settings.FilterWidth = 9;
        SLineSearchVal settings = r.settings;
        search(r, s.points);
        ASSERT_EQ(r.result, 1);
        lumtest::ScriptedRunHost host;
        TPointList expected;
        ASSERT_EQ(SmoothData(host, s.points, expected, &settings), 1);
        EXPECT_EQ(r.smoothed, expected) << wiener;
        EXPECT_FALSE(r.lines.empty());
    }
    // Wiener-Fourier filter only: the list is the filter's result, but the maxima are looked
    // for on it smoothed once more by a straight line over wc = M / K points.
    {
        SearchResult r;
        r.settings.FTFilter = true;
        r.settings.SetFTValues = true;
        search(r, s.points);
        ASSERT_EQ(r.result, 1);
        lumtest::ScriptedRunHost host;
        SLineSearchVal settings;
        settings.FTFilter = true;
        TPointList expected;
        ASSERT_EQ(SmoothData(host, s.points, expected, &settings), 1);
        EXPECT_EQ(r.smoothed, expected);
        EXPECT_EQ(r.settings.FreqNumber, 512);

        // The search by hand on the once-more smoothed data.
        std::vector<float> ys, yo;
        for (std::size_t i = 0; i < expected.size(); ++i)
            ys.push_back(expected[expected.size() - 1 - i].y);
        for (const auto& p : s.points) yo.push_back(p.y);
        int wc = std::max(5, 512 / r.settings.FreqCutoff);
        wc = std::min(wc, 512 / 5);
        if (wc % 2 == 0) ++wc;
        lumtest::ScriptedRunHost h2;
        RunState run(h2);
        ASSERT_TRUE(lumdb::analysis::polynomialFilter(ys, 1, wc, run));
        lumdb::analysis::MaximaTable maxima;
        TypicalWidth typical;
        ASSERT_TRUE(lumdb::analysis::findMaxima(ys, maxima, run));
        ASSERT_TRUE(lumdb::analysis::typicalWidth(ys, maxima, r.settings.NoiseValue, typical, run));
        std::vector<float> xs;
        for (const auto& m : maxima)
            if (lumdb::analysis::isLine(ys, m, r.settings.NoiseValue, typical))
                xs.push_back(s.points[linePosition(yo, m)].x);
        ASSERT_EQ(r.lines.size(), xs.size());
        for (std::size_t k = 0; k < xs.size(); ++k) EXPECT_EQ(r.lines[k].x, xs[k]);
    }
}

TEST(LineSearchRun, PhasesAndTheirCaptions) {
    const auto s = lumbench::makeSpectrum(recipe(3000, 10, 5));
    SearchResult r;
    search(r, s.points);
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
}

TEST(LineSearchRun, TooFewZoomedPointsAndAbort) {
    const auto s = lumbench::makeSpectrum(recipe(3000, 10, 5));
    {
        SearchResult r;
        r.settings.ZoomData = true;
        r.settings.zoomFrom = 210.0f;
        r.settings.zoomTo = 210.13f;  // 7 points at 0.02 nm
        search(r, s.points);
        EXPECT_EQ(r.result, 0);
        ASSERT_EQ(r.host.messages.size(), 1u);
        EXPECT_EQ(r.host.messages[0].text,
                  "Abbruch Liniensuche:\nZur Liniensuche sind mindestens 8 Datenpunkte notwendig!");
        EXPECT_EQ(r.host.messages[0].caption, "Liniensuche");
        EXPECT_TRUE(r.lines.empty());
    }
    // A complete run, then the same run aborted at its last pump (in the evaluation):
    // result 0, no smoothed data, the lines accepted so far kept.
    const auto big = lumbench::makeSpectrum(recipe(200000, 600, 6));
    SearchResult full, cut;
    for (SearchResult* r : {&full, &cut}) {
        r->settings.SGFilter = true;
        r->settings.PolynomOrder = 2;
        r->settings.FilterWidth = 7;
    }
    search(full, big.points);
    ASSERT_EQ(full.result, 1);
    cut.host.abortAfterPumps = full.host.pumps;
    cut.lines.add(CLine(1.0f, 1.0f));  // lines of the caller stay
    search(cut, big.points);
    EXPECT_EQ(cut.result, 0);
    EXPECT_TRUE(cut.smoothed.empty());
    EXPECT_EQ(cut.host.refreshes.back().phase, "Linienbewertung");
    EXPECT_GT(cut.lines.size(), 1u);
    EXPECT_LE(cut.lines.size(), full.lines.size() + 1);
    EXPECT_EQ(cut.lines[0].x, 1.0f);
    EXPECT_EQ(cut.host.parentDisabled, 0);
    EXPECT_EQ(cut.host.statusOpen, 0);
}
