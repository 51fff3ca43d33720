// Database records as stored: the line cipher (stored lines never hold line ends or NUL
// bytes, DeCryptLine restores the plain text, the other modes rewrite the special glyphs) and
// the numbers, whose fast reader and writer must give exactly what the C library gives
// (strtof, printf "%g"), halfway cases and odd forms included.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <tuple>

#include "DataRows.h"
#include "lumdb/Candidate.h"
#include "lumdb/Database.h"

namespace lumdb::detail {
bool parseNumberField(std::string_view text, float& out);  // lumdb's internal reader and writer
void appendGeneral(std::string& out, float value, int precision);
}  // namespace lumdb::detail

namespace {

// Both readers give what strtof gives: the leading-number reader always, the whole-field
// reader wherever it takes the text (and it must take a plain number).
void expectSameAsStrtof(const std::string& text, bool plainNumber = true) {
    const float expected = std::strtof(text.c_str(), nullptr);
    const auto same = [&](float got) {
        return got == expected || (std::isnan(got) && std::isnan(expected));
    };
    const float leading = lumdb::ReadFloat(text);
    ASSERT_TRUE(same(leading)) << text << ": " << leading << " instead of " << expected;
    float field = 0.0f;
    const bool taken = lumdb::detail::parseNumberField(text, field);
    ASSERT_TRUE(taken || !plainNumber) << text;
    ASSERT_TRUE(!taken || same(field)) << text << ": " << field << " instead of " << expected;
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
    for (const std::string& text : texts) expectSameAsStrtof(text, false);
    expectSameAsStrtof("", false);
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

// Every byte value a plain line may hold, at every position of lines of several lengths:
// the stored byte stays a printable byte and deciphers back to the original.
TEST(LineCipher, EveryByteAtEveryPositionStaysPrintableAndRoundTrips) {
    for (std::size_t length : {1u, 2u, 3u, 8u, 31u, 64u, 130u, 255u}) {
        const std::string base(length, 'k');
        for (std::size_t pos = 0; pos < length; ++pos) {
            for (int byte = 0x20; byte <= 0xFF; ++byte) {
                std::string line = base;
                line[pos] = static_cast<char>(byte);
                std::string stored = line;
                EnCryptLine(stored);
                ASSERT_EQ(stored.size(), length);
                const auto c = static_cast<unsigned char>(stored[pos]);
                ASSERT_TRUE(c != '\0' && c != '\n' && c != '\r' && c >= 0x20)
                    << "byte " << byte << " at " << pos << " of " << length << " -> " << int(c);
                DeCryptLine(stored, 0);
                ASSERT_EQ(stored, line) << "byte " << byte << " at " << pos << " of " << length;
            }
        }
    }
}

TEST(LineCipher, StoredTextDependsOnPositionAndLineLength) {
    // The same character at different positions, and the same prefix in lines of different
    // lengths, are stored differently.
    std::string a(12, 'A'), b(13, 'A');
    EnCryptLine(a);
    EnCryptLine(b);
    EXPECT_TRUE(a[0] != a[1] && a[1] != a[2]);
    EXPECT_NE(a, b.substr(0, 12));
}

std::string decipheredWithMode(std::string plain, unsigned char mode) {
    EnCryptLine(plain);
    DeCryptLine(plain, mode);
    return plain;
}

TEST(LineCipher, OtherModesRewriteDegreeSuperscriptsAndFractions) {
    // Windows-1252: B0 degree, B2/B3/B9 superscripts, BC/BD/BE quarter, half, three quarters.
    EXPECT_EQ(decipheredWithMode("J=2\xBD;3\xBE;0\xBC", 1), "J=5/2;15/4;1/4");
    EXPECT_EQ(decipheredWithMode("\xBD \xBC \xBE", 2), "1/2 1/4 3/4");
    // A fraction right after a rewritten one follows the digit that rewrite ended with.
    EXPECT_EQ(decipheredWithMode("\xBD\xBD", 1), "1/5/2");
    EXPECT_EQ(decipheredWithMode("a\xB0\xB2\xB3\xB9z", 1), "a0231z");
    // Mode 0 leaves them alone.
    EXPECT_EQ(decipheredWithMode("2\xBD\xB0", 0), "2\xBD\xB0");
}

TEST(LineCipher, BufferOverloadDeciphersAndCutsARewrittenLineToItsCapacity) {
    // "\xBD \xBD \xBD" is rewritten to "1/2 1/2 1/2" and cut to 5 bytes and the NUL; a plain
    // line comes back whole.
    for (const auto& [plain, mode, want] :
         {std::tuple<std::string, int, std::string>{"\xBD \xBD \xBD", 1, "1/2 1"},
          {"656.28;0.64", 0, "656.28;0.64"}}) {
        std::string stored = plain;
        EnCryptLine(stored);
        char buffer[32] = {};
        std::memcpy(buffer, stored.data(), stored.size());
        DeCryptLine(buffer, mode == 1 ? 6 : sizeof buffer, static_cast<unsigned char>(mode));
        EXPECT_EQ(std::string(buffer), want);
    }
}

}  // namespace
