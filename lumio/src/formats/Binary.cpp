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

#include "FileBytes.h"
#include "ValueRules.h"
#include "formats/Readers.h"
#include "lumcore/Cp1252.h"

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
            bits = (bits >> 24) | ((bits >> 8) & 0xFF00u) | ((bits << 8) & 0xFF0000u) | (bits << 24);
        return std::bit_cast<float>(bits);
    }
    // The bytes behind float i.
    std::string_view after(std::size_t i) const { return bytes_.substr(4 * (i + 1)); }

private:
    std::string_view bytes_;
};

std::string loadBinary(ReadContext& ctx) {
    std::string bytes = loadFile(ctx.record.fileName);
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
        while (i + length < trailer.size() && length < kWordMax && !isWordSpace(trailer[i + length]))
            ++length;
        if (length == 0) break;
        if (!title.empty()) title += ' ';
        title.append(trailer.substr(i, length));
        i += length;
    }
    std::string text = lumcore::cp1252ToUtf8(title);
    // Cut to the field's length without splitting a character.
    if (text.size() > SPlotInfo::kTitleMax) {
        std::size_t cut = SPlotInfo::kTitleMax;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text.resize(cut);
    }
    return text;
}

void readPairs(ReadContext& ctx, const std::string& bytes) {
    const FloatView values(bytes);
    const std::size_t n = values.size();
    ctx.record.points.reserve(ctx.record.points.size() + n / 2 + 1);
    PointCollector points(ctx);
    const std::size_t before = points.count();  // the record may come filled
    std::string title;
    for (std::size_t i = 0; i < n; i += 2) {
        const float x = values[i];
        if (x >= kMarker) {
            title = trailerTitle(values.after(i));
            break;
        }
        // A file that ends after an x gives that point no y of its own: it takes the last
        // valid y, and the intensity message tells so.
        const float y = i + 1 < n ? values[i + 1] : std::numeric_limits<float>::quiet_NaN();
        points.addFloats(x, y);
    }
    if (points.count() == before) fail(keyword::NullFile);
    points.finish();
    ctx.record.plotInfo.title = std::move(title);
}

void readSingles(ReadContext& ctx, const std::string& bytes) {
    const FloatView values(bytes);
    const std::size_t n = values.size();
    ctx.record.points.reserve(ctx.record.points.size() + n);
    PointCollector points(ctx);
    const std::size_t before = points.count();  // the record may come filled
    std::string title;
    for (std::size_t i = 0; i < n; ++i) {
        const float y = values[i];
        if (y >= kMarker) {
            title = trailerTitle(values.after(i));
            break;
        }
        points.addFloats(static_cast<float>(i + 1), y);
    }
    if (points.count() == before) fail(keyword::NullFile);
    points.finish();
    ctx.record.plotInfo.title = std::move(title);
}

}  // namespace

void readBinary(ReadContext& ctx) {
    const std::string bytes = loadBinary(ctx);
    const FloatView values(bytes);
    // Over the pairs (a, b) up to the marker: x never changes direction, y does.
    bool aRises = false, aFalls = false, bRises = false, bFalls = false;
    const std::size_t n = values.size();
    for (std::size_t i = 0; i + 3 < n; i += 2) {
        const float a0 = values[i], b0 = values[i + 1], a1 = values[i + 2], b1 = values[i + 3];
        if (a0 >= kMarker || a1 >= kMarker) break;
        // Without branches: y goes up and down at random, a branch on it would be
        // mispredicted every other pair.
        aRises |= a1 > a0;
        aFalls |= a1 < a0;
        bRises |= b1 > b0;
        bFalls |= b1 < b0;
    }
    if (aRises && aFalls) {
        ctx.formatCode = 5;
        readSingles(ctx, bytes);
    } else if (bRises && bFalls) {
        ctx.formatCode = 4;
        readPairs(ctx, bytes);
    } else {
        fail(keyword::UnknownFormat);
    }
}

void readBinaryXY(ReadContext& ctx) { readPairs(ctx, loadBinary(ctx)); }

void readBinaryY(ReadContext& ctx) { readSingles(ctx, loadBinary(ctx)); }

}  // namespace lumio::detail
