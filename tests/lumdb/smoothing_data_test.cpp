// SmoothData: point selection, filter order, output order, failure messages, settings
// written back and the run host's dialog, parent window and abort.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ScriptedRunHost.h"
#include "SyntheticSpectrum.h"
#include "analysis/PolynomialFilter.h"
#include "analysis/WienerFourierFilter.h"
#include "lumdb/lumdb.h"

namespace {

TPointList ramp(int n, float x0, float dx) {
    TPointList pts;
    for (int i = 0; i < n; ++i)
        pts.push_back({x0 + dx * static_cast<float>(i), 10.0f + static_cast<float>((i * 7) % 5)});
    return pts;
}

TPointList spectrum(std::size_t n, std::uint32_t seed = 4) {
    lumbench::SpectrumRecipe r;
    r.points = n;
    r.xFrom = 400.0;
    r.xTo = 400.0 + 0.01 * static_cast<double>(n - 1);
    r.lines = n / 80;
    r.noise = 6.0;
    r.seed = seed;
    return lumbench::makeSpectrum(r).points;
}

// The run host is left as it was found: parent enabled again, progress dialog closed.
void expectHostRestored(const lumtest::ScriptedRunHost& host) {
    EXPECT_TRUE(host.parentEverDisabled);
    EXPECT_EQ(host.parentDisabled, 0);
    EXPECT_EQ(host.statusOpen, 0);
}

}  // namespace

TEST(SmoothDataSelection, ZoomedRangeNeedsEightPoints) {
    lumtest::ScriptedRunHost host;
    const TPointList pts = ramp(30, 0.0f, 1.0f);
    SLineSearchVal s;
    s.SGFilter = true;
    s.PolynomOrder = 2;
    s.FilterWidth = 5;
    s.ZoomData = true;
    s.zoomFrom = 10.0f;
    s.zoomTo = 16.0f;  // x = 10 ... 16: seven points
    TPointList out{{1, 2}};
    EXPECT_EQ(SmoothData(host, pts, out, &s), 0);
    EXPECT_TRUE(out.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Abbruch Datenglättung:\nZur Datenglättung sind mindestens 8 Datenpunkte notwendig!");
    EXPECT_EQ(host.messages[0].caption, "Datenglättung");
    EXPECT_EQ(host.messages[0].icon, lumdb::Icon::Stop);
    EXPECT_EQ(host.messages[0].buttons, lumdb::Buttons::Ok);
    EXPECT_TRUE(host.messages[0].owned);
    expectHostRestored(host);

    lumtest::ScriptedRunHost eight;
    s.zoomTo = 17.0f;
    EXPECT_EQ(SmoothData(eight, pts, out, &s), 1);
    EXPECT_EQ(out.size(), 8u);
    EXPECT_TRUE(eight.messages.empty());
}

TEST(SmoothDataSelection, WithoutZoomAnyLengthIsSmoothedAndReturnedReversed) {
    for (int n : {0, 1, 3, 7}) {
        lumtest::ScriptedRunHost host;
        const TPointList pts = ramp(n, 5.0f, 0.5f);
        SLineSearchVal s;
        s.SGFilter = true;
        s.PolynomOrder = 2;
        s.FilterWidth = 5;
        s.FTFilter = true;
        TPointList out;
        EXPECT_EQ(SmoothData(host, pts, out, &s), 1) << n;
        EXPECT_TRUE(host.messages.empty());
        ASSERT_EQ(out.size(), pts.size());
        for (int i = 0; i < n; ++i) EXPECT_EQ(out[n - 1 - i].x, pts[i].x);
    }
}

TEST(SmoothDataSelection, RisingAndFallingXTakeTheRangeInListOrder) {
    SLineSearchVal s;
    s.ZoomData = true;
    s.zoomFrom = 3.0f;
    s.zoomTo = 12.0f;
    // Rising x, with a later point back inside the range: selection ends at the first point
    // past zoomTo.
    TPointList rising = ramp(20, 0.0f, 1.0f);
    rising.push_back({5.0f, 99.0f});
    lumtest::ScriptedRunHost host;
    TPointList out;
    ASSERT_EQ(SmoothData(host, rising, out, &s), 1);
    ASSERT_EQ(out.size(), 10u);  // 3 ... 12
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], rising[12 - i]);
    // Falling x: from zoomTo down to zoomFrom.
    TPointList falling = ramp(20, 19.0f, -1.0f);
    ASSERT_EQ(SmoothData(host, falling, out, &s), 1);
    ASSERT_EQ(out.size(), 10u);
    EXPECT_EQ(out.front().x, 3.0f);  // the last one taken comes first
    EXPECT_EQ(out.back().x, 12.0f);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], falling[16 - i]);
}

TEST(SmoothDataFilters, PolynomialFailuresShowTheirMessageAndAbort) {
    struct Case {
        int order, width;
        const char* text;
    };
    const Case cases[] = {
        {5, 5,
         "Abbruch Datenglättung:\nEs ist ein Fehler in der Polynom-Filterroutine aufgetreten!"},
        {12, 101,
         "Abbruch Datenglättung:\nIn der Polynom-Filterroutine ist ein Overflow aufgetreten.\n"
         "Verkleinern Sie Filterbreite oder den Polynomgrad!"}};
    for (const Case& c : cases) {
        lumtest::ScriptedRunHost host;
        SLineSearchVal s;
        s.SGFilter = true;
        s.PolynomOrder = c.order;
        s.FilterWidth = c.width;
        TPointList out{{1, 1}};
        EXPECT_EQ(SmoothData(host, spectrum(500), out, &s), 0);
        EXPECT_TRUE(out.empty());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, c.text);
        EXPECT_EQ(host.messages[0].caption, "Datenglättung");
        EXPECT_EQ(host.messages[0].icon, lumdb::Icon::Stop);
        expectHostRestored(host);
    }
}

TEST(SmoothDataFilters, BothFiltersSmoothInOrderWienerFourierFirst) {
    const TPointList pts = spectrum(3000);
    lumtest::ScriptedRunHost host;
    SLineSearchVal s;
    s.FTFilter = true;
    s.SGFilter = true;
    s.PolynomOrder = 3;
    s.FilterWidth = 11;
    TPointList out;
    ASSERT_EQ(SmoothData(host, pts, out, &s), 1);

    // The same two filters by hand, Wiener-Fourier first.
    std::vector<float> ys;
    for (const auto& p : pts) ys.push_back(p.y);
    lumtest::ScriptedRunHost other;
    lumdb::analysis::RunState run(other);
    std::int32_t bins = 0, cutoff = 0;
    ASSERT_TRUE(lumdb::analysis::WienerFourierFilter().filter(ys, bins, cutoff, run));
    ASSERT_TRUE(lumdb::analysis::polynomialFilter(ys, 3, 11, run));
    ASSERT_EQ(out.size(), ys.size());
    for (std::size_t i = 0; i < ys.size(); ++i) ASSERT_EQ(out[ys.size() - 1 - i].y, ys[i]) << i;

    // The captions of the two phases, and the polynomial filter's range over all points.
    ASSERT_GE(host.refreshes.size(), 2u);
    EXPECT_EQ(host.refreshes.front().process, "Datenglättung");
    EXPECT_EQ(host.refreshes.front().phase, "Wiener-Fourierfilter");
    EXPECT_EQ(host.refreshes.back().process, "Datenglättung");
    EXPECT_EQ(host.refreshes.back().phase, "Polynomfilter");
    EXPECT_EQ(host.refreshes.back().lower, 0);
    EXPECT_EQ(host.refreshes.back().upper, 2999);
    expectHostRestored(host);
}

TEST(SmoothDataSettings, SetFTValuesResetsAndReceivesTheAutomaticValues) {
    const TPointList pts = spectrum(5000);
    // Reference: automatic values asked for directly.
    lumtest::ScriptedRunHost a;
    SLineSearchVal automatic;
    automatic.FTFilter = true;
    TPointList ref;
    ASSERT_EQ(SmoothData(a, pts, ref, &automatic), 1);
    EXPECT_EQ(automatic.FreqNumber, 512);
    EXPECT_GT(automatic.FreqCutoff, 0);

    lumtest::ScriptedRunHost b;
    SLineSearchVal s;
    s.FTFilter = true;
    s.SetFTValues = true;
    s.FreqNumber = 64;
    s.FreqCutoff = 3;
    s.highCutMode = 7;
    TPointList out;
    ASSERT_EQ(SmoothData(b, pts, out, &s), 1);
    EXPECT_EQ(s.FreqNumber, 512);
    EXPECT_EQ(s.FreqCutoff, automatic.FreqCutoff);
    EXPECT_EQ(s.highCutMode, 0);
    EXPECT_EQ(out, ref);

    // A short series: (102 + n rounded down to even) / 2.
    lumtest::ScriptedRunHost c;
    s.FreqNumber = 64;
    ASSERT_EQ(SmoothData(c, spectrum(333), out, &s), 1);
    EXPECT_EQ(s.FreqNumber, (102 + 332) / 2);
    // And its last point comes back unchanged (first in the reversed output).
    EXPECT_EQ(out.front(), spectrum(333).back());
}

TEST(SmoothDataAbort, AbortLeavesNoOutputAndNoWrittenBackValues) {
    const TPointList pts = spectrum(100000);
    for (bool wf : {true, false}) {
        lumtest::ScriptedRunHost host;
        host.abortAfterPumps = 5;
        SLineSearchVal s;
        s.FTFilter = wf;
        s.SGFilter = !wf;
        s.PolynomOrder = 2;
        s.FilterWidth = 7;
        s.FreqNumber = 0;
        s.FreqCutoff = 0;
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
    SLineSearchVal s;
    s.SGFilter = true;
    s.PolynomOrder = 2;
    s.FilterWidth = 7;
    lumtest::ScriptedRunHost a, b;
    TPointList separate;
    ASSERT_EQ(SmoothData(a, pts, separate, &s), 1);
    TPointList same = pts;
    ASSERT_EQ(SmoothData(b, same, same, &s), 1);
    EXPECT_EQ(same, separate);
    // The line search likewise.
    lumtest::ScriptedRunHost c, d;
    TLineArray linesA, linesB;
    TPointList smoothed;
    ASSERT_EQ(LineSearch(c, pts, smoothed, linesA, &s), 1);
    TPointList both = pts;
    ASSERT_EQ(LineSearch(d, both, both, linesB, &s), 1);
    EXPECT_EQ(both, smoothed);
    ASSERT_EQ(linesA.size(), linesB.size());
    for (std::size_t k = 0; k < linesA.size(); ++k) EXPECT_EQ(linesA[k].y, linesB[k].y);
}
