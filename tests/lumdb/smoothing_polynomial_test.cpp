// The polynomial (Savitzky-Golay) filter: its weights against hand-derived sets, its
// failures, its edges, and the run host steps it takes.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <numeric>
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
