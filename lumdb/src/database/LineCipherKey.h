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

// The keys of every position for lines up to kTabledLength bytes, one row of 256 per length
// (built once, 64 KiB). With the keys at hand the deciphering loop has no dependency from one
// byte to the next, so the compiler can vectorise it.
constexpr std::size_t kTabledLength = 255;
const unsigned char* keyRow(std::size_t length);

// Deciphers bytes [from, to) of a stored line of `length` bytes in place (mode 0 of
// DeCryptLine); the rest of the line may stay enciphered until it is needed.
inline void decipherRange(char* p, std::size_t from, std::size_t to, std::size_t length) {
    if (length <= kTabledLength) {
        // Byte arithmetic only, so that the loop vectorises: (c - 0x20 - key) mod 0xE0.
        const unsigned char* key = keyRow(length);
        auto* bytes = reinterpret_cast<unsigned char*>(p);
        for (std::size_t i = from; i < to; ++i) {
            const unsigned char c = bytes[i];
            const unsigned char u = static_cast<unsigned char>(c - kCipherLow);
            unsigned char r = static_cast<unsigned char>(u - key[i]);
            r = static_cast<unsigned char>(u < key[i] ? r + kCipherSpan : r);
            bytes[i] = c >= kCipherLow ? static_cast<unsigned char>(r + kCipherLow) : c;
        }
        return;
    }
    for (std::size_t i = from; i < to; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c < kCipherLow) continue;
        const unsigned shifted =
            (c - kCipherLow + kCipherSpan - cipherKey(i, length)) % kCipherSpan;
        p[i] = static_cast<char>(shifted + kCipherLow);
    }
}

inline void decipherBytes(char* p, std::size_t length) {
    decipherRange(p, 0, length, length);
}

}  // namespace lumdb::detail
