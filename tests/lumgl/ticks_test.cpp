// Tick values of linear and logarithmic axes.
#include "Support.h"

TEST(AxisTicks, StepsAndValuesOfLinearAndLogarithmicAxes) {
    for (const table::Row& c : table::Read("axis_ticks.tsv")) {
        SCOPED_TRACE(::testing::PrintToString(c));
        const bool linear = c[0] == "lin";
        const double a = table::D(c[1]), b = table::D(c[2]), step = table::D(c[3]);
        const std::vector<float> ticks = c[4] == "-" ? std::vector<float>{} : table::Floats(c[4]);
        const lumgl::TickList t = linear ? lumgl::LinearTicks(a, b) : lumgl::LogTicks(a, b);
        EXPECT_EQ(t.logarithmic, !linear);
        if (step > 0) {
            EXPECT_NEAR(t.step, step, 1e-9 * step);
        }
        ASSERT_EQ(t.values.size(), ticks.size()) << ::testing::PrintToString(t.values);
        for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_FLOAT_EQ(t.values[i], ticks[i]) << i;
        // Multiples, not sums: 0.6 is exactly float(0.6); and no negative zero.
        for (float v : t.values) EXPECT_FALSE(v == 0.0f && std::signbit(v));
    }
    EXPECT_EQ(lumgl::LinearTicks(0.0, 1.0).values[3], 0.6f);
    EXPECT_EQ(lumgl::AxisTicks(1.0f, 500.0f, false), lumgl::LogTicks(1.0, 500.0));
    EXPECT_EQ(lumgl::AxisTicks(400.0f, 700.0f, true), lumgl::LinearTicks(400.0, 700.0));
}
