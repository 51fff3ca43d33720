// Tick values of linear and logarithmic axes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "lumgl/lumgl.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The limits (written as floats where the axes' 32-bit limits matter), the step (linear
// axes; 0: not checked) and the ticks. An empty tick list: no ticks at all.
struct Case {
    bool linear;
    double a, b;
    double step;
    std::vector<float> ticks;
};

const Case kCases[] = {
    // d = 300, g = 100, q = 3: step 0.5 g.
    {true, 400, 700, 50, {400, 450, 500, 550, 600, 650, 700}},
    {true, 700, 400, 50, {400, 450, 500, 550, 600, 650, 700}},
    // g = 0.001, q = 5: step g; 0.013f and 0.018f lie just below 0.013 and 0.018 and still
    // carry their ticks.
    {true, 0.013f, 0.018f, 0.001, {0.013f, 0.014f, 0.015f, 0.016f, 0.017f, 0.018f}},
    {true, -3, 7, 2, {-2, 0, 2, 4, 6}},
    // The boundaries of q: 1.6 | 4 | 8. Ticks are multiples of the step, not sums.
    {true, 0, 1.6, 0.2, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.2f, 1.4f, 1.6f}},
    {true, 0, 1.7, 0.5, {0, 0.5f, 1, 1.5f}},
    {true, 0, 4, 1, {0, 1, 2, 3, 4}},
    {true, 0, 7.9, 1, {0, 1, 2, 3, 4, 5, 6, 7}},
    {true, 0, 8, 2, {0, 2, 4, 6, 8}},
    {true, 0, 50000, 10000, {0, 10000, 20000, 30000, 40000, 50000}},
    {true, 0, 1, 0.2, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f}},
    {true, -4, 4, 2, {-4, -2, 0, 2, 4}},
    {true, 3, 7.5, 1, {3, 4, 5, 6, 7}},
    {true, 5, 5, 0, {}},
    {true, 0, kInf, 0, {}},
    {true, std::nan(""), 1, 0, {}},
    // Above three decades one tick per decade; up to two decades J = 10, else J = 6.
    {false, 0.5f, 2000, 0, {1, 10, 100, 1000}},
    {false, 1, 500, 0, {1, 2, 3, 4, 5, 10, 20, 30, 40, 50, 100, 200, 300, 400, 500}},
    {false, 500, 1, 0, {1, 2, 3, 4, 5, 10, 20, 30, 40, 50, 100, 200, 300, 400, 500}},
    // 0.7 (as 7 * 0.1) is kept although 0.7f < 0.7.
    {false, 0.7f, 9, 0, {0.7f, 0.8f, 0.9f, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    // The base is the smallest power of ten not below lo: no ticks between 2 and 10.
    {false, 2, 50, 0, {10, 20, 30, 40, 50}},
    {false, 10, 50, 0, {10, 20, 30, 40, 50}},
    {false, 0, 100, 0, {}},
    {false, -5, 100, 0, {}},
    {false, 1, kInf, 0, {}},
};

TEST(AxisTicks, StepsAndValuesOfLinearAndLogarithmicAxes) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << (c.linear ? "linear " : "log ") << c.a << " .. " << c.b);
        const lumgl::TickList t = c.linear ? lumgl::LinearTicks(c.a, c.b) : lumgl::LogTicks(c.a, c.b);
        EXPECT_EQ(t.logarithmic, !c.linear);
        if (c.step > 0) {
            EXPECT_NEAR(t.step, c.step, 1e-9 * c.step);
        }
        ASSERT_EQ(t.values.size(), c.ticks.size()) << ::testing::PrintToString(t.values);
        for (std::size_t i = 0; i < c.ticks.size(); ++i) EXPECT_FLOAT_EQ(t.values[i], c.ticks[i]) << i;
        // Multiples, not sums: 0.6 is exactly float(0.6); and no negative zero.
        for (float v : t.values) {
            if (v == 0.0f) {
                EXPECT_FALSE(std::signbit(v));
            }
        }
    }
    EXPECT_EQ(lumgl::LinearTicks(0.0, 1.0).values[3], 0.6f);
    EXPECT_EQ(lumgl::AxisTicks(1.0f, 500.0f, false), lumgl::LogTicks(1.0, 500.0));
    EXPECT_EQ(lumgl::AxisTicks(400.0f, 700.0f, true), lumgl::LinearTicks(400.0, 700.0));
}

}  // namespace
