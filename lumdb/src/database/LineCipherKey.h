// The key schedule of the line cipher, shared by the bulk readers and DeCryptLine.
#pragma once

#include <cstddef>

namespace lumdb::detail {

constexpr unsigned kCipherLow = 0x20;   // lowest byte that is enciphered
constexpr unsigned kCipherSpan = 0xE0;  // 0x20..0xFF

// Amount by which the byte at position i of a line of `length` bytes is rotated.
inline unsigned cipherKey(std::size_t i, std::size_t length) {
    const std::size_t remaining = length - i;
    const unsigned base = static_cast<unsigned>((61u + 13u * i + 29u * remaining) % kCipherSpan);
    const unsigned wobble = static_cast<unsigned>(3u + (i * 7u + remaining) % 11u);
    // The alternating term: added on even positions, taken away on odd ones.
    return (i & 1u) ? (base + kCipherSpan - wobble) % kCipherSpan : (base + wobble) % kCipherSpan;
}

// Deciphers `length` bytes in place (mode 0 of DeCryptLine). The same keys as cipherKey,
// stepped along the line without divisions: the base falls by 16 per position, the wobble
// rises by 6 modulo 11. This loop is most of the cost of reading the database.
inline void decipherBytes(char* p, std::size_t length) {
    unsigned base = static_cast<unsigned>((61u + 29u * length) % kCipherSpan);
    unsigned wobble = static_cast<unsigned>(length % 11u);
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned w = 3u + wobble;
        unsigned key = (i & 1u) ? base + kCipherSpan - w : base + w;
        if (key >= kCipherSpan) key -= kCipherSpan;
        const auto c = static_cast<unsigned char>(p[i]);
        if (c >= kCipherLow) {
            unsigned shifted = c - kCipherLow + kCipherSpan - key;
            if (shifted >= kCipherSpan) shifted -= kCipherSpan;
            p[i] = static_cast<char>(shifted + kCipherLow);
        }
        base = base >= 16u ? base - 16u : base + kCipherSpan - 16u;
        wobble += 6u;
        if (wobble >= 11u) wobble -= 11u;
    }
}

}  // namespace lumdb::detail
