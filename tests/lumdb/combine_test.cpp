// CombineSpectra: working copies, common range, grid choice, interpolation, division.
#include "lumdb/Combine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ScriptedRunHost.h"

namespace {

using lumtest::ScriptedRunHost;

TPointList points(std::initializer_list<TPointF> p) {
    return TPointList(p);
}

TEST(CombineSpectra, IdenticalGridsCombineWithoutInterpolationInDescendingOrder) {
    const TPointList a = points({{1, 10}, {2, 20}, {3, 30}});
    const TPointList b = points({{1, 1}, {2, 2}, {3, 4}});
    ScriptedRunHost host;
    TPointList out;
    const std::pair<int, TPointList> expected[] = {
        {0, points({{3, 26}, {2, 18}, {1, 9}})},   {1, points({{3, 34}, {2, 22}, {1, 11}})},
        {2, points({{3, 120}, {2, 40}, {1, 10}})}, {3, points({{3, 7.5f}, {2, 10}, {1, 10}})},
        {9, points({{3, 0}, {2, 0}, {1, 0}})},
    };
    for (const auto& [operation, result] : expected) {
        ASSERT_EQ(CombineSpectra(host, a, b, out, operation), 1);
        EXPECT_EQ(out, result) << "operation " << operation;
    }
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.parentDisabled, 0);
    EXPECT_TRUE(host.parentEverDisabled);
}

TEST(CombineSpectra, FallingInputCombinesLikeRisingInput) {
    const TPointList rising = points({{1, 10}, {2, 20}, {3, 30}, {4, 40}});
    const TPointList falling(rising.rbegin(), rising.rend());
    const TPointList fine = points({{1.5f, 1}, {2.5f, 3}, {3.5f, 5}});
    ScriptedRunHost host;
    TPointList fromRising, fromFalling, bothFalling;
    ASSERT_EQ(CombineSpectra(host, rising, fine, fromRising, 1), 1);
    ASSERT_EQ(CombineSpectra(host, falling, fine, fromFalling, 1), 1);
    const TPointList fineFalling(fine.rbegin(), fine.rend());
    ASSERT_EQ(CombineSpectra(host, falling, fineFalling, bothFalling, 1), 1);
    EXPECT_EQ(fromRising, fromFalling);
    EXPECT_EQ(fromRising, bothFalling);
}

TEST(CombineSpectra, CoarserSpectrumGivesTheGridAndTheOtherIsInterpolated) {
    // B (y = 2x + 1 at 0.5 ... 3.5) has spacing 3/4. A at 0, 2, 4 (spacing 4/3) is coarser:
    // its only point in the common range [0.5, 3.5] is x = 2, where B interpolates to 5.
    const TPointList b = points({{0.5f, 2}, {1.5f, 4}, {2.5f, 6}, {3.5f, 8}});
    ScriptedRunHost host;
    TPointList out;
    ASSERT_EQ(CombineSpectra(host, points({{0, 100}, {2, 100}, {4, 100}}), b, out, 0), 1);
    EXPECT_EQ(out, points({{2, 95}}));
    // A at 0, 0.5, ..., 4 (spacing 4/9) is finer: B's x values form the grid.
    TPointList fine;
    for (int i = 0; i <= 8; ++i) fine.push_back({0.5f * static_cast<float>(i), 100});
    ASSERT_EQ(CombineSpectra(host, fine, b, out, 0), 1);
    EXPECT_EQ(out, points({{3.5f, 92}, {2.5f, 94}, {1.5f, 96}, {0.5f, 98}}));
    // A = x^2 at 0 ... 4 (spacing 4/5) against B at 0.5 and 2.5 (spacing 1): A interpolated
    // linearly, 0.5 at x = 0.5 and 6.5 at x = 2.5.
    const TPointList squares = points({{0, 0}, {1, 1}, {2, 4}, {3, 9}, {4, 16}});
    ASSERT_EQ(CombineSpectra(host, squares, points({{0.5f, 2}, {2.5f, 6}}), out, 1), 1);
    EXPECT_EQ(out, points({{2.5f, 12.5f}, {0.5f, 2.5f}}));
}

TEST(CombineSpectra, RepeatedXKeepsOnlyTheFirstPointOfTheWalkFromTheTop) {
    // Rising input is walked from its last point down, so of the two points at x = 2 the one
    // later in the list is taken and the earlier one is dropped.
    const TPointList a = points({{1, 10}, {2, 20}, {2, 99}, {3, 30}});
    const TPointList b = points({{1, 0}, {2, 0}, {3, 0}});
    ScriptedRunHost host;
    TPointList out;
    ASSERT_EQ(CombineSpectra(host, a, b, out, 1), 1);
    EXPECT_EQ(out, points({{3, 30}, {2, 99}, {1, 10}}));
}

TEST(CombineSpectra, ZeroDivisorStopsAndLeavesTheOutputAsItWas) {
    const TPointList a = points({{1, 0}, {2, 4}, {3, 9}});
    ScriptedRunHost host;
    TPointList out = points({{42, 42}});
    ASSERT_EQ(CombineSpectra(host, a, points({{1, 1}, {2, 0}, {3, 3}}), out, 3), 0);
    EXPECT_EQ(out, points({{42, 42}}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Vorgang abgebrochen: Division durch Null!");
    EXPECT_EQ(host.messages[0].caption, "Spektren kombinieren");
    EXPECT_EQ(host.messages[0].icon, lumdb::Icon::Stop);
    EXPECT_EQ(host.parentDisabled, 0);
    // A zero dividend is fine.
    ASSERT_EQ(CombineSpectra(host, a, points({{1, 1}, {2, 2}, {3, 3}}), out, 3), 1);
    EXPECT_EQ(out, points({{3, 3}, {2, 2}, {1, 0}}));
}

TEST(CombineSpectra, NoCommonRangeIsReportedAndNoGridPointInItGivesNothing) {
    const TPointList a = points({{10, 1}, {11, 1}});
    const TPointList below = points({{1, 1}, {9.5f, 1}});
    ScriptedRunHost host;
    TPointList out = points({{7, 7}});
    EXPECT_EQ(CombineSpectra(host, a, below, out, 0), 0);
    EXPECT_EQ(CombineSpectra(host, a, TPointList{}, out, 0), 0);
    EXPECT_EQ(out, points({{7, 7}}));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, "Die Spektren haben keine gemeinsamen Wellenlängenbereich!");
    EXPECT_EQ(host.messages[0].icon, lumdb::Icon::Stop);
    EXPECT_EQ(host.parentDisabled, 0);
    // A common range [10.25, 10.75] that holds no point of the coarse grid A: an empty result.
    EXPECT_EQ(CombineSpectra(host, a, points({{10.25f, 1}, {10.5f, 1}, {10.75f, 1}}), out, 0), 1);
    EXPECT_TRUE(out.empty());
}

// The single forward walk against the direct restart-from-the-start interpolation on an
// irregular pair of spectra.
TEST(CombineSpectra, MatchesDirectInterpolationOnIrregularGrids) {
    TPointList a, b;
    float x = 100;
    for (int i = 0; i < 300; ++i) {
        x += 0.3f + 0.2f * static_cast<float>(i % 7);
        a.push_back({x, static_cast<float>(i % 13)});
    }
    x = 120;
    for (int i = 0; i < 200; ++i) {
        x += 1.1f + 0.5f * static_cast<float>(i % 3);
        b.push_back({x, 1.0f + static_cast<float>(i % 5)});
    }
    ScriptedRunHost host;
    TPointList out;
    ASSERT_EQ(CombineSpectra(host, a, b, out, 2), 1);
    // b is coarser here, so it is the grid and a is interpolated.
    const float lo = std::max(a.front().x, b.front().x), hi = std::min(a.back().x, b.back().x);
    TPointList expected;
    for (const TPointF& g : b) {
        if (g.x < lo || g.x > hi) continue;
        std::size_t k = 0;
        TPointF p0{};
        while (a[k].x < g.x) p0 = a[k++];
        const TPointF p1 = a[k];
        const float v = p1.x == g.x ? p1.y : (g.x - p0.x) * ((p1.y - p0.y) / (p1.x - p0.x)) + p0.y;
        expected.insert(expected.begin(), {g.x, v * g.y});
    }
    EXPECT_EQ(out, expected);
}

}  // namespace
