// Tick values of linear and logarithmic axes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "lumgl/lumgl.h"

namespace {

void ExpectTicks(const lumgl::TickList& ticks, const std::vector<float>& expected) {
    ASSERT_EQ(ticks.values.size(), expected.size()) << ::testing::PrintToString(ticks.values);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FLOAT_EQ(ticks.values[i], expected[i]) << "tick " << i;
    }
}

TEST(LinearTicks, From400To700StepIs50) {
    // d = 300, g = 100, q = 3: step 0.5 g.
    const lumgl::TickList t = lumgl::LinearTicks(400.0, 700.0);
    EXPECT_DOUBLE_EQ(t.step, 50.0);
    EXPECT_FALSE(t.logarithmic);
    ExpectTicks(t, {400, 450, 500, 550, 600, 650, 700});
}

TEST(LinearTicks, EitherOrderOfTheLimits) {
    EXPECT_EQ(lumgl::LinearTicks(700.0, 400.0), lumgl::LinearTicks(400.0, 700.0));
}

TEST(LinearTicks, SmallRangeOf32BitLimits) {
    // g = 0.001, q = 5: step g; 0.013f and 0.018f lie just below 0.013 and 0.018 and
    // still carry their ticks.
    const lumgl::TickList t = lumgl::AxisTicks(0.013f, 0.018f, true);
    EXPECT_NEAR(t.step, 0.001, 1e-12);
    ExpectTicks(t, {0.013f, 0.014f, 0.015f, 0.016f, 0.017f, 0.018f});
}

TEST(LinearTicks, NegativeLowerLimit) {
    // d = 10: g = 1, q = 10, step 2; r = 2 - (-3 mod 2) = 3 >= 2, so r = 1: first tick -2.
    const lumgl::TickList t = lumgl::LinearTicks(-3.0, 7.0);
    EXPECT_DOUBLE_EQ(t.step, 2.0);
    ExpectTicks(t, {-2, 0, 2, 4, 6});
    EXPECT_FALSE(std::signbit(t.values[1]));
}

TEST(LinearTicks, StepBoundariesOfQ) {
    EXPECT_NEAR(lumgl::LinearTicks(0.0, 1.6).step, 0.2, 1e-12);  // q = 1.6
    EXPECT_DOUBLE_EQ(lumgl::LinearTicks(0.0, 1.7).step, 0.5);    // 1.6 < q < 4
    EXPECT_DOUBLE_EQ(lumgl::LinearTicks(0.0, 4.0).step, 1.0);    // q = 4
    EXPECT_DOUBLE_EQ(lumgl::LinearTicks(0.0, 7.9).step, 1.0);
    EXPECT_DOUBLE_EQ(lumgl::LinearTicks(0.0, 8.0).step, 2.0);          // q = 8
    EXPECT_DOUBLE_EQ(lumgl::LinearTicks(0.0, 50000.0).step, 10000.0);  // g = 10000, q = 5
    ExpectTicks(lumgl::LinearTicks(0.0, 1.6), {0, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.2f, 1.4f, 1.6f});
}

TEST(LinearTicks, LimitOnAMultipleIsATick) {
    ExpectTicks(lumgl::LinearTicks(-4.0, 4.0), {-4, -2, 0, 2, 4});  // d = 8, step 2
    ExpectTicks(lumgl::LinearTicks(3.0, 7.5), {3, 4, 5, 6, 7});     // q = 4.5, step 1
}

TEST(LinearTicks, ValuesAreMultiplesNotSums) {
    // 0.1-steps summed up drift; multiples do not: 0.3 is exactly float(0.3).
    const lumgl::TickList t = lumgl::LinearTicks(0.0, 1.0);  // d = 1, q = 1: step 0.2
    ExpectTicks(t, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f});
    EXPECT_EQ(t.values[3], 0.6f);
}

TEST(LinearTicks, DegenerateRangesGiveNoTicks) {
    EXPECT_TRUE(lumgl::LinearTicks(5.0, 5.0).values.empty());
    EXPECT_TRUE(lumgl::LinearTicks(0.0, std::numeric_limits<double>::infinity()).values.empty());
    EXPECT_TRUE(lumgl::LinearTicks(std::nan(""), 1.0).values.empty());
}

TEST(LogTicks, From0_5To2000OneTickPerDecade) {
    // base 0.1, D = log10(4000) ~ 3.6 > 3.
    const lumgl::TickList t = lumgl::LogTicks(0.5, 2000.0);
    EXPECT_TRUE(t.logarithmic);
    ExpectTicks(t, {1, 10, 100, 1000});
}

TEST(LogTicks, From1To500) {
    // base 1, D ~ 2.7: J = 6.
    ExpectTicks(lumgl::LogTicks(1.0, 500.0),
                {1, 2, 3, 4, 5, 10, 20, 30, 40, 50, 100, 200, 300, 400, 500});
    EXPECT_EQ(lumgl::LogTicks(500.0, 1.0), lumgl::LogTicks(1.0, 500.0));
}

TEST(LogTicks, NarrowRangeUsesNineSubticks) {
    // lo = 0.7f: base 0.1, D ~ 1.1: J = 10; 0.7 (as 7 * 0.1) is kept although 0.7f < 0.7.
    ExpectTicks(lumgl::AxisTicks(0.7f, 9.0f, false), {0.7f, 0.8f, 0.9f, 1, 2, 3, 4, 5, 6, 7, 8, 9});
}

TEST(LogTicks, LowerLimitAboveOneStartsAtTheNextPowerOfTen) {
    // The base is the smallest power of ten not below lo (10 for lo = 2), so the
    // the tick rule shows no ticks between 2 and 10.
    ExpectTicks(lumgl::LogTicks(2.0, 50.0), {10, 20, 30, 40, 50});
    ExpectTicks(lumgl::LogTicks(10.0, 50.0), {10, 20, 30, 40, 50});
}

TEST(LogTicks, InvalidRangesGiveNoTicks) {
    EXPECT_TRUE(lumgl::LogTicks(0.0, 100.0).values.empty());
    EXPECT_TRUE(lumgl::LogTicks(-5.0, 100.0).values.empty());
    EXPECT_TRUE(lumgl::LogTicks(1.0, std::numeric_limits<double>::infinity()).values.empty());
}

TEST(AxisTicks, ChoosesByTheLinearFlag) {
    EXPECT_EQ(lumgl::AxisTicks(1.0f, 500.0f, false), lumgl::LogTicks(1.0, 500.0));
    EXPECT_EQ(lumgl::AxisTicks(400.0f, 700.0f, true), lumgl::LinearTicks(400.0, 700.0));
}

}  // namespace
