// Reader of Maps files (.mps): one track of one exposure of one sequence at one position.
//
// Knowledge: the known outline of the format; no real file was at hand, so the block walk
// below is our reading of that outline and is kept strict: every size is checked against
// the file before it is used. Relied on:
//   file header (34 bytes): 0 signature "MAPS", 4 x integer width code (1: 16-bit,
//   2: 32-bit), 6 layout kind, 12 zero in image files, 22 bytes to skip behind the header;
//   data header of layout kind 1 (42 bytes, behind the skipped bytes): 0 x value type
//   (0: integers of the width above, 1: 64-bit floats), 2 positions, 4 sequences,
//   6 exposures (one more when there are several: the sum the software stores with them),
//   28 tracks;
//   blocks, nested position > sequence > exposure > track: a position, sequence or exposure
//   block begins with a 16-bit length of its own header, which is skipped, followed by its
//   inner blocks; a track block is a 16-bit number of points n, n x values and n 32-bit
//   float y values.
// Ignored: all other header fields. Image files are refused with a message; layout kind 2
// is not read ("UnknownFormat") since only its outline is known.
#include <array>

#include "../FileBytes.h"
#include "../ValueRules.h"
#include "InstrumentBytes.h"
#include "Readers.h"

namespace lumio::detail {
namespace {

constexpr std::uint32_t kSignature = 0x5350414D;
constexpr std::uint64_t kFileHeader = 34;
constexpr std::uint64_t kDataHeader = 42;

// SelectMapsTraceDialog's last choice while the library is loaded.
MapsChoice lastChoice{0, 0, 0, 0};

struct Layout {
    unsigned xWidth;  // bytes of one x value
    bool xFloat;
    std::array<int, 4> counts;  // positions, sequences, exposures, tracks
};

// Walks the blocks from `at`, skipping every block before the chosen one on each level;
// returns the offset of the chosen track block.
class BlockWalk {
  public:
    BlockWalk(const ByteView& file, const Layout& layout) : file_(file), layout_(layout) {}

    std::uint64_t find(std::uint64_t at, const std::array<int, 4>& chosen) {
        for (int level = 0; level < 3; ++level) {
            for (int i = 1; i < chosen[level]; ++i) at = skip(at, level);
            at = enter(at);
        }
        for (int i = 1; i < chosen[3]; ++i) at = skipTrack(at);
        return at;
    }

    // Walks over every block once, so that the dialog offers only blocks that are there.
    void checkAll(std::uint64_t at) const {
        for (int i = 0; i < layout_.counts[0]; ++i) at = skip(at, 0);
    }

    std::uint64_t trackLength(std::uint64_t at) const {
        return 2 + std::uint64_t{file_.u16(at)} * (layout_.xWidth + 4);
    }

  private:
    // Behind the header of a position, sequence or exposure block.
    std::uint64_t enter(std::uint64_t at) const {
        const std::uint64_t length = 2 + std::uint64_t{file_.u16(at)};
        if (!file_.fits(at, length)) fail(keyword::UnknownFormat);
        return at + length;
    }
    std::uint64_t skipTrack(std::uint64_t at) const {
        const std::uint64_t length = trackLength(at);
        if (!file_.fits(at, length)) fail(keyword::UnknownFormat);
        return at + length;
    }
    // Behind a whole block of `level` with all its inner blocks. Every step moves forward by
    // at least two bytes or fails, so the walk ends within the file.
    std::uint64_t skip(std::uint64_t at, int level) const {
        at = enter(at);
        for (int i = 0; i < layout_.counts[level + 1]; ++i)
            at = level == 2 ? skipTrack(at) : skip(at, level + 1);
        return at;
    }

    const ByteView& file_;
    const Layout& layout_;
};

MapsChoice choose(ReadContext& ctx, const MapsChoice& counts) {
    const MapsChoice initial{initialChoice(lastChoice.position, counts.position),
                             initialChoice(lastChoice.sequence, counts.sequence),
                             initialChoice(lastChoice.exposure, counts.exposure),
                             initialChoice(lastChoice.track, counts.track)};
    const auto chosen = ctx.ui.chooseMaps(ctx.record.fileName, counts, initial);
    if (!chosen) fail(keyword::CancelOpenFile);
    const auto inRange = [](int v, int count) { return v >= 1 && v <= count; };
    if (!inRange(chosen->position, counts.position) ||
        !inRange(chosen->sequence, counts.sequence) ||
        !inRange(chosen->exposure, counts.exposure) || !inRange(chosen->track, counts.track))
        fail(keyword::UnknownFormat);
    lastChoice = *chosen;
    ctx.record.fileName += lumcore::strprintf(" #%d,%d,%d,%d", chosen->position, chosen->sequence,
                                              chosen->exposure, chosen->track);
    return *chosen;
}

}  // namespace

void readMaps(ReadContext& ctx) {
    const FileBytes bytes = readWholeFile(ctx.record.fileName);
    const ByteView file(bytes);
    if (file.size() == 0) fail(keyword::NullFile);
    if (file.size() < 4 || file.u32(0) != kSignature) fail(keyword::UnknownFormat);
    if (file.size() < kFileHeader) fail(keyword::UnknownFormat);
    const std::uint16_t widthCode = file.u16(4);
    const std::uint16_t kind = file.u16(6);
    if (kind == 2 && widthCode == 2 && file.u16(12) == 0) {
        showMessage(ctx, "\n\nMaps-Bildformate werden nicht unterstützt.");
        fail(keyword::CancelOpenFile);
    }
    if (kind != 1 || (widthCode != 1 && widthCode != 2)) fail(keyword::UnknownFormat);

    const std::uint64_t dataHeader = kFileHeader + file.u16(22);
    if (!file.fits(dataHeader, kDataHeader)) fail(keyword::UnknownFormat);
    const std::uint16_t xType = file.u16(dataHeader);
    if (xType > 1) fail(keyword::UnknownFormat);
    Layout layout;
    layout.xFloat = xType == 1;
    layout.xWidth = layout.xFloat ? 8 : 2u * widthCode;
    int exposures = file.u16(dataHeader + 6);
    if (exposures > 1) ++exposures;
    layout.counts = {file.u16(dataHeader + 2), file.u16(dataHeader + 4), exposures,
                     file.u16(dataHeader + 28)};
    for (int c : layout.counts)
        if (c < 1) fail(keyword::NullFile);

    const std::uint64_t firstBlock = dataHeader + kDataHeader;
    BlockWalk walk(file, layout);
    walk.checkAll(firstBlock);

    const MapsChoice counts{layout.counts[0], layout.counts[1], layout.counts[2], layout.counts[3]};
    MapsChoice chosen;
    if (counts.position > 1 || counts.sequence > 1 || counts.exposure > 1 || counts.track > 1)
        chosen = choose(ctx, counts);

    const std::uint64_t track =
        walk.find(firstBlock, {chosen.position, chosen.sequence, chosen.exposure, chosen.track});
    if (!file.fits(track, 2) || !file.fits(track, walk.trackLength(track)))
        fail(keyword::UnknownFormat);
    const std::uint32_t n = file.u16(track);
    if (n == 0) fail(keyword::NullFile);

    const std::uint64_t xs = track + 2;
    const std::uint64_t ys = xs + std::uint64_t{n} * layout.xWidth;
    ctx.record.plotInfo.title.clear();
    PointCollector points(ctx);
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint64_t xAt = xs + std::uint64_t{i} * layout.xWidth;
        const double x = layout.xFloat        ? file.f64(xAt)
                         : layout.xWidth == 2 ? double(file.i16(xAt))
                                              : double(file.i32(xAt));
        points.add(x, file.f32(ys + 4 * std::uint64_t{i}));
    }
    points.finish();
}

}  // namespace lumio::detail
