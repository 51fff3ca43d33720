// CombineSpectra: working copies, common range, grid choice, interpolation, division.
#include "lumdb/Combine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "DataRows.h"
#include "ScriptedRunHost.h"

namespace {

using lumtest::ScriptedRunHost;

TPointList parsePoints(std::string text) {
    std::replace(text.begin(), text.end(), ':', ' ');
    std::istringstream in(text);
    TPointList pts;
    for (float x, y; in >> x >> y;) pts.push_back({x, y});
    return pts;
}

TEST(CombineSpectra, OperationsGridsAndInterpolationAsTabled) {
    const auto rows = lumtest::dataRows("combine_cases.tsv");
    ASSERT_EQ(rows.size(), 14u);
    for (const std::string& line : rows) {
        std::vector<std::string> f(4);
        std::istringstream row(line);
        for (auto& field : f) std::getline(row, field, '\t');
        ScriptedRunHost host;
        TPointList out;
        ASSERT_EQ(CombineSpectra(host, parsePoints(f[0]), parsePoints(f[1]), out, std::stoi(f[2])),
                  1)
            << line;
        EXPECT_EQ(out, parsePoints(f[3])) << line;
        EXPECT_TRUE(host.messages.empty() && host.parentDisabled == 0 && host.parentEverDisabled);
    }
}

TEST(CombineSpectra, ZeroDivisorOrNoCommonRangeStopsAndLeavesTheOutputAsItWas) {
    const TPointList a = parsePoints("10:0 11:4 12:9");
    ScriptedRunHost host;
    TPointList out = parsePoints("42:42");
    EXPECT_EQ(CombineSpectra(host, a, parsePoints("10:1 11:0 12:3"), out, 3), 0);
    EXPECT_EQ(CombineSpectra(host, a, parsePoints("1:1 9.5:1"), out, 0), 0);
    EXPECT_EQ(CombineSpectra(host, a, TPointList{}, out, 0), 0);
    EXPECT_EQ(out, parsePoints("42:42"));
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].text, "Vorgang abgebrochen: Division durch Null!");
    EXPECT_EQ(host.messages[0].caption, "Spektren kombinieren");
    EXPECT_EQ(host.messages[1].text, "Die Spektren haben keine gemeinsamen Wellenlängenbereich!");
    for (const auto& m : host.messages) EXPECT_EQ(m.icon, lumdb::Icon::Stop);
    EXPECT_EQ(host.parentDisabled, 0);
}

// The single forward walk against the direct restart-from-the-start interpolation on an
// irregular pair of spectra; b is coarser, so it is the grid and a is interpolated.
TEST(CombineSpectra, MatchesDirectInterpolationOnIrregularGrids) {
    TPointList a, b;
    float x = 100;
    for (int i = 0; i < 300; ++i) a.push_back({x += 0.3f + 0.2f * (i % 7), float(i % 13)});
    x = 120;
    for (int i = 0; i < 200; ++i) b.push_back({x += 1.1f + 0.5f * (i % 3), 1.0f + (i % 5)});
    ScriptedRunHost host;
    TPointList out, expected;
    ASSERT_EQ(CombineSpectra(host, a, b, out, 2), 1);
    for (const TPointF& g : b) {
        if (g.x < a.front().x || g.x > a.back().x) continue;
        std::size_t k = 0;
        while (a[k].x < g.x) ++k;
        const TPointF p0 = k ? a[k - 1] : TPointF{}, p1 = a[k];
        const float v = p1.x == g.x ? p1.y : (g.x - p0.x) * ((p1.y - p0.y) / (p1.x - p0.x)) + p0.y;
        expected.insert(expected.begin(), {g.x, v * g.y});
    }
    EXPECT_EQ(out, expected);
}

}  // namespace
