// PlotError and the fixed text metrics.
#include <algorithm>
#include <string>

#include "lumgl/PlotError.h"
#include "lumgl/TextMetrics.h"

namespace lumgl {

namespace {
std::string MessageOf(int code) {
    switch (code) {
        case kErrorLogXLimits:
            return "lumgl error 1: logarithmic x axis with a limit <= 0";
        case kErrorLogYLimits:
            return "lumgl error 2: logarithmic y axis with both limits <= 0";
        case kErrorNoData:
            return "lumgl error 3: no data points";
        default:
            return "lumgl error " + std::to_string(code);
    }
}
}  // namespace

PlotError::PlotError(int code) : std::runtime_error(MessageOf(code)), code_(code) {}
PlotError::~PlotError() = default;

TextMetrics::~TextMetrics() = default;

int FixedTextMetrics::fontHeight(const SFontDesc& font) const {
    return height_ != 0 ? height_ : font.height;
}

TextSize FixedTextMetrics::textExtent(const SFontDesc& font, std::string_view text) const {
    const int h = fontHeight(font);
    const int ah = h < 0 ? -h : h;
    const int cw = charWidth_ > 0 ? charWidth_ : std::max(1, ah / 2);
    return TextSize{static_cast<int>(text.size()) * cw, ah};
}

}  // namespace lumgl
