// Reader of 4Spec curve files (.crv): one curve of the file, chosen when there are several.
//
// Knowledge: the known outline of the format; no real file was at hand. Relied on:
//   file: bytes 0 to 3 signature (0xFC 0xFF 0x04 0x81), 4 number of curves (32-bit);
//   curve: a 217-byte header (0 name, 28 bytes; 214 value type, 1 signed 32-bit integers or
//   2 32-bit floats; 215 number of values n, 32-bit, reaching two bytes past the header),
//   then the n values from byte 217 on; a curve takes 217 + 4n + 8 bytes in all.
// Ignored: the rest of the curve header and the 8 bytes behind the values. x is the value's
// position (1, 2, …). A curve of another value type is not read ("UnknownFormat"): its values
// could not be told apart from garbage.
#include <vector>

#include "../FileBytes.h"
#include "../ValueRules.h"
#include "InstrumentBytes.h"
#include "Readers.h"

namespace lumio::detail {
namespace {

constexpr std::uint64_t kFileHeader = 8;
constexpr std::uint64_t kCurveHeader = 217;
constexpr std::uint64_t kCurveTrailer = 8;
constexpr std::uint64_t kCountOffset = 215;
constexpr std::uint64_t kTypeOffset = 214;
constexpr std::size_t kNameWidth = 28;

enum ValueType : std::uint8_t { Integer32 = 1, Float32 = 2 };

// The signature test as the program always made it: any one of the four bytes suffices.
bool signatureFits(const ByteView& file) {
    return file.u8(0) == 0xFC || file.u8(1) == 0xFF || file.u8(2) == 0x04 || file.u8(3) == 0x81;
}

}  // namespace

void read4Spec(ReadContext& ctx) {
    const FileBytes bytes = readWholeFile(ctx.record.fileName);
    const ByteView file(bytes);
    if (file.size() == 0) fail(keyword::NullFile);
    if (file.size() < kFileHeader || !signatureFits(file)) fail(keyword::UnknownFormat);
    const std::uint32_t curves = file.u32(4);
    if (curves == 0) fail(keyword::NullFile);

    // Find every curve before asking, so that the dialog offers only curves that are there;
    // each takes at least its header, which bounds the walk by the file size.
    if (!countFits(curves, kCurveHeader + kCurveTrailer, file.size())) fail(keyword::UnknownFormat);
    std::vector<std::uint64_t> starts;
    starts.reserve(curves);
    std::uint64_t at = kFileHeader;
    for (std::uint32_t c = 0; c < curves; ++c) {
        if (!file.fits(at, kCountOffset + 4)) fail(keyword::UnknownFormat);
        const std::uint32_t n = file.u32(at + kCountOffset);
        if (!countFits(n, 4, file.size())) fail(keyword::UnknownFormat);
        const std::uint64_t length = kCurveHeader + 4 * std::uint64_t{n} + kCurveTrailer;
        if (!file.fits(at, length)) fail(keyword::UnknownFormat);
        starts.push_back(at);
        at += length;
    }

    int chosen = 1;
    if (curves > 1) chosen = chooseNumberedTrack(ctx, static_cast<int>(curves));
    const std::uint64_t curve = starts[static_cast<std::size_t>(chosen - 1)];
    const std::uint8_t type = file.u8(curve + kTypeOffset);
    if (type != Integer32 && type != Float32) fail(keyword::UnknownFormat);
    const std::uint32_t n = file.u32(curve + kCountOffset);
    if (n == 0) fail(keyword::NullFile);

    ctx.record.plotInfo.title = file.text(curve, kNameWidth);
    PointCollector points(ctx);
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint64_t v = curve + kCurveHeader + 4 * std::uint64_t{i};
        points.add(double(i) + 1.0, type == Integer32 ? double(file.i32(v)) : double(file.f32(v)));
    }
    points.finish();
}

}  // namespace lumio::detail
