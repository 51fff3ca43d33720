// Windows-1252 codec and printf helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"

using namespace lumcore;

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_EQ(utf8ToCp1252(utf8), all);
}

TEST(Cp1252, VendorMappingOfTheC1Range) {
    EXPECT_EQ(cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(cp1252ToUtf8("\x84"), "„");
    EXPECT_EQ(cp1252ToUtf8("\x96"), "–");
    EXPECT_EQ(cp1252ToUtf8("\x9F"), "Ÿ");
    EXPECT_EQ(cp1252ToUtf8("Wellenl\xE4nge \xB5m"), "Wellenlänge µm");
    EXPECT_EQ(utf8ToCp1252("Intensität €"), "Intensit\xE4t \x80");
}

TEST(Cp1252, UnmappableAndMalformedInput) {
    EXPECT_EQ(utf8ToCp1252("a日b"), "a?b");
    EXPECT_EQ(utf8ToCp1252("a日b", '_'), "a_b");
    // A lone Latin-1 byte is not UTF-8: it is kept as the byte it is.
    EXPECT_EQ(utf8ToCp1252("a\xE4z"), "a\xE4z");
    // Overlong encoding of "/" is malformed and kept byte by byte.
    EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "\xC0\xAF");
    // Truncated sequence at the end.
    EXPECT_EQ(utf8ToCp1252("x\xE2\x82"), "x\xE2\x82");
}

TEST(Printf, LongOutputIsComplete) {
    const std::string word(1000, 'w');
    const std::string out = strprintf("<%s|%d>", word.c_str(), 42);
    EXPECT_EQ(out.size(), 1000u + 5u);
    EXPECT_EQ(out.substr(out.size() - 4), "|42>");
}

TEST(Printf, FieldWidthsFromArguments) {
    // The diagram labels build their own format ("%%%d.%df") and then apply it.
    const std::string fmt = strprintf("%%%d.%df", 6, 2);
    EXPECT_EQ(fmt, "%6.2f");
    EXPECT_EQ(strprintf(fmt.c_str(), 3.14159), "  3.14");
    EXPECT_EQ(strprintf("%g", 0.0001), "0.0001");
    EXPECT_EQ(strprintf("%g", 1234567.0), "1.23457e+06");
}

namespace {
bool roundTrips(const std::string& text, float v) {
    return std::strtof(text.c_str(), nullptr) == v;
}
}  // namespace

TEST(ShortestFloat, ReadsBackExactlyAndIsShortest) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> wave(180.0f, 1100.0f);
    std::uniform_real_distribution<float> expo(-30.0f, 30.0f);
    for (int i = 0; i < 20000; ++i) {
        const float v = (i % 2) ? wave(rng) : std::pow(10.0f, expo(rng)) * (i % 3 ? 1 : -1);
        const std::string text = shortestFloat(v);
        ASSERT_TRUE(roundTrips(text, v)) << text;
        // One significant digit fewer must not read back as the same float, unless the
        // text already has six or fewer (then %g's own trimming gives the shortest).
        const int digits = [&] {
            // significant digits: leading zeros do not count
            int n = 0;
            bool started = false;
            for (char c : text) {
                if (c == 'e') break;
                if (c >= '1' && c <= '9') started = true;
                if (started && c >= '0' && c <= '9') ++n;
            }
            return n;
        }();
        if (digits > 6) {
            EXPECT_FALSE(roundTrips(strprintf("%.*g", digits - 1, static_cast<double>(v)), v))
                << text;
        }
    }
}

TEST(ShortestFloat, NeighboursNearFiveHundredStayDistinct) {
    // 0.0002 nm steps near 500 nm differ only in the seventh digit; "%g" would merge them.
    float prev = 0.0f;
    std::string prevText;
    for (int i = 0; i < 1000; ++i) {
        const float x = 500.0f + 0.0002f * static_cast<float>(i);
        const std::string text = shortestFloat(x);
        EXPECT_TRUE(roundTrips(text, x));
        if (i > 0 && x != prev) {
            EXPECT_NE(text, prevText);
        }
        prev = x;
        prevText = text;
    }
    EXPECT_EQ(shortestFloat(0.1f), "0.1");
    EXPECT_EQ(shortestFloat(656.28f), "656.28");
}
