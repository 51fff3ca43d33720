// The line cipher: stored lines never hold line ends or NUL bytes, DeCryptLine restores the
// plain text, and the other modes rewrite the special glyphs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "lumdb/Database.h"

namespace {

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
