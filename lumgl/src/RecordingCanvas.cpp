// The recording canvas of the golden tests.
#include "lumgl/RecordingCanvas.h"

#include "lumcore/Printf.h"

namespace lumgl {

namespace {
const char* StyleName(PenStyle style) {
    switch (style) {
        case PenStyle::Solid:
            return "solid";
        case PenStyle::Dash:
            return "dash";
        case PenStyle::Dot:
            return "dot";
        case PenStyle::DashDot:
            return "dashdot";
        case PenStyle::DashDotDot:
            return "dashdotdot";
        case PenStyle::Null:
            return "null";
    }
    return "?";
}
}  // namespace

std::string ColorText(TColor color) {
    return lumcore::strprintf("#%02x%02x%02x", color & 0xFF, (color >> 8) & 0xFF,
                              (color >> 16) & 0xFF);
}

std::string AlignText(unsigned align) {
    std::string h = "left";
    if ((align & kAlignHorizontalMask) == kAlignCenter) {
        h = "center";
    } else if ((align & kAlignHorizontalMask) == kAlignRight) {
        h = "right";
    }
    std::string v = "top";
    if ((align & kAlignVerticalMask) == kAlignBaseline) {
        v = "baseline";
    } else if ((align & kAlignVerticalMask) == kAlignBottom) {
        v = "bottom";
    }
    return h + "|" + v;
}

RecordingCanvas::RecordingCanvas(SDeviceRect target, bool raster)
    : target_(target), raster_(raster) {}

void RecordingCanvas::line(const std::string& text) {
    trace_ += text;
    trace_ += '\n';
}

void RecordingCanvas::setPen(const SPenDesc& pen) {
    line(lumcore::strprintf("pen %s %d %s", ColorText(pen.color).c_str(), pen.width,
                            StyleName(pen.style)));
}

void RecordingCanvas::setBrush(TColor color) {
    line("brush " + ColorText(color));
}

void RecordingCanvas::setFont(const SFontDesc& font) {
    line(lumcore::strprintf("font \"%s\" %d %d esc %d", font.face.c_str(), font.height, font.weight,
                            font.escapement));
}

void RecordingCanvas::setTextColor(TColor color) {
    line("textcolor " + ColorText(color));
}

void RecordingCanvas::moveTo(SDevicePoint p) {
    line(lumcore::strprintf("move %d,%d", p.x, p.y));
}

void RecordingCanvas::lineTo(SDevicePoint p) {
    line(lumcore::strprintf("line %d,%d", p.x, p.y));
}

void RecordingCanvas::fillPolygon(const SDevicePoint* points, std::size_t count) {
    std::string text = "polygon";
    for (std::size_t i = 0; i < count; ++i) {
        text += lumcore::strprintf(" %d,%d", points[i].x, points[i].y);
    }
    line(text);
}

void RecordingCanvas::textOut(SDevicePoint p, unsigned align, std::string_view utf8) {
    line(lumcore::strprintf("text %d,%d %s \"", p.x, p.y, AlignText(align).c_str()) +
         std::string(utf8) + "\"");
}

TColor RecordingCanvas::backgroundAt(SDevicePoint p) {
    return static_cast<TColor>((p.x * 7919 + p.y * 104729) & 0xFFFFFF);
}

TColor RecordingCanvas::pixel(SDevicePoint p) const {
    auto it = pixels_.find({p.x, p.y});
    return it == pixels_.end() ? backgroundAt(p) : it->second;
}

void RecordingCanvas::setPixel(SDevicePoint p, TColor color) {
    pixels_[{p.x, p.y}] = color;
    line(lumcore::strprintf("pixel %d,%d ", p.x, p.y) + ColorText(color));
}

void RecordingCanvas::beginGroup() {
    line("group begin");
}
void RecordingCanvas::endGroup() {
    line("group end");
}

int RecordingCanvas::fontHeight(const SFontDesc& font) const {
    return font.height;
}

TextSize RecordingCanvas::textExtent(const SFontDesc& font, std::string_view text) const {
    const int h = font.height < 0 ? -font.height : font.height;
    return TextSize{static_cast<int>(text.size()) * (h / 2), h};
}

}  // namespace lumgl
