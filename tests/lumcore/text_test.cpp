// Windows-1252 codec and printf helpers; the float texts of the files and the line database.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"

using namespace lumcore;

TEST(Cp1252, EveryByteRoundTripsAndTheC1RangeIsTheVendors) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(cp1252ToUtf8("\x80\x84\x96\x9F"), "€„–Ÿ");
    EXPECT_EQ(cp1252ToUtf8("Wellenl\xE4nge \xB5m"), "Wellenlänge µm");
    EXPECT_EQ(utf8ToCp1252("Intensität €"), "Intensit\xE4t \x80");
}

TEST(Cp1252, UnmappableAndMalformedInput) {
    EXPECT_EQ(utf8ToCp1252("a日b"), "a?b");
    EXPECT_EQ(utf8ToCp1252("a日b", '_'), "a_b");
    // A lone Latin-1 byte, an overlong "/" and a sequence cut at the end are not UTF-8:
    // they are kept byte by byte.
    EXPECT_EQ(utf8ToCp1252("a\xE4z"), "a\xE4z");
    EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "\xC0\xAF");
    EXPECT_EQ(utf8ToCp1252("x\xE2\x82"), "x\xE2\x82");
    // An encoded surrogate or a code point beyond U+10FFFF is no UTF-8 either.
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80"), "\xED\xA0\x80");
    EXPECT_EQ(utf8ToCp1252("\xF4\x90\x80\x80"), "\xF4\x90\x80\x80");
}

TEST(Printf, LongOutputIsComplete) {
    const std::string out = strprintf("<%s|%d>", std::string(1000, 'w').c_str(), 42);
    EXPECT_EQ(out.size(), 1000u + 5u);
    EXPECT_EQ(out.substr(out.size() - 4), "|42>");
}

// The shortest round-trip text of every value equals printf's precision search: "%.*g" from
// precision 6 up to the first text that strtof reads back. Over random bit patterns, the
// values near powers of two and ten where rounding is tight, every other float of the binade
// around 500 nm, every 7th of [1, 2) and every 13th subnormal.
TEST(FloatText, EqualsPrintfsPrecisionSearch) {
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> values = {0.0f,      -0.0f,      1.0f,        0.1f,       1e-5f,
                                 123456.0f, 1234567.0f, 16777216.0f, 3.4e38f,    -3.4e38f,
                                 1e-38f,    1.4e-45f,   500.0002f,   453.88123f, inf};
    std::mt19937 random(12345);
    for (int i = 0; i < 200000; ++i) {
        const float f = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isnan(f)) values.push_back(f);
    }
    for (int e = -40; e <= 38; ++e) {
        const float p = std::pow(10.0f, static_cast<float>(e));
        values.insert(values.end(), {p, std::nextafter(p, 0.0f), std::nextafter(p, inf)});
    }
    for (int e = -126; e <= 127; ++e) {
        const float p = std::ldexp(1.0f, e);
        values.insert(values.end(), {p, std::nextafter(p, 0.0f)});
    }
    for (const auto& [start, step] : {std::pair{256.0f, 2u}, {1.0f, 7u}, {1e-45f, 13u}}) {
        for (std::uint32_t i = 0; i < (1u << 23); i += step)
            values.push_back(std::bit_cast<float>(std::bit_cast<std::uint32_t>(start) + i));
    }
    int mismatches = 0;
    for (float f : values) {
        std::string reference;
        for (int precision = 6; precision <= 9; ++precision) {
            reference = strprintf("%.*g", precision, static_cast<double>(f));
            if (std::strtof(reference.c_str(), nullptr) == f) break;
        }
        if (shortestFloat(f) != reference && ++mismatches < 10)
            ADD_FAILURE() << shortestFloat(f) << " != " << reference;
    }
    EXPECT_EQ(mismatches, 0);
}
