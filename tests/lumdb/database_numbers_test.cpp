// Reading and writing the numbers of database records: the fast paths must give exactly
// what the C library gives (strtof, printf "%g"), halfway cases and odd forms included.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "DataRows.h"

namespace lumdb::detail {
float parseFloat(std::string_view text);  // lumdb's internal reader and writer
void appendGeneral(std::string& out, float value, int precision);
}  // namespace lumdb::detail

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
    const auto texts = lumtest::dataRows("float_texts.txt");
    ASSERT_EQ(texts.size(), 26u);
    for (const std::string& text : texts) expectSameAsStrtof(text);
    expectSameAsStrtof("");
}

void expectSameAsPrintf(float value, int precision) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.*g", precision, static_cast<double>(value));
    std::string got;
    lumdb::detail::appendGeneral(got, value, precision);
    ASSERT_EQ(got, expected) << "%." << precision << "g of " << static_cast<double>(value);
}

TEST(DatabaseNumbers, GeneralFormatMatchesPrintfForEveryMagnitude) {
    std::mt19937 random(9);
    std::uniform_int_distribution<std::uint32_t> bits(0, 0x7F7FFFFFu);  // positive finite floats
    // Any positive finite float; values of the database's ranges.
    std::uniform_real_distribution<float> wavelength(190.0f, 1000.0f);
    for (int i = 0; i < 300000; ++i) {
        const float value = std::bit_cast<float>(bits(random));
        expectSameAsPrintf(value, 6);
        expectSameAsPrintf(value, 7);
        expectSameAsPrintf(wavelength(random), 7);
        expectSameAsPrintf(wavelength(random) / 1000.0f, 6);
    }
    // Ones whose digits end exactly on a half, and the ends of the ranges.
    for (float v : {0.0f, -1.5f, 1.0f, 9.9999995f, 999999.5f, 9999999.0f, 0.5f, 2.5f, 1e-5f,
                    9.99999e-5f, 0.0001f, 100000.0f, 1e6f, 123456.5f, 1234567.5f, 16777216.0f,
                    3.4028235e38f, 1e-40f, 0.00012345675f})
        for (int precision : {6, 7}) expectSameAsPrintf(v, precision);
}

}  // namespace
