// Readers of raw float spectra (.bin).
// Knowledge: the layout is ours (written by the binary export): little-endian IEEE 32-bit
// floats without a header, either x0 y0 x1 y1 ... or y0 y1 ...; a value of 1e9 or more
// ends the numbers and the bytes after it are a text (Windows-1252) that names the
// spectrum. Bytes that do not fill a last float are ignored. Which layout a file has is
// guessed from the order of the values: x rises or falls throughout, y does not.
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "FileBytes.h"
#include "ValueRules.h"
#include "formats/Readers.h"

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace lumio::detail {
namespace {

constexpr float kMarker = 1e9f;
constexpr std::size_t kWordMax = 25;

// The floats of a file, read in place.
class FloatView {
  public:
    explicit FloatView(std::string_view bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size() / 4; }
    float operator[](std::size_t i) const {
        std::uint32_t bits;
        std::memcpy(&bits, bytes_.data() + 4 * i, 4);
        if constexpr (std::endian::native == std::endian::big)
            bits =
                (bits >> 24) | ((bits >> 8) & 0xFF00u) | ((bits << 8) & 0xFF0000u) | (bits << 24);
        return std::bit_cast<float>(bits);
    }
    // The bytes behind float i.
    std::string_view after(std::size_t i) const { return bytes_.substr(4 * (i + 1)); }

  private:
    std::string_view bytes_;
};

FileBytes loadBinary(ReadContext& ctx) {
    FileBytes bytes = readWholeFile(ctx.record.fileName);
    if (bytes.size() < 4) fail(keyword::NullFile);
    return bytes;
}

bool isWordSpace(char c) {
    // Blanks as the C library knows them; a NUL byte does not belong in a title either.
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '\0';
}

// The trailer's words (each at most 25 characters; a longer run of letters gives several
// words) joined with one blank, kept within the title's length.
std::string trailerTitle(std::string_view trailer) {
    std::string title;
    std::size_t i = 0;
    while (i < trailer.size() && title.size() < SPlotInfo::kTitleMax) {
        while (i < trailer.size() && isWordSpace(trailer[i])) ++i;
        std::size_t length = 0;
        while (i + length < trailer.size() && length < kWordMax &&
               !isWordSpace(trailer[i + length]))
            ++length;
        if (length == 0) break;
        if (!title.empty()) title += ' ';
        title.append(trailer.substr(i, length));
        i += length;
    }
    return plotTitleOf(title);
}

void readPairs(ReadContext& ctx, std::string_view bytes) {
    const FloatView values(bytes);
    const std::size_t n = values.size();
    ctx.record.points.reserve(ctx.record.points.size() + n / 2 + 1);
    PointCollector points(ctx);
    const std::size_t before = points.count();  // the record may come filled
    // The pairs end at the first x that is a marker (i then stands on it) or at the end.
    std::size_t i = 0;
    while (i < n && !(values[i] >= kMarker)) i += 2;  // NaN is no marker
    // A file that ends after an x gives that point no y of its own: it takes the last
    // valid y, and the intensity message tells so.
    points.addFloatRun(i / 2, [&values, n](std::size_t k) {
        const float y = 2 * k + 1 < n ? values[2 * k + 1] : std::numeric_limits<float>::quiet_NaN();
        return std::pair<float, float>{values[2 * k], y};
    });
    std::string title;
    if (i < n) title = trailerTitle(values.after(i));
    if (points.count() == before) fail(keyword::NullFile);
    points.finish();
    ctx.record.plotInfo.title = std::move(title);
}

void readSingles(ReadContext& ctx, std::string_view bytes) {
    const FloatView values(bytes);
    const std::size_t n = values.size();
    ctx.record.points.reserve(ctx.record.points.size() + n);
    PointCollector points(ctx);
    const std::size_t before = points.count();  // the record may come filled
    std::size_t i = 0;
    while (i < n && !(values[i] >= kMarker)) ++i;  // up to the marker or the end; NaN is none
    points.addFloatRun(i, [&values](std::size_t k) {
        return std::pair<float, float>{static_cast<float>(k + 1), values[k]};
    });
    std::string title;
    if (i < n) title = trailerTitle(values.after(i));
    if (points.count() == before) fail(keyword::NullFile);
    points.finish();
    ctx.record.plotInfo.title = std::move(title);
}

}  // namespace

void readBinary(ReadContext& ctx) {
    const FileBytes bytes = loadBinary(ctx);
    const FloatView values(bytes);
    // Over the pairs (a, b) up to the marker: x never changes direction, y does.
    bool aRises = false, aFalls = false, bRises = false, bFalls = false;
    const std::size_t n = values.size();
    // The first marker among the a (or n and beyond): the pairs end before it. Found
    // first, so that the scan has no exit of its own and the compiler may widen it.
    std::size_t marker = 0;
    while (marker < n && !(values[marker] >= kMarker)) marker += 2;  // NaN is no marker
    std::size_t i = 0;
#if defined(__SSE2__)
    if constexpr (std::endian::native == std::endian::little) {
        // Two pairs at a time: (a0 b0 a1 b1) against (a1 b1 a2 b2); lanes 0 and 2 compare
        // a, lanes 1 and 3 compare b. Comparisons with NaN are false, as below.
        __m128 rises = _mm_setzero_ps(), falls = _mm_setzero_ps();
        const char* const data = bytes.data();
        for (; i + 5 < n && i + 4 < marker; i += 4) {
            const __m128 now = _mm_loadu_ps(reinterpret_cast<const float*>(data + 4 * i));
            const __m128 next = _mm_loadu_ps(reinterpret_cast<const float*>(data + 4 * (i + 2)));
            rises = _mm_or_ps(rises, _mm_cmpgt_ps(next, now));
            falls = _mm_or_ps(falls, _mm_cmplt_ps(next, now));
        }
        const int up = _mm_movemask_ps(rises), down = _mm_movemask_ps(falls);
        aRises = (up & 0b0101) != 0;
        bRises = (up & 0b1010) != 0;
        aFalls = (down & 0b0101) != 0;
        bFalls = (down & 0b1010) != 0;
    }
#endif
    for (; i + 3 < n && i + 2 < marker; i += 2) {
        const float a0 = values[i], b0 = values[i + 1], a1 = values[i + 2], b1 = values[i + 3];
        // Without branches: y goes up and down at random, a branch on it would be
        // mispredicted every other pair.
        aRises |= a1 > a0;
        aFalls |= a1 < a0;
        bRises |= b1 > b0;
        bFalls |= b1 < b0;
    }
    if (aRises && aFalls) {
        ctx.formatCode = 5;
        readSingles(ctx, bytes.view());
    } else if (bRises && bFalls) {
        ctx.formatCode = 4;
        readPairs(ctx, bytes.view());
    } else {
        fail(keyword::UnknownFormat);
    }
}

void readBinaryXY(ReadContext& ctx) {
    readPairs(ctx, loadBinary(ctx));
}

void readBinaryY(ReadContext& ctx) {
    readSingles(ctx, loadBinary(ctx));
}

}  // namespace lumio::detail
