// The x axis: unit recognition, air wavelengths against a second dispersion formula, the
// pixel calibration, maps of points and found lines, shift and stretch, the integral.
#include "lumdb/XAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "DataRows.h"

namespace {

using namespace lumdb;

TEST(XAxis, RecognitionAsTabled) {
    const auto rows = lumtest::dataRows("xaxis_recognition.tsv");
    ASSERT_EQ(rows.size(), 12u);
    for (const std::string& row : rows) {
        std::vector<std::string> f(9);
        std::istringstream in(row);
        for (auto& field : f) std::getline(in, field, '\t');
        TPointList points;
        for (int i = 0; i < std::stoi(f[2]); ++i)
            points.push_back(
                {float(std::stod(f[0]) + i * std::stod(f[1])), float(std::stod(f[3]) + i % 3)});
        const XFormatRecognition r = recogniseXFormat(points, std::stoi(f[4]));
        EXPECT_EQ(r.formatCode, std::stoi(f[5])) << row;
        EXPECT_EQ(r.declared, f[4] != "-1") << row;
        EXPECT_EQ(r.xLabel + "|" + r.xUnit + "|" + r.yLabel + " " + r.yUnit,
                  f[6] + "|" + f[7] + "|Signal " + f[8])
            << row;
    }
    EXPECT_EQ(recogniseXFormat({}, -1).formatCode, kNanometres);
}

// Edlén (1966), standard air: (n - 1) 1e8 = 8342.13 + 2406030 / (130 - s^2) + 15997 / (38.9 -
// s^2), s in 1/µm. It and Peck and Reeder's formula agree within 4e-6 nm from 230 to 1000 nm;
// a coefficient off by 1e-4 of its value moves the wavelengths by 2.4e-5 nm or more.
TEST(XAxis, AirWavelengthsMatchASecondFormulaAndStayFinite) {
    ASSERT_TRUE(airWavelengthNm(20000));
    EXPECT_NEAR(*airWavelengthNm(20000), 499.8606, 1e-4);
    for (double vacuum = 230; vacuum <= 1000; vacuum += 0.5) {
        const double s2 = std::pow(1e3 / vacuum, 2);
        const double edlen =
            vacuum / (1 + 1e-8 * (8342.13 + 2406030 / (130 - s2) + 15997 / (38.9 - s2)));
        EXPECT_NEAR(*airWavelengthNm(1e7 / vacuum), edlen, 5e-6) << vacuum;
    }
    for (double nu = 0.5; nu <= 200000; nu *= 1.01) {
        const auto air = airWavelengthNm(nu);
        ASSERT_TRUE(air && std::isfinite(*air) && *air > 0 && *air <= 1e7 / nu) << nu;
        if (nu > kVacuumWavenumberLimit) {
            EXPECT_EQ(*air, 1e7 / nu);
        }
    }
    EXPECT_EQ(*airWavelengthNm(75737.7), 1e7 / 75737.7);  // the formula's pole
    for (double bad : {0.0, -5.0, double(NAN), double(INFINITY), 1e-35})
        EXPECT_FALSE(airWavelengthNm(bad)) << bad;

    // A list converts whole or not at all; the found lines follow, sorted again.
    TPointList points{{20000, 1}, {18000, 2}, {0, 3}};
    EXPECT_EQ(wavenumbersToAir(points), XResult::NotPositive);
    EXPECT_EQ(points[2].x, 0.0f);
    points[2].x = 1e-40f;
    EXPECT_EQ(wavenumbersToAir(points), XResult::OutOfRange);
    points[2].x = 17000;
    TLineArray lines;
    for (float x : {17000.0f, 18000.0f, 20000.0f}) lines.add(CLine(x, x));
    int selected = 0;
    ASSERT_EQ(wavenumbersToAir(points, &lines, &selected), XResult::Done);
    EXPECT_FLOAT_EQ(points[0].x, 499.86056f);
    EXPECT_TRUE(lines[0].x < lines[1].x && lines[1].x < lines[2].x);
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(lines[2].y, 17000.0f);
}

TEST(XAxis, PixelCalibrationRefusesWhatDefinesNoLine) {
    const auto two = PixelCalibration::fromTwoPoints(100, 400, 900, 800);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->dispersion, 0.5f);
    EXPECT_EQ(two->offset, 350.0f);
    const auto falling = PixelCalibration::fromPointAndDispersion(1, 500, -0.1);
    ASSERT_TRUE(falling);
    EXPECT_FLOAT_EQ(falling->offset, 500.1f);
    EXPECT_FALSE(PixelCalibration::fromTwoPoints(100, 400, 100, 800));
    EXPECT_FALSE(PixelCalibration::fromTwoPoints(100, 400, 900, 400));
    EXPECT_FALSE(PixelCalibration::fromTwoPoints(1, 0, 1 + 1e-30, 1e30));
    EXPECT_FALSE(PixelCalibration::fromPointAndDispersion(1, 500, 0));
    EXPECT_FALSE(PixelCalibration::fromPointAndDispersion(1, 1e99, 1));

    // Least squares: points off the line 300 + 0.25 p by +-0.01 nm.
    const std::vector<CalibrationPoint> points{
        {100, 325.01}, {400, 399.99}, {700, 475.01}, {1000, 549.99}};
    const auto fit = fitPixelCalibration(points);
    ASSERT_TRUE(fit);
    EXPECT_NEAR(fit->calibration.dispersion, 0.25, 2e-5);
    EXPECT_NEAR(fit->calibration.offset, 300.0, 0.02);
    ASSERT_EQ(fit->residuals.size(), 4u);
    EXPECT_NEAR(fit->rms, 0.0089, 0.001);
    EXPECT_EQ(fitPixelCalibration(std::span(points).first(2))->calibration.dispersion,
              PixelCalibration::fromTwoPoints(100, 325.01, 400, 399.99)->dispersion);
    EXPECT_FALSE(fitPixelCalibration({{{100, 400}, {200, 500}, {100, 410}}}));
    EXPECT_FALSE(fitPixelCalibration(std::span(points).first(1)));
}

// A second calibration, after a shift and stretch, starts from the pixel numbers again.
TEST(XAxis, RecalibrationStartsFromThePixels) {
    TPointList points{{10, 1}, {500, 1}, {1023, 1}};
    const PixelCalibration first = *PixelCalibration::fromTwoPoints(10, 400, 1000, 700);
    const PixelCalibration second = *PixelCalibration::fromPointAndDispersion(500, 600, -0.2);
    applyXMap(first.map(), points);
    AxisScaling scaling = AxisScaling::reset(points);
    scaling.values = {1.5f, 1.25f, 0, 1};
    applyXMap(AxisScaling::reset(points).mapsTo(scaling.values)->first, points);
    ASSERT_EQ(applyXMap(*recalibrationMap(scaling, first, second), points), XResult::Done);
    for (const auto& [pixel, point] :
         {std::pair{10.0, points[0]}, {500.0, points[1]}, {1023.0, points[2]}})
        EXPECT_NEAR(point.x, 600 - 0.2 * (pixel - 500), 1e-4) << pixel;
    EXPECT_FALSE(recalibrationMap(scaling, PixelCalibration{0, 0}, second));
}

TEST(XAxis, MapsRefuseWhatAFloatCannotHold) {
    TPointList points{{1, 1}, {1e10f, 2}};
    EXPECT_EQ(applyXMap({1e30, 0}, points), XResult::OutOfRange);
    EXPECT_EQ(applyXMap({0, 5}, points), XResult::Degenerate);
    EXPECT_EQ(applyMaps({}, {NAN, 0}, points), XResult::Degenerate);
    EXPECT_EQ(points, (TPointList{{1, 1}, {1e10f, 2}}));
    ASSERT_EQ(applyXMap({0.1, 0}, points), XResult::Done);
    EXPECT_EQ(points[1].x, 1e9f);
}

// From (400, 1): values (5, 1, 1, 1) then (5, 2, 1, 2), the same at once, and back to
// (0, 1, 0, 1) must all agree; so must a negative stretch with the found lines.
TEST(XAxis, ShiftAndStretchDoNotDependOnTheWayAndReset) {
    const TPointList original{{400, 1}, {410, 3}, {433.25f, 7}};
    AxisScaling stepwise = AxisScaling::reset(original), direct = stepwise;
    EXPECT_EQ(stepwise.anchor, 400.0f);
    TPointList a = original, b = original;
    for (const std::array<float, 4> v :
         {std::array{5.0f, 1.0f, 1.0f, 1.0f}, {5.0f, 2.0f, 1.0f, 2.0f}}) {
        const auto maps = stepwise.mapsTo(v);
        ASSERT_TRUE(maps);
        ASSERT_EQ(applyMaps(maps->first, maps->second, a), XResult::Done);
        stepwise.values = v;
    }
    const auto once = direct.mapsTo(stepwise.values);
    applyMaps(once->first, once->second, b);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a[0], (TPointF{405, 3}));
    const auto back = stepwise.mapsTo({0, 1, 0, 1});
    applyMaps(back->first, back->second, a);
    EXPECT_EQ(a, original);
    EXPECT_FALSE(stepwise.mapsTo({0, 0, 0, 1}));

    TLineArray lines;
    for (float x : {405.0f, 413.0f, 420.0f}) lines.add(CLine(x, x));
    int selected = 1;
    const auto flip = stepwise.mapsTo({0, -1, 0, 2});
    ASSERT_EQ(applyMaps(flip->first, flip->second, b, &lines, &selected), XResult::Done);
    EXPECT_TRUE(lines[0].x < lines[1].x && lines[1].x < lines[2].x);
    EXPECT_EQ(lines[selected].y, 413.0f);
    EXPECT_EQ(b[2].x, 400.0f - 33.25f);
}

TEST(XAxis, KeepingAFixedPointStretchesAboutIt) {
    AxisScaling s{400.0f, {2, 1.5f, 0, 1}};
    TPointList points{{450, 1}, {500, 1}, {600, 1}};
    const auto next = s.stretchedAbout(600, 700, 500);
    ASSERT_TRUE(next);
    const auto maps = s.mapsTo(*next);
    applyMaps(maps->first, maps->second, points);
    EXPECT_FLOAT_EQ(points[1].x, 500);
    EXPECT_FLOAT_EQ(points[2].x, 700);
    EXPECT_FLOAT_EQ(points[0].x, 400);
    EXPECT_EQ((*next)[1], 3.0f);
    // A new value on the fixed point would collapse the spectrum.
    EXPECT_FALSE(s.stretchedAbout(600, 500, 500));
    EXPECT_FALSE(s.stretchedAbout(500, 700, 500));
    EXPECT_EQ(s.shifted(600, 601.5)->at(0), 3.5f);
}

TEST(XAxis, IntegralSnapsTheBoundsAndRunsInIncreasingX) {
    const TPointList up{{0, 1}, {1, 3}, {2, 5}, {4, 1}};
    const TPointList down(up.rbegin(), up.rend());
    for (const auto& [left, right, value] :
         {std::tuple{0.0, 2.0, 6.0}, {2.0, 0.0, 6.0}, {0.0, 9.0, 12.0}, {3.0, 3.5, 0.0}}) {
        const auto r = trapezoidIntegral(up, left, right);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->value, value) << left << " " << right;
        EXPECT_EQ(trapezoidIntegral(down, right, left)->value, value) << left;
    }
    // A bound between points snaps up the data: to x = 1 rising, to x = 0 falling.
    EXPECT_EQ(trapezoidIntegral(up, 0.5, 9)->value, 10);
    EXPECT_EQ(trapezoidIntegral(up, 0.5, 9)->leftIndex, 1u);
    EXPECT_EQ(trapezoidIntegral(down, 0.5, 9)->leftIndex, 3u);
    // Zigzag data may snap the left bound behind the right one.
    const TPointList zigzag{{0, 1}, {5, 1}, {1, 1}, {6, 1}};
    const auto behind = trapezoidIntegral(zigzag, 5.5, 0.5);
    EXPECT_EQ(behind->value, 1);
    EXPECT_EQ(behind->leftIndex, 3u);
    for (double bad : {1e99, double(NAN), -double(INFINITY)})
        EXPECT_FALSE(trapezoidIntegral(up, 0, bad));
    EXPECT_FALSE(trapezoidIntegral({}, 0, 1));
    EXPECT_FALSE(trapezoidIntegral(TPointList{{0, 3e38f}, {1e10f, 3e38f}}, 0, 1e10));
}

// 1,048,576 points: a float sum is 0.65 % off here; the double sum must match a long double
// one to 1e-9.
TEST(XAxis, MillionPointIntegralMatchesLongDouble) {
    TPointList points;
    for (int i = 0; i < 1 << 20; ++i)
        points.push_back({200.0f + i * 0.00075f, float(1000 + 800 * std::sin(i * 0.001))});
    long double reference = 0;
    for (std::size_t k = 0; k + 1 < points.size(); ++k)
        reference += 0.5L * ((long double)points[k].y + points[k + 1].y) *
                     ((long double)points[k + 1].x - points[k].x);
    const auto r = trapezoidIntegral(points, 0, 1e4);
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->value / double(reference), 1.0, 1e-9);
}

}  // namespace
