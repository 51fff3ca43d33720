// Bounds-checked little-endian access to a binary instrument file held in memory, and the
// number choice the binary instrument readers share.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "../ChoiceMemory.h"
#include "../ReadContext.h"
#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"

namespace lumio::detail {

// Every read is checked against the file size; a field beyond the end means the file is not
// what its header claims, which is "UnknownFormat". Readers check counts and offsets taken
// from a header with fits() before they allocate or loop, so this is the last line only.
class ByteView {
  public:
    explicit ByteView(std::string_view bytes) : bytes_(bytes) {}

    std::uint64_t size() const { return bytes_.size(); }
    bool fits(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    std::uint8_t u8(std::uint64_t at) const { return static_cast<std::uint8_t>(*field(at, 1)); }
    std::int8_t i8(std::uint64_t at) const { return static_cast<std::int8_t>(u8(at)); }
    std::uint16_t u16(std::uint64_t at) const { return static_cast<std::uint16_t>(le(at, 2)); }
    std::int16_t i16(std::uint64_t at) const { return static_cast<std::int16_t>(u16(at)); }
    std::uint32_t u32(std::uint64_t at) const { return static_cast<std::uint32_t>(le(at, 4)); }
    std::int32_t i32(std::uint64_t at) const { return static_cast<std::int32_t>(u32(at)); }
    std::uint64_t u64(std::uint64_t at) const { return le(at, 8); }
    float f32(std::uint64_t at) const {
        const std::uint32_t bits = u32(at);
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    double f64(std::uint64_t at) const {
        const std::uint64_t bits = le(at, 8);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

    // The bytes from `at` to the end (empty when `at` lies beyond it).
    std::string_view tail(std::uint64_t at) const {
        return at < bytes_.size() ? bytes_.substr(at) : std::string_view();
    }

    // A fixed text field of at most `width` bytes, ending at its first NUL, as UTF-8.
    std::string text(std::uint64_t at, std::size_t width) const {
        const char* p = field(at, width);
        std::size_t n = 0;
        while (n < width && p[n] != '\0') ++n;
        return lumcore::cp1252ToUtf8(std::string_view(p, n));
    }

  private:
    const char* field(std::uint64_t at, std::uint64_t length) const {
        if (!fits(at, length)) fail(keyword::UnknownFormat);
        return bytes_.data() + at;
    }
    std::uint64_t le(std::uint64_t at, int width) const {
        const auto* p =
            reinterpret_cast<const unsigned char*>(field(at, static_cast<unsigned>(width)));
        std::uint64_t v = 0;
        for (int i = width - 1; i >= 0; --i) v = (v << 8) | p[i];
        return v;
    }

    std::string_view bytes_;
};

// True when count × each ≤ limit, without overflow.
inline bool countFits(std::uint64_t count, std::uint64_t each, std::uint64_t limit) {
    return each == 0 || count <= limit / each;
}

// SelectTraceDialog for a Grams subfile or a 4Spec curve: asks for one of `count` numbers,
// starting with the number chosen last, appends " #" and the number to the file name and
// returns it. Cancelling fails with "CancelOpenFile".
inline int chooseNumberedTrack(ReadContext& ctx, int count) {
    int& last = lastChosenTrack();
    const auto chosen = ctx.ui.chooseTrack(ctx.record.fileName, count, initialChoice(last, count));
    if (!chosen) fail(keyword::CancelOpenFile);
    // The dialog refuses numbers outside 1..count; a user interface that lets one through
    // must not make us read outside the file.
    if (*chosen < 1 || *chosen > count) fail(keyword::UnknownFormat);
    last = *chosen;
    ctx.record.fileName += lumcore::strprintf(" #%d", *chosen);
    return *chosen;
}

}  // namespace lumio::detail
