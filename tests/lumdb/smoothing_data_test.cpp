// Smoothing: the polynomial (Savitzky-Golay) filter's weights against hand-derived sets, its
// failures, edges and run host steps; SmoothData's point selection, filter order, output
// order, failure messages, settings written back and the run host's dialog and abort.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <numeric>
#include <sstream>
#include <tuple>
#include <vector>

#include "DataRows.h"
#include "ScriptedRunHost.h"
#include "SyntheticSpectrum.h"
#include "analysis/PolynomialFilter.h"
#include "analysis/WienerFourierFilter.h"
#include "lumdb/lumdb.h"

using namespace lumdb::analysis;

namespace {

TPointList ramp(int n, float x0, float dx) {
    TPointList pts;
    for (int i = 0; i < n; ++i)
        pts.push_back({x0 + dx * static_cast<float>(i), 10.0f + static_cast<float>((i * 7) % 5)});
    return pts;
}

TPointList spectrum(std::size_t n) {
    lumbench::SpectrumRecipe r{
        .points = n, .xFrom = 400.0, .noise = 6.0, .lines = n / 80, .seed = 4};
    r.xTo = 400.0 + 0.01 * static_cast<double>(n - 1);
    return lumbench::makeSpectrum(r).points;
}

// Settings with the polynomial filter of the given order and width.
SLineSearchVal polynomial(int order, int width) {
    return {.SGFilter = true, .PolynomOrder = order, .FilterWidth = width};
}

// The run host is left as it was found: parent enabled again, progress dialog closed.
void expectHostRestored(const lumtest::ScriptedRunHost& host) {
    EXPECT_TRUE(host.parentEverDisabled);
    EXPECT_EQ(host.parentDisabled, 0);
    EXPECT_EQ(host.statusOpen, 0);
}

// A failed run: result 0, the output emptied, one stop message of smoothing with the text.
void expectFailure(const TPointList& pts, SLineSearchVal s, const std::string& text) {
    lumtest::ScriptedRunHost host;
    TPointList out{{1, 1}};
    EXPECT_EQ(SmoothData(host, pts, out, &s), 0);
    EXPECT_TRUE(out.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Abbruch Datenglättung:\n" + text);
    EXPECT_EQ(host.messages[0].caption, "Datenglättung");
    EXPECT_EQ(host.messages[0].icon, lumdb::Icon::Stop);
    EXPECT_EQ(host.messages[0].buttons, lumdb::Buttons::Ok);
    EXPECT_TRUE(host.messages[0].owned);
    expectHostRestored(host);
}

}  // namespace

TEST(SmoothDataSelection, ZoomedRangeNeedsEightPointsAndFilterFailuresAbort) {
    const TPointList pts = ramp(30, 0.0f, 1.0f);
    // x = 10 ... 16: seven points.
    SLineSearchVal s{.SGFilter = true,
                     .PolynomOrder = 2,
                     .FilterWidth = 5,
                     .ZoomData = true,
                     .zoomFrom = 10.0f,
                     .zoomTo = 16.0f};
    expectFailure(pts, s, "Zur Datenglättung sind mindestens 8 Datenpunkte notwendig!");
    lumtest::ScriptedRunHost eight;
    s.zoomTo = 17.0f;
    TPointList out;
    EXPECT_EQ(SmoothData(eight, pts, out, &s), 1);
    EXPECT_EQ(out.size(), 8u);
    EXPECT_TRUE(eight.messages.empty());
    // The polynomial filter's failure and its overflow.
    expectFailure(spectrum(500), polynomial(5, 5),
                  "Es ist ein Fehler in der Polynom-Filterroutine aufgetreten!");
    expectFailure(spectrum(500), polynomial(12, 101),
                  "In der Polynom-Filterroutine ist ein Overflow aufgetreten.\n"
                  "Verkleinern Sie Filterbreite oder den Polynomgrad!");
}

TEST(SmoothDataSelection, WithoutZoomAnyLengthIsSmoothedAndReturnedReversed) {
    for (int n : {0, 1, 3, 7}) {
        lumtest::ScriptedRunHost host;
        const TPointList pts = ramp(n, 5.0f, 0.5f);
        SLineSearchVal s{.FTFilter = true, .SGFilter = true, .PolynomOrder = 2, .FilterWidth = 5};
        TPointList out;
        EXPECT_EQ(SmoothData(host, pts, out, &s), 1) << n;
        EXPECT_TRUE(host.messages.empty());
        ASSERT_EQ(out.size(), pts.size());
        for (int i = 0; i < n; ++i) EXPECT_EQ(out[n - 1 - i].x, pts[i].x);
    }
}

TEST(SmoothDataSelection, RisingAndFallingXTakeTheRangeInListOrder) {
    SLineSearchVal s{.ZoomData = true, .zoomFrom = 3.0f, .zoomTo = 12.0f};
    // Rising x, with a later point back inside the range: selection ends at the first point
    // past zoomTo. Falling x: from zoomTo down to zoomFrom, the last one taken first.
    TPointList rising = ramp(20, 0.0f, 1.0f), falling = ramp(20, 19.0f, -1.0f);
    rising.push_back({5.0f, 99.0f});
    for (const auto& [pts, last] : {std::pair{rising, 12}, std::pair{falling, 16}}) {
        lumtest::ScriptedRunHost host;
        TPointList out;
        ASSERT_EQ(SmoothData(host, pts, out, &s), 1);
        ASSERT_EQ(out.size(), 10u);  // 3 ... 12
        for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], pts[last - i]);
    }
}

TEST(SmoothDataFilters, BothFiltersSmoothInOrderWienerFourierFirst) {
    const TPointList pts = spectrum(3000);
    lumtest::ScriptedRunHost host;
    SLineSearchVal s{.FTFilter = true, .SGFilter = true, .PolynomOrder = 3, .FilterWidth = 11};
    TPointList out;
    ASSERT_EQ(SmoothData(host, pts, out, &s), 1);

    // The same two filters by hand, Wiener-Fourier first.
    std::vector<float> ys;
    for (const auto& p : pts) ys.push_back(p.y);
    lumtest::ScriptedRunHost other;
    RunState run(other);
    std::int32_t bins = 0, cutoff = 0;
    ASSERT_TRUE(WienerFourierFilter().filter(ys, bins, cutoff, run));
    ASSERT_TRUE(polynomialFilter(ys, 3, 11, run));
    ASSERT_EQ(out.size(), ys.size());
    for (std::size_t i = 0; i < ys.size(); ++i) ASSERT_EQ(out[ys.size() - 1 - i].y, ys[i]) << i;

    // The captions of the two phases, and the polynomial filter's range over all points.
    ASSERT_GE(host.refreshes.size(), 2u);
    const auto& first = host.refreshes.front();
    const auto& last = host.refreshes.back();
    EXPECT_EQ(first.process + "/" + first.phase, "Datenglättung/Wiener-Fourierfilter");
    EXPECT_EQ(last.process + "/" + last.phase, "Datenglättung/Polynomfilter");
    EXPECT_EQ(last.lower, 0);
    EXPECT_EQ(last.upper, 2999);
    expectHostRestored(host);
}

TEST(SmoothDataSettings, SetFTValuesResetsAndReceivesTheAutomaticValues) {
    const TPointList pts = spectrum(5000);
    // Reference: automatic values asked for directly.
    lumtest::ScriptedRunHost a, b, c;
    SLineSearchVal automatic{.FTFilter = true};
    SLineSearchVal s{
        .FTFilter = true, .SetFTValues = true, .FreqNumber = 64, .FreqCutoff = 3, .highCutMode = 7};
    TPointList ref, out;
    ASSERT_EQ(SmoothData(a, pts, ref, &automatic), 1);
    EXPECT_EQ(automatic.FreqNumber, 512);
    EXPECT_GT(automatic.FreqCutoff, 0);
    ASSERT_EQ(SmoothData(b, pts, out, &s), 1);
    EXPECT_EQ(s.FreqNumber, 512);
    EXPECT_EQ(s.FreqCutoff, automatic.FreqCutoff);
    EXPECT_EQ(s.highCutMode, 0);
    EXPECT_EQ(out, ref);
    // A short series: (102 + n rounded down to even) / 2; its last point comes back
    // unchanged (first in the reversed output).
    s.FreqNumber = 64;
    ASSERT_EQ(SmoothData(c, spectrum(333), out, &s), 1);
    EXPECT_EQ(s.FreqNumber, (102 + 332) / 2);
    EXPECT_EQ(out.front(), spectrum(333).back());
}

TEST(SmoothDataAbort, AbortLeavesNoOutputAndNoWrittenBackValues) {
    const TPointList pts = spectrum(100000);
    for (bool wf : {true, false}) {
        lumtest::ScriptedRunHost host;
        host.abortAfterPumps = 5;
        SLineSearchVal s{.FTFilter = wf, .SGFilter = !wf, .PolynomOrder = 2, .FilterWidth = 7};
        TPointList out{{1, 1}};
        EXPECT_EQ(SmoothData(host, pts, out, &s), 0);
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(s.FreqNumber, 0);
        EXPECT_EQ(s.FreqCutoff, 0);
        EXPECT_EQ(host.pumps, 5);  // nothing ran past the pump that reported "Abbruch"
        expectHostRestored(host);
    }
    lumtest::ScriptedRunHost host;
    TPointList out{{1, 1}};
    EXPECT_EQ(SmoothData(host, pts, out, nullptr), 0);
    EXPECT_TRUE(out.empty());
}

TEST(SmoothDataSelection, SameListAsInputAndOutputIsReadBeforeItIsEmptied) {
    const TPointList pts = spectrum(2000);
    SLineSearchVal s = polynomial(2, 7);
    lumtest::ScriptedRunHost a, b, c, d;
    TPointList separate, same = pts, smoothed, both = pts;
    ASSERT_EQ(SmoothData(a, pts, separate, &s), 1);
    ASSERT_EQ(SmoothData(b, same, same, &s), 1);
    EXPECT_EQ(same, separate);
    // The line search likewise.
    TLineArray linesA, linesB;
    ASSERT_EQ(LineSearch(c, pts, smoothed, linesA, &s), 1);
    ASSERT_EQ(LineSearch(d, both, both, linesB, &s), 1);
    EXPECT_EQ(both, smoothed);
    ASSERT_EQ(linesA.size(), linesB.size());
    for (std::size_t k = 0; k < linesA.size(); ++k) EXPECT_EQ(linesA[k].y, linesB[k].y);
}

TEST(PolynomialWeights, MatchHandDerivedSetsOrFailAsTabled) {
    const auto rows = lumtest::dataRows("polynomial_weights.tsv");
    ASSERT_EQ(rows.size(), 15u);
    for (const std::string& line : rows) {
        std::istringstream row(line);
        int width, nl, nr, order;
        std::string rest;
        row >> width >> nl >> nr >> order >> std::ws;
        std::getline(row, rest);
        std::string failure;  // what the run raises, "" when it succeeds
        std::vector<double> got;
        try {
            got = smoothingCoefficients(width, nl, nr, order);
        } catch (const FilterError& e) {
            failure = e.what();
        }
        if (std::isalpha(rest[0]) || rest == "-") {
            EXPECT_EQ(failure, rest == "-" ? "" : rest) << line;
            continue;
        }
        std::istringstream fractions(rest);
        std::vector<double> want;
        for (double num, den; fractions >> num && fractions.ignore(1) && fractions >> den;)
            want.push_back(num / den);
        ASSERT_EQ(got.size(), want.size()) << line;
        // Weights come out of an LU solve in double: a few ulps of the largest entry.
        for (std::size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-12) << line;
    }
}

TEST(PolynomialWeights, ReproduceAnyPolynomialOfTheirOrder) {
    // Whatever the window, the weights read a polynomial of the filter's order exactly at
    // the point: sum c[k + nl] * q(k) = q(0).
    for (int order = 0; order <= 4; ++order)
        for (int nl = 0; nl <= 8; ++nl) {
            const int nr = 8 - nl;
            const auto c = smoothingCoefficients(9, nl, nr, order);
            for (int degree = 0; degree <= order; ++degree) {
                double sum = 0.0;
                for (int k = -nl; k <= nr; ++k) sum += c[k + nl] * std::pow(k + 0.5, degree);
                EXPECT_NEAR(sum, std::pow(0.5, degree), 1e-9)
                    << order << " " << nl << " " << degree;
            }
        }
}

TEST(PolynomialFilter, StraightLineAndQuadraticPassUnchangedEdgesIncluded) {
    // A line through an order-2 window, a quadratic through narrow and wide order-2 windows
    // (a wide quadratic window is no moving mean; only orders 0 and 1 are), a line through an
    // even width (edges with the full width, middle with one point less); a series shorter
    // than the window stays as it is.
    lumtest::ScriptedRunHost host;
    RunState run(host);
    std::vector<float> line(100), quad(100), few{1.0f, 5.0f, 2.0f};
    for (int i = 0; i < 100; ++i) {
        line[i] = 3.0f + 0.5f * i;
        quad[i] = 1.0f + 0.25f * i - 0.01f * i * i;
    }
    const std::tuple<const std::vector<float>&, int, int> cases[] = {
        {line, 2, 5}, {quad, 2, 9}, {quad, 2, 41}, {line, 1, 6}, {few, 2, 5}};
    for (const auto& [ys, order, width] : cases) {
        auto out = ys;
        ASSERT_TRUE(polynomialFilter(out, order, width, run));
        for (std::size_t i = 0; i < ys.size(); ++i)
            EXPECT_NEAR(out[i], ys[i], 2e-4f * (1.0f + std::fabs(ys[i]))) << width << " " << i;
    }
}

TEST(PolynomialFilter, EdgesUseShiftedWindowsAndMiddleTheCentredOne) {
    lumtest::ScriptedRunHost host;
    RunState run(host);
    // A spike at one end of an otherwise zero series: each output is the weight that the
    // window of that point gives to the spike. Near it: 0..4 read at 0, read at 1, centred
    // on 2; the centred window on 3 no longer sees it. Mirrored at the right end.
    for (const bool right : {false, true}) {
        std::vector<float> ys(12, 0.0f);
        const auto at = [&](int k) -> float& { return ys[right ? 11 - k : k]; };
        at(0) = 1.0f;
        ASSERT_TRUE(polynomialFilter(ys, 1, 5, run));
        const float want[] = {0.6f, 0.4f, 0.2f, 0.0f};
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(at(k), want[k], 1e-6f) << right << " " << k;
    }
}

TEST(PolynomialFilter, WideStraightLineWindowIsTheMovingMean) {
    // Wide order-1 windows take a running sum; it must agree with the plain mean.
    lumtest::ScriptedRunHost host;
    RunState run(host);
    std::vector<float> ys(500);
    for (int i = 0; i < 500; ++i) ys[i] = static_cast<float>(std::sin(i * 0.37) * 100.0 + i);
    auto out = ys;
    ASSERT_TRUE(polynomialFilter(out, 1, 41, run));
    for (int i = 20; i < 480; ++i)
        EXPECT_NEAR(out[i], std::accumulate(&ys[i - 20], &ys[i + 21], 0.0) / 41.0, 1e-4) << i;
}

TEST(PolynomialFilter, OneStepPerPointAndAbortLeavesTheDataAlone) {
    lumtest::ScriptedRunHost host, aborting;
    aborting.abortAfterPumps = 3;
    RunState run(host), cut(aborting);
    std::vector<float> ys(100000);
    for (int i = 0; i < 100000; ++i) ys[i] = static_cast<float>(i % 7);
    auto copy = ys;
    ASSERT_TRUE(polynomialFilter(copy, 3, 21, run));
    // The progress reaches the last point, and the dialog was pumped along the way (at most
    // once per block of points).
    EXPECT_EQ(host.position(), 99999);
    EXPECT_GT(host.pumps, 50);
    EXPECT_LE(host.pumps, 100000 / RunState::kProgressBlock + 1 + 2 * 10);
    copy = ys;
    EXPECT_FALSE(polynomialFilter(copy, 3, 21, cut));
    EXPECT_EQ(copy, ys);
    EXPECT_TRUE(cut.aborted());
    // "Abbruch" is noticed at the pump that reports it: nothing runs after it.
    EXPECT_EQ(aborting.pumps, 3);
    EXPECT_LT(aborting.position(), 99999);
}

TEST(RunHostSteps, BlockStepsPumpExactlyLikeSingleSteps) {
    lumtest::ScriptedRunHost single, blocks;
    single.resetAbort();
    blocks.resetAbort();
    int position = 0;
    for (int count : {1, 5, 64, 63, 2, 17, 64, 64, 30, 1, 40}) {
        for (int i = 0; i < count; ++i) single.step(position + i);
        blocks.steps(count, position + count - 1);
        position += count;
        EXPECT_EQ(single.pumps, blocks.pumps) << "after " << position << " steps";
    }
}
