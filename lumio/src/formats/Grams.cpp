// Reader of Grams SPC files (.spc): the extension entry that tells the new format from the
// old one, and the readers of both.
//
// Knowledge: the published Galactic SPC layout (new format, little-endian "LSB" variant)
// and real files written by instrument software (Ocean Optics SpectraSuite, Horiba LabSpec,
// a scanning monochromator's software, the Galactic examples). Fields relied on:
//   header (512 bytes): 0 flags, 1 version (0x4B new, 0x4C new big-endian, 0x4D old),
//   4 number of points (32-bit), 8 first x and 16 last x (64-bit floats),
//   24 number of subfiles (32-bit), 28 x type (byte: 1 wavenumbers, 3 nanometres, …),
//   218 axis label text (30 bytes: x label, NUL, y label; their x label names the x unit
//   where the type is "arbitrary").
//   subheader (32 bytes, one per subfile): 1 y exponent (signed; -128 = 32-bit float y),
//   16 points of the subfile (32-bit, used when every subfile has its own x values).
// Ignored: the z and w axes, the unit codes, the date, the log block, the subfile directory
// that files with their own x per subfile may carry behind the data (the subfiles are walked
// one after the other instead), and the header's exponent (each subfile's own exponent
// applies, as files with mixed float and integer subfiles need).
// Ordered-z multifiles are read as any multifile (the z values are not kept); in files with
// their own x per subfile the subfiles are walked in order, so the directory behind the data
// (which repeats subfile 1) is never consulted. The big-endian variant, chromatograms and
// random-order files are refused with a message.
// The old format: a 256-byte header (0 flags, 1 version, 2 exponent (16-bit), 4 number of
// points, 8 first x, 12 last x, all 32-bit floats, 16 x type, 194 axis labels), whose last
// 32 bytes are the first subfile's subheader; the values follow it, 32-bit integers stored
// with their high 16-bit word first. A multifile stores no subfile count: subheader and
// values follow each other to the end of the file. A single spectrum takes the header's
// exponent, each subfile of a multifile its own.
#include <cmath>
#include <vector>

#include "../FileBytes.h"
#include "../ValueRules.h"
#include "InstrumentBytes.h"
#include "Readers.h"

namespace lumio::detail {
namespace {

constexpr std::uint8_t kVersionNew = 0x4B;
constexpr std::uint8_t kVersionNewBigEndian = 0x4C;
constexpr std::uint8_t kVersionOld = 0x4D;

constexpr std::uint8_t kFlag16BitY = 1;
constexpr std::uint8_t kFlagChromatogram = 2;
constexpr std::uint8_t kFlagMultiFile = 4;
constexpr std::uint8_t kFlagRandomX = 8;
constexpr std::uint8_t kFlagAxisLabels = 32;
constexpr std::uint8_t kFlagOwnX = 64;
constexpr std::uint8_t kFlagCommonX = 128;

constexpr std::uint64_t kHeaderSize = 512;
constexpr std::uint64_t kSubheaderSize = 32;
constexpr std::uint64_t kLabelOffset = 218;
constexpr std::size_t kLabelWidth = 30;
constexpr std::int8_t kFloatExponent = -128;

// The version byte, after the checks every Grams entry makes.
std::uint8_t versionOf(const ByteView& file) {
    if (file.size() == 0) fail(keyword::NullFile);
    if (file.size() < 2) fail(keyword::UnknownFormat);
    const std::uint8_t version = file.u8(1);
    if (version != kVersionNew && version != kVersionNewBigEndian && version != kVersionOld)
        fail(keyword::UnknownFormat);
    return version;
}

[[noreturn]] void refuseVariant(ReadContext& ctx) {
    ctx.ui.message(ctx.record.fileName +
                       "\n\nDieses Grams-Format wird noch nicht unterstützt.\n"
                       "Bitte wenden Sie sich an den Hersteller.",
                   kCaptionFileFormat, Icon::Stop, Buttons::Ok);
    fail(keyword::CancelOpenFile);
}

// Where each subfile starts and how many points it has. Walking all of them before the
// track dialog proves that the file holds what its header claims, so the dialog never
// offers a subfile that is not there.
struct Subfile {
    std::uint64_t offset;  // of its subheader
    std::uint32_t points;
};

std::vector<Subfile> locateSubfiles(const ByteView& file, std::uint64_t start,
                                    std::uint32_t subfiles, std::uint32_t headerPoints, bool ownX,
                                    unsigned yWidth) {
    // Every subfile takes at least its subheader, which bounds the list by the file size.
    if (!countFits(subfiles, kSubheaderSize, file.size())) fail(keyword::UnknownFormat);
    std::vector<Subfile> list;
    list.reserve(subfiles);
    std::uint64_t at = start;
    for (std::uint32_t i = 0; i < subfiles; ++i) {
        if (!file.fits(at, kSubheaderSize)) fail(keyword::UnknownFormat);
        const std::uint32_t points = ownX ? file.u32(at + 16) : headerPoints;
        const std::uint64_t valueBytes = (ownX ? 4u : 0u) + yWidth;
        if (!countFits(points, valueBytes, file.size())) fail(keyword::UnknownFormat);
        const std::uint64_t length = kSubheaderSize + std::uint64_t{points} * valueBytes;
        if (!file.fits(at, length)) fail(keyword::UnknownFormat);
        list.push_back({at, points});
        at += length;
    }
    return list;
}

// The y of value i of a subfile whose values start at `at`.
double yValue(const ByteView& file, std::uint64_t at, std::uint32_t i, unsigned yWidth,
              int exponent) {
    if (exponent == kFloatExponent) return file.f32(at + std::uint64_t{i} * 4);
    // The stored integers are fractions of 2^(8 × width), scaled by 2^exponent.
    const double value = yWidth == 2 ? double(file.i16(at + std::uint64_t{i} * 2))
                                     : double(file.i32(at + std::uint64_t{i} * 4));
    return std::ldexp(value, exponent - 8 * static_cast<int>(yWidth));
}

// The x unit of an x type code: 1 wavenumbers, 3 nanometres, 16 diode numbers, 17 channels,
// 22 data points; the rest has no x format code.
int unitOfXType(std::uint8_t type) {
    switch (type) {
        case 1:
            return 3;
        case 3:
            return 0;
        case 16:
        case 17:
        case 22:
            return 2;
        default:
            return SXFormat::kUnitUnknown;
    }
}

// Two NUL-terminated labels inside one 30-byte field.
void readAxisLabels(ReadContext& ctx, const ByteView& file, std::uint64_t at) {
    std::size_t firstEnd = 0;
    while (firstEnd < kLabelWidth && file.u8(at + firstEnd) != 0) ++firstEnd;
    ctx.record.plotInfo.xTitle = file.text(at, firstEnd);
    // Custom labels name the unit where the x type code gives none.
    declareUnitOfLabel(ctx.record, ctx.record.plotInfo.xTitle);
    ctx.record.plotInfo.yTitle = firstEnd + 1 < kLabelWidth
                                     ? file.text(at + firstEnd + 1, kLabelWidth - firstEnd - 1)
                                     : std::string();
}

constexpr std::uint64_t kOldHeaderSize = 256;
constexpr std::uint64_t kOldLabelOffset = 194;

void readOldFormat(ReadContext& ctx, const ByteView& file) {
    if (file.size() < kOldHeaderSize) fail(keyword::UnknownFormat);
    const std::uint8_t flags = file.u8(0);
    if ((flags & (kFlagChromatogram | kFlagRandomX | kFlagOwnX | kFlagCommonX)) != 0)
        refuseVariant(ctx);
    const float storedPoints = file.f32(4);
    if (!(storedPoints >= 1.0f)) fail(keyword::NullFile);
    if (!(storedPoints <= 4294967295.0f)) fail(keyword::UnknownFormat);
    const auto n = static_cast<std::uint32_t>(storedPoints);
    const unsigned yWidth = (flags & kFlag16BitY) ? 2 : 4;
    // Subfile k's subheader lies at 224 + k × (32 + values); as many as the file holds.
    const std::uint64_t valueBytes = std::uint64_t{n} * yWidth;
    const std::uint64_t firstSub = kOldHeaderSize - kSubheaderSize;
    if (!file.fits(kOldHeaderSize, valueBytes)) fail(keyword::UnknownFormat);
    const bool multi = (flags & kFlagMultiFile) != 0;
    const std::uint64_t stride = kSubheaderSize + valueBytes;
    const std::uint64_t subfiles = multi ? (file.size() - firstSub) / stride : 1;
    if (subfiles > 0x7fffffffu) fail(keyword::UnknownFormat);
    int chosen = 1;
    if (subfiles > 1) chosen = chooseNumberedTrack(ctx, static_cast<int>(subfiles));
    const std::uint64_t sub = firstSub + std::uint64_t(chosen - 1) * stride;
    const int exponent = multi ? file.i8(sub + 1) : file.i16(2);

    ctx.record.plotInfo.title.clear();
    ctx.record.xFormat.fileUnit = unitOfXType(file.u8(16));
    if (flags & kFlagAxisLabels) readAxisLabels(ctx, file, kOldLabelOffset);
    const double firstX = file.f32(8);
    const double lastX = file.f32(12);
    const double step = n > 1 ? (lastX - firstX) / (double(n) - 1.0) : 0.0;
    const std::uint64_t values = sub + kSubheaderSize;
    PointCollector points(ctx);
    for (std::uint32_t i = 0; i < n; ++i) {
        double y;
        if (yWidth == 2) {
            y = std::ldexp(double(file.i16(values + std::uint64_t{i} * 2)), exponent - 16);
        } else {
            const std::uint64_t at = values + std::uint64_t{i} * 4;
            const auto word =
                static_cast<std::int32_t>(std::uint32_t{file.u16(at)} << 16 | file.u16(at + 2));
            y = std::ldexp(double(word), exponent - 32);
        }
        points.add(firstX + double(i) * step, y);
    }
    points.finish();
}

void readNewFormat(ReadContext& ctx, const ByteView& file) {
    if (file.size() < kHeaderSize) fail(keyword::UnknownFormat);
    const std::uint8_t flags = file.u8(0);
    if (file.u8(1) == kVersionNewBigEndian || (flags & (kFlagChromatogram | kFlagRandomX)) != 0)
        refuseVariant(ctx);

    const unsigned yWidth = (flags & kFlag16BitY) ? 2 : 4;
    const bool ownX = (flags & kFlagOwnX) != 0;
    const bool commonX = !ownX && (flags & kFlagCommonX) != 0;
    const std::uint32_t headerPoints = file.u32(4);
    const double firstX = file.f64(8);
    const double lastX = file.f64(16);
    // A single-spectrum file may leave the count at 0; it still holds its one subfile.
    const bool multi = (flags & kFlagMultiFile) != 0;
    const std::uint32_t storedSubfiles = file.u32(24);
    const std::uint32_t subfiles = (multi && storedSubfiles > 1) ? storedSubfiles : 1;

    std::uint64_t start = kHeaderSize;
    if (commonX) {
        if (!countFits(headerPoints, 4, file.size())) fail(keyword::UnknownFormat);
        start += std::uint64_t{headerPoints} * 4;
    }
    if (!ownX && headerPoints == 0) fail(keyword::NullFile);
    const auto list = locateSubfiles(file, start, subfiles, headerPoints, ownX, yWidth);
    if (subfiles > 0x7fffffffu) fail(keyword::UnknownFormat);

    int chosen = 1;
    if (subfiles > 1) chosen = chooseNumberedTrack(ctx, static_cast<int>(subfiles));
    const Subfile& sub = list[static_cast<std::size_t>(chosen - 1)];
    const std::uint32_t n = sub.points;
    if (n == 0) fail(keyword::NullFile);
    const int exponent = file.i8(sub.offset + 1);
    const std::uint64_t values = sub.offset + kSubheaderSize;

    ctx.record.plotInfo.title.clear();
    ctx.record.xFormat.fileUnit = unitOfXType(file.u8(28));
    if (flags & kFlagAxisLabels) readAxisLabels(ctx, file, kLabelOffset);

    PointCollector points(ctx);
    if (ownX) {
        // n x values of the subfile, then its y values.
        const std::uint64_t yAt = values + std::uint64_t{n} * 4;
        for (std::uint32_t i = 0; i < n; ++i)
            points.add(file.f32(values + std::uint64_t{i} * 4),
                       yValue(file, yAt, i, yWidth, exponent));
    } else if (commonX) {
        for (std::uint32_t i = 0; i < n; ++i)
            points.add(file.f32(kHeaderSize + std::uint64_t{i} * 4),
                       yValue(file, values, i, yWidth, exponent));
    } else {
        // Evenly spaced x. A range stored as 0 … n − 1 means pixel numbers, which count from 1.
        const bool pixels = firstX == 0.0 && lastX == double(n) - 1.0;
        const double step = n > 1 ? (lastX - firstX) / (double(n) - 1.0) : 0.0;
        for (std::uint32_t i = 0; i < n; ++i) {
            const double x = pixels ? double(i) + 1.0 : firstX + double(i) * step;
            points.add(x, yValue(file, values, i, yWidth, exponent));
        }
    }
    points.finish();
}

}  // namespace

void readGrams(ReadContext& ctx) {
    const FileBytes bytes = readWholeFile(ctx.record.fileName);
    const ByteView file(bytes);
    if (versionOf(file) == kVersionOld) {
        ctx.formatCode = 12;
        readOldFormat(ctx, file);
    } else {
        readNewFormat(ctx, file);
    }
}

void readGramsNew(ReadContext& ctx) {
    const FileBytes bytes = readWholeFile(ctx.record.fileName);
    const ByteView file(bytes);
    // An old file read with the new layout would give nonsense.
    if (versionOf(file) == kVersionOld) fail(keyword::UnknownFormat);
    readNewFormat(ctx, file);
}

void readGramsOld(ReadContext& ctx) {
    const FileBytes bytes = readWholeFile(ctx.record.fileName);
    const ByteView file(bytes);
    if (versionOf(file) != kVersionOld) fail(keyword::UnknownFormat);
    readOldFormat(ctx, file);
}

}  // namespace lumio::detail
