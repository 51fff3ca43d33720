// The float texts of the files and the line database: the shortest round-trip text equals
// printf's precision search, bit for bit, over whole binades and the tight cases.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "lumcore/Printf.h"

using namespace lumcore;

// The text of every value equals printf's: "%.*g" from precision 6 up to the first text
// that strtof reads back, over random bit patterns and the values near powers of two and ten
// where rounding is tight.
TEST(FloatText, EqualsTheReferenceText) {
    std::mt19937 random(12345);
    std::vector<float> values = {
        0.0f,      -0.0f,      1.0f,        0.1f,       1e-5f,
        123456.0f, 1234567.0f, 16777216.0f, 3.4e38f,    -3.4e38f,
        1e-38f,    1.4e-45f,   500.0002f,   453.88123f, std::numeric_limits<float>::infinity()};
    for (int i = 0; i < 200000; ++i) {
        std::uint32_t bits = random();
        float f;
        std::memcpy(&f, &bits, 4);
        if (std::isnan(f)) continue;
        values.push_back(f);
    }
    for (int e = -40; e <= 38; ++e) {
        const float p = std::pow(10.0f, static_cast<float>(e));
        values.push_back(p);
        values.push_back(std::nextafter(p, 0.0f));
        values.push_back(std::nextafter(p, std::numeric_limits<float>::infinity()));
    }
    for (int e = -126; e <= 127; ++e) {
        const float p = std::ldexp(1.0f, e);
        values.push_back(p);
        values.push_back(std::nextafter(p, 0.0f));
    }
    int mismatches = 0;
    for (float f : values) {
        char text[kFloatTextMax];
        const std::string ours(text, formatShortestFloat(text, f));
        std::string reference;
        for (int precision = 6; precision <= 9; ++precision) {
            reference = strprintf("%.*g", precision, static_cast<double>(f));
            if (std::strtof(reference.c_str(), nullptr) == f) break;
        }
        if (ours != reference && ++mismatches < 10) ADD_FAILURE() << ours << " != " << reference;
    }
    EXPECT_EQ(mismatches, 0);
}

// Every other float of the binade around 500 nm, every 7th of [1, 2) and every 13th
// subnormal, against printf's way done with to_chars: "%.*g" from precision 6 up to the first
// text that reads back.
TEST(FloatText, WholeBinadesEqualThePrecisionSearch) {
    auto reference = [](float f) {
        char text[64];
        for (int precision = 6;; ++precision) {
            const auto w =
                std::to_chars(text, text + sizeof text, f, std::chars_format::general, precision);
            float back;
            std::from_chars(text, w.ptr, back);
            if (back == f || precision == 9) return std::string(text, w.ptr);
        }
    };
    int mismatches = 0;
    for (const float start : {256.0f, 1.0f, 1e-45f}) {
        std::uint32_t bits;
        std::memcpy(&bits, &start, 4);
        const std::uint32_t step = start == 256.0f ? 2u : start == 1.0f ? 7u : 13u;
        for (std::uint32_t i = 0; i < (1u << 23); i += step) {
            const std::uint32_t b = bits + i;
            float f;
            std::memcpy(&f, &b, 4);
            char text[kFloatTextMax];
            const std::string ours(text, formatShortestFloat(text, f));
            if (ours != reference(f) && ++mismatches < 10) {
                ADD_FAILURE() << ours << " != " << reference(f);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}
