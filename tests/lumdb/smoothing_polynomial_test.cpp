// The polynomial (Savitzky-Golay) filter: its weights against hand-derived sets, its
// failures, its edges, and the run host steps it takes.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <tuple>
#include <vector>

#include "DataRows.h"
#include "ScriptedRunHost.h"
#include "analysis/PolynomialFilter.h"

using lumdb::analysis::FilterError;
using lumdb::analysis::polynomialFilter;
using lumdb::analysis::RunState;
using lumdb::analysis::smoothingCoefficients;

namespace {

// What a filter run raises, as text ("" when it succeeds).
std::string failureOf(int width, int nl, int nr, int order) {
    try {
        smoothingCoefficients(width, nl, nr, order);
    } catch (const FilterError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(PolynomialWeights, MatchHandDerivedSets) {
    const auto rows = lumtest::dataRows("polynomial_weights.tsv");
    ASSERT_EQ(rows.size(), 7u);
    for (const std::string& line : rows) {
        std::istringstream row(line);
        int width, nl, nr, order;
        row >> width >> nl >> nr >> order;
        std::vector<double> want;
        for (double num, den; row >> num && row.ignore(1) && row >> den;) want.push_back(num / den);
        const auto got = smoothingCoefficients(width, nl, nr, order);
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

TEST(PolynomialWeights, BadArgumentsAndOverflowAreReported) {
    // Width, nl, nr, order: order above the points of the window; order = points - 1
    // interpolates; window shorter than nl + nr + 1; negative arguments. 50^(2*12) = 6e40
    // leaves the float range (the width/order overflow), 50^22 = 2.4e37 still fits.
    const std::tuple<int, int, int, int, std::string> cases[] = {
        {5, 2, 2, 5, "Unknown"},       {5, 2, 2, 4, ""},         {4, 2, 2, 2, "Unknown"},
        {5, -1, 2, 1, "Unknown"},      {5, 2, -1, 1, "Unknown"}, {5, 2, 2, -1, "Unknown"},
        {101, 50, 50, 12, "Overflow"}, {101, 50, 50, 11, ""}};
    for (const auto& [width, nl, nr, order, failure] : cases)
        EXPECT_EQ(failureOf(width, nl, nr, order), failure) << width << " " << nl << " " << order;
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
    for (int i = 20; i < 480; ++i) {
        double mean = 0.0;
        for (int j = -20; j <= 20; ++j) mean += ys[i + j];
        mean /= 41.0;
        EXPECT_NEAR(out[i], mean, 1e-4) << i;
    }
}

TEST(PolynomialFilter, OneStepPerPointAndAbortLeavesTheDataAlone) {
    lumtest::ScriptedRunHost host;
    std::vector<float> ys(100000);
    for (int i = 0; i < 100000; ++i) ys[i] = static_cast<float>(i % 7);
    {
        RunState run(host);
        auto copy = ys;
        ASSERT_TRUE(polynomialFilter(copy, 3, 21, run));
        // The progress reaches the last point, and the dialog was pumped along the way (at
        // most once per block of points).
        EXPECT_EQ(host.position(), 99999);
        EXPECT_GT(host.pumps, 50);
        EXPECT_LE(host.pumps, 100000 / RunState::kProgressBlock + 1 + 2 * 10);
    }
    lumtest::ScriptedRunHost aborting;
    aborting.abortAfterPumps = 3;
    RunState run(aborting);
    auto copy = ys;
    EXPECT_FALSE(polynomialFilter(copy, 3, 21, run));
    EXPECT_EQ(copy, ys);
    EXPECT_TRUE(run.aborted());
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
