// The quick reading of plain decimals: wherever it answers, it answers exactly as reading
// the text as a float with from_chars does, word-at-a-time path and digit-by-digit path alike.
#include <gtest/gtest.h>

#include <charconv>
#include <random>
#include <string>

#include "formats/NumberText.h"

using lumio::detail::readSimpleFloat;

namespace {

// Checks one text, followed by `tail` so that both paths are taken (the word path needs
// 16 bytes ahead).
void expectAsFromChars(const std::string& text, const std::string& tail, int& answered) {
    const std::string buffer = text + tail;
    const char* begin = buffer.data();
    const char* end = begin + buffer.size();
    const char* p = begin;
    float quick;
    if (!readSimpleFloat(p, end, quick)) {
        EXPECT_EQ(p, begin) << text;
        return;
    }
    ++answered;
    float exact;
    const auto r = std::from_chars(begin, end, exact);
    ASSERT_EQ(r.ec, std::errc()) << text;
    EXPECT_EQ(r.ptr, p) << text;
    EXPECT_EQ(std::memcmp(&quick, &exact, 4), 0) << text << ": " << quick << " vs " << exact;
}

TEST(SimpleFloat, AgreesWithFromChars) {
    std::mt19937 random(5);
    const std::string alphabet = "0123456789012345678901234567890123456789..-eE;, \t\n";
    int answered = 0;
    for (int i = 0; i < 300000; ++i) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 20);
        for (int k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
        expectAsFromChars(text, "", answered);
        expectAsFromChars(text, " 1234567890123456789", answered);
    }
    // Numbers as files hold them, of every length up to nine significant digits.
    std::uniform_int_distribution<int> digitsBefore(0, 9), digitsAfter(0, 9);
    for (int i = 0; i < 300000; ++i) {
        std::string text = (random() & 1) ? "-" : "";
        for (int k = digitsBefore(random); k > 0; --k) text += static_cast<char>('0' + random() % 10);
        text += '.';
        for (int k = digitsAfter(random); k > 0; --k) text += static_cast<char>('0' + random() % 10);
        expectAsFromChars(text, "\n", answered);
        expectAsFromChars(text, " 12345.678\n400.25 7\n", answered);
    }
    EXPECT_GT(answered, 500000);  // the quick way does answer the common case
}

TEST(SimpleFloat, FieldEndsBeforeTheBufferDoes) {
    // The buffer goes on behind the field (the rest of the file); only the field counts,
    // also where digits follow right behind it.
    const std::string buffer = "12345678901234567890123456789";
    for (std::size_t length = 1; length < 12; ++length) {
        for (std::size_t dot : {std::string::npos, std::size_t{0}, std::size_t{2}, std::size_t{5}}) {
            std::string text = buffer;
            if (dot != std::string::npos && dot < length) text[dot] = '.';
            const char* p = text.data();
            float quick;
            const bool ok = readSimpleFloat(p, text.data() + length, quick, text.data() + text.size());
            float exact;
            const auto r = std::from_chars(text.data(), text.data() + length, exact);
            if (ok) {
                EXPECT_EQ(p, r.ptr) << text.substr(0, length);
                EXPECT_EQ(quick, exact) << text.substr(0, length);
            }
        }
    }
}

TEST(SimpleFloat, TypicalLines) {
    for (const char* text : {"200.0005 12345.67\n", "-0.5;3\n", "7\t8\n", "1234567.5 1\n"}) {
        const std::string line = std::string(text) + std::string(16, ' ');
        const char* p = line.data();
        float value;
        ASSERT_TRUE(readSimpleFloat(p, line.data() + line.size(), value)) << text;
        float exact;
        std::from_chars(line.data(), line.data() + line.size(), exact);
        EXPECT_EQ(value, exact);
    }
}

}  // namespace
