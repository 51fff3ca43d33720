// The number reading of the database records: the fast path for plain decimals must give
// exactly what the C library's strtof gives, halfway cases and odd forms included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

namespace lumdb::detail {
float parseFloat(std::string_view text);  // lumdb's internal reader
}

namespace {

void expectSameAsStrtof(const std::string& text) {
    const float expected = std::strtof(text.c_str(), nullptr);
    const float got = lumdb::detail::parseFloat(text);
    ASSERT_TRUE(got == expected || (std::isnan(got) && std::isnan(expected)))
        << text << ": " << got << " instead of " << expected;
}

TEST(DatabaseNumbers, RandomDecimalsReadExactlyLikeStrtof) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> wavelength(190.0, 1000.0);
    std::uniform_real_distribution<double> exponent(-12.0, 12.0);
    char text[64];
    for (int i = 0; i < 200000; ++i) {
        const double w = wavelength(random);
        std::snprintf(text, sizeof text, "%.*f", 1 + i % 9, w);
        expectSameAsStrtof(text);
        const double v = std::pow(10.0, exponent(random));
        std::snprintf(text, sizeof text, "%.*g", 1 + i % 17, v);
        expectSameAsStrtof(text);
        std::snprintf(text, sizeof text, "%.*e", i % 12, -v);
        expectSameAsStrtof(text);
    }
}

TEST(DatabaseNumbers, HalfwayCasesAndOddFormsFollowTheCLibrary) {
    for (const char* text :
         {"16777217", "16777219", "33554435", "0.1", "5e-324", "1e-40", "3.4028235e38", "1e39",
          "1.00000005960464477539062", "0", "-0", "+2.5", ".5", "5.", "007.250", "1000bl",
          "1e", "e5", "", " 12", "0x10", "nan", "inf", "12345678901234567890123", "2.5E+03",
          "9007199254740993", "0.000000000000000000000000000001"})
        expectSameAsStrtof(text);
}

}  // namespace
