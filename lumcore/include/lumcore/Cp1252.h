// Windows-1252 <-> UTF-8. Every text file Lumora reads or writes is Windows-1252 on disk;
// in memory text is UTF-8. The five bytes Windows leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the C1 control characters of the same value, so every byte round-trips.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumcore {

std::string cp1252ToUtf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold become `replacement`; malformed UTF-8 bytes are
// taken as Windows-1252 bytes themselves, so no input is lost.
std::string utf8ToCp1252(std::string_view utf8, char replacement = '?');

// The Windows-1252 byte of a code point, or -1 when Windows-1252 has no such character.
int cp1252Byte(char32_t codePoint);

// Decodes the UTF-8 sequence that starts at text[i]; returns its length, or 0 when it is
// not well-formed (see utf8SequenceLength).
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& codePoint);

// The length of the well-formed UTF-8 sequence starting at `at` (1 for ASCII; no overlong
// forms, no surrogates, nothing above U+10FFFF), or 0 when the bytes there are not one.
std::size_t utf8SequenceLength(std::string_view s, std::size_t at);

}  // namespace lumcore
