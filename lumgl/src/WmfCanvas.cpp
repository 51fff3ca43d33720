// Windows metafile writer behind the canvas interface. Layout from the published metafile
// format: a 22-byte placeable header, the 18-byte metafile header, records of
// (size in 16-bit words: 32 bits, function: 16 bits, parameters), and the end record.
#include "lumgl/WmfCanvas.h"

#include <algorithm>
#include <cstdio>

#include "lumcore/Cp1252.h"
#include "lumcore/SafeFile.h"

namespace lumgl {

namespace {

std::uint16_t Coord(int v) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(v, -32768, 32767)));
}

std::uint16_t Low(std::uint32_t v) {
    return static_cast<std::uint16_t>(v & 0xFFFF);
}
std::uint16_t High(std::uint32_t v) {
    return static_cast<std::uint16_t>(v >> 16);
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, Low(v));
    Put16(out, High(v));
}

std::uint16_t PenStyleCode(PenStyle style) {
    switch (style) {
        case PenStyle::Solid:
            return 0;
        case PenStyle::Dash:
            return 1;
        case PenStyle::Dot:
            return 2;
        case PenStyle::DashDot:
            return 3;
        case PenStyle::DashDotDot:
            return 4;
        case PenStyle::Null:
            return 5;
    }
    return 0;
}

// Bytes packed two to a word, little-endian, padded with a zero byte.
void PackBytes(std::vector<std::uint16_t>& params, const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const std::uint8_t lo = static_cast<std::uint8_t>(bytes[i]);
        const std::uint8_t hi = i + 1 < bytes.size() ? static_cast<std::uint8_t>(bytes[i + 1]) : 0;
        params.push_back(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
}

constexpr std::size_t kMaxPolyPoints = 16000;

}  // namespace

WmfCanvas::WmfCanvas(SDeviceRect target, const TextMetrics* metrics, int unitsPerInch)
    : target_(target), metrics_(metrics), unitsPerInch_(unitsPerInch) {
    record(kSetWindowOrg, {Coord(target.top), Coord(target.left)});
    record(kSetWindowExt, {Coord(target.height()), Coord(target.width())});
    record(kSetBkMode, {1});  // transparent text background
    setPen(SPenDesc{0, 1, PenStyle::Solid});
    setBrush(MakeColor(255, 255, 255));
    setFont(SFontDesc{});
}

void WmfCanvas::record(Function function, const std::vector<std::uint16_t>& params) {
    const std::uint32_t size = static_cast<std::uint32_t>(3 + params.size());
    words_.push_back(Low(size));
    words_.push_back(High(size));
    words_.push_back(function);
    words_.insert(words_.end(), params.begin(), params.end());
    maxRecord_ = std::max(maxRecord_, size);
}

void WmfCanvas::selectNew(Kind kind, Function create, const std::vector<std::uint16_t>& params) {
    flushLines();
    // A new object takes the lowest free slot of the object table.
    auto freeSlot = std::find(slots_.begin(), slots_.end(), false);
    const int index = static_cast<int>(freeSlot - slots_.begin());
    if (freeSlot == slots_.end()) {
        slots_.push_back(true);
    } else {
        *freeSlot = true;
    }
    record(create, params);
    record(kSelectObject, {static_cast<std::uint16_t>(index)});
    // The old object goes only after the new one is selected: never delete a selected one.
    if (selected_[kind] >= 0) {
        record(kDeleteObject, {static_cast<std::uint16_t>(selected_[kind])});
        slots_[static_cast<std::size_t>(selected_[kind])] = false;
    }
    selected_[kind] = index;
}

void WmfCanvas::setPen(const SPenDesc& pen) {
    selectNew(kPen, kCreatePenIndirect,
              {PenStyleCode(pen.style), Coord(pen.width), 0, Low(pen.color), High(pen.color)});
}

void WmfCanvas::setBrush(TColor color) {
    selectNew(kBrush, kCreateBrushIndirect, {0, Low(color), High(color), 0});
}

void WmfCanvas::setFont(const SFontDesc& font) {
    std::vector<std::uint16_t> params = {Coord(font.height), 0, Coord(font.escapement),
                                         Coord(font.escapement), Coord(font.weight)};
    // italic, underline, strike-out, character set (default: 1), output precision, clip
    // precision, quality, pitch and family
    params.push_back(static_cast<std::uint16_t>(font.italic ? 1 : 0));
    params.push_back(static_cast<std::uint16_t>(1 << 8));
    params.push_back(0);
    params.push_back(0);
    std::string face = lumcore::utf8ToCp1252(font.face).substr(0, 31);
    face.resize(32, '\0');
    PackBytes(params, face);
    selectNew(kFont, kCreateFontIndirect, params);
}

void WmfCanvas::setTextColor(TColor color) {
    if (textColorSet_ && color == textColor_) return;
    flushLines();
    record(kSetTextColor, {Low(color), High(color)});
    textColorSet_ = true;
    textColor_ = color;
}

void WmfCanvas::moveTo(SDevicePoint p) {
    flushLines();
    logical_ = p;
}

void WmfCanvas::lineTo(SDevicePoint p) {
    if (run_.empty()) run_.push_back(logical_);
    run_.push_back(p);
    logical_ = p;
    if (run_.size() >= kMaxPolyPoints) flushLines();
}

void WmfCanvas::flushLines() {
    if (run_.size() == 2) {
        if (!(device_ == run_[0])) record(kMoveTo, {Coord(run_[0].y), Coord(run_[0].x)});
        record(kLineTo, {Coord(run_[1].y), Coord(run_[1].x)});
        device_ = run_[1];
    } else if (run_.size() > 2) {
        std::vector<std::uint16_t> params = {static_cast<std::uint16_t>(run_.size())};
        for (const SDevicePoint& q : run_) {
            params.push_back(Coord(q.x));
            params.push_back(Coord(q.y));
        }
        record(kPolyline, params);  // leaves the current position where it was
    }
    const bool full = run_.size() >= kMaxPolyPoints;
    const SDevicePoint end = logical_;
    run_.clear();
    if (full) run_.push_back(end);  // a long curve goes on in the next record
}

void WmfCanvas::fillPolygon(const SDevicePoint* points, std::size_t count) {
    flushLines();
    count = std::min(count, kMaxPolyPoints);
    std::vector<std::uint16_t> params = {static_cast<std::uint16_t>(count)};
    for (std::size_t i = 0; i < count; ++i) {
        params.push_back(Coord(points[i].x));
        params.push_back(Coord(points[i].y));
    }
    record(kPolygon, params);
}

void WmfCanvas::textOut(SDevicePoint p, unsigned align, std::string_view utf8) {
    flushLines();
    if (align != align_) {
        record(kSetTextAlign, {static_cast<std::uint16_t>(align)});
        align_ = align;
    }
    const std::string bytes = lumcore::utf8ToCp1252(utf8).substr(0, 32000);
    std::vector<std::uint16_t> params = {static_cast<std::uint16_t>(bytes.size())};
    PackBytes(params, bytes);
    params.push_back(Coord(p.y));
    params.push_back(Coord(p.x));
    record(kTextOut, params);
}

TColor WmfCanvas::pixel(SDevicePoint) const {
    return MakeColor(255, 255, 255);
}

void WmfCanvas::setPixel(SDevicePoint p, TColor color) {
    flushLines();
    record(kSetPixel, {Low(color), High(color), Coord(p.y), Coord(p.x)});
}

int WmfCanvas::fontHeight(const SFontDesc& font) const {
    return metrics_ ? metrics_->fontHeight(font) : font.height;
}

TextSize WmfCanvas::textExtent(const SFontDesc& font, std::string_view text) const {
    if (metrics_) return metrics_->textExtent(font, text);
    const int h = font.height < 0 ? -font.height : font.height;
    return TextSize{static_cast<int>(text.size()) * (h / 2), h};
}

std::vector<std::uint8_t> WmfCanvas::bytes() {
    flushLines();
    std::vector<std::uint8_t> out;
    // Placeable header: key, handle, bounding box, units per inch, reserved, checksum of
    // the ten words before it.
    std::vector<std::uint16_t> placeable = {0xCDD7,
                                            0x9AC6,
                                            0,
                                            Coord(target_.left),
                                            Coord(target_.top),
                                            Coord(target_.right),
                                            Coord(target_.bottom),
                                            static_cast<std::uint16_t>(unitsPerInch_),
                                            0,
                                            0};
    std::uint16_t checksum = 0;
    for (std::uint16_t w : placeable) checksum ^= w;
    for (std::uint16_t w : placeable) Put16(out, w);
    Put16(out, checksum);

    const std::uint32_t total = static_cast<std::uint32_t>(9 + words_.size() + 3);
    Put16(out, 1);       // in memory... the type every reader takes for a disk file too
    Put16(out, 9);       // header size in words
    Put16(out, 0x0300);  // version
    Put32(out, total);
    Put16(out, static_cast<std::uint16_t>(std::max<std::size_t>(1, slots_.size())));
    Put32(out, maxRecord_);
    Put16(out, 0);
    for (std::uint16_t w : words_) Put16(out, w);
    Put32(out, 3);
    Put16(out, kEof);
    return out;
}

bool WmfCanvas::save(const std::string& path) {
    const std::vector<std::uint8_t> data = bytes();
    return lumcore::writeFileSafely(
        path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

}  // namespace lumgl
