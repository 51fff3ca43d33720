// The cipher of the stored database lines, and the glyph rewriting of DeCryptLine's other
// modes.
//
// Every byte from 0x20 to 0xFF is rotated within that range by an amount that depends on
// its position i and on the number of bytes L - i up to the line end, with a term that
// changes sign with the parity of i. Staying inside 0x20..0xFF is what keeps a stored line
// free of line ends and NUL bytes whatever the text, so stored files can be split at '\n'.
#include <cstring>
#include <vector>

#include "LineCipherKey.h"
#include "lumcore/Printf.h"
#include "lumdb/Database.h"

namespace {

// Degree sign, superscripts and vulgar fractions of Windows-1252 written as plain digits,
// so that quantum numbers printed with them compare and print like the others.
std::string rewriteGlyphs(const std::string& in) {
    std::string out;
    out.reserve(in.size() + 8);
    for (unsigned char c : in) {
        switch (c) {
            case 0xB0:
                out += '0';
                break;
            case 0xB2:
                out += '2';
                break;
            case 0xB3:
                out += '3';
                break;
            case 0xB9:
                out += '1';
                break;
            case 0xBC:
            case 0xBD:
            case 0xBE: {
                const unsigned denominator = c == 0xBD ? 2 : 4;
                const unsigned numerator = c == 0xBE ? 3 : 1;
                if (!out.empty() && out.back() >= '0' && out.back() <= '9') {
                    // "d" + fraction becomes one improper fraction: 2 1/2 -> 5/2.
                    const unsigned d = static_cast<unsigned>(out.back() - '0');
                    out.pop_back();
                    out += lumcore::strprintf("%u/%u", denominator * d + numerator, denominator);
                } else {
                    out += lumcore::strprintf("%u/%u", numerator, denominator);
                }
                break;
            }
            default:
                out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

namespace lumdb::detail {

const unsigned char* keyRow(std::size_t length) {
    static const std::vector<unsigned char> table = [] {
        std::vector<unsigned char> keys((kTabledLength + 1) * 256, 0);
        for (std::size_t length = 1; length <= kTabledLength; ++length)
            for (std::size_t i = 0; i < length; ++i)
                keys[length * 256 + i] = static_cast<unsigned char>(cipherKey(i, length));
        return keys;
    }();
    return table.data() + length * 256;
}

}  // namespace lumdb::detail

void DeCryptLine(std::string& line, unsigned char mode) {
    lumdb::detail::decipherBytes(line.data(), line.size());
    if (mode != 0) line = rewriteGlyphs(line);
}

void DeCryptLine(char* line, std::size_t capacity, unsigned char mode) {
    if (line == nullptr || capacity == 0) return;
    const std::size_t length = strnlen(line, capacity - 1);
    line[length] = '\0';
    lumdb::detail::decipherBytes(line, length);
    if (mode == 0) return;
    const std::string rewritten = rewriteGlyphs(std::string(line, length));
    const std::size_t n = rewritten.size() < capacity - 1 ? rewritten.size() : capacity - 1;
    std::memcpy(line, rewritten.data(), n);
    line[n] = '\0';
}

void EnCryptLine(std::string& line) {
    const std::size_t length = line.size();
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < lumdb::detail::kCipherLow) continue;
        const unsigned key = lumdb::detail::cipherKey(i, length);
        const unsigned shifted = (c - lumdb::detail::kCipherLow + key) % lumdb::detail::kCipherSpan;
        line[i] = static_cast<char>(shifted + lumdb::detail::kCipherLow);
    }
}
