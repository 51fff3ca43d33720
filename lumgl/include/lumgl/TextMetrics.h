// What lumgl needs to know about text: the height of a font (the frame geometry of
// the frame geometry is built from it) and the extent of a text in a font (labels).
// A canvas of the program (Qt) answers for screen and printer; tests and batch exports use
// FixedTextMetrics.
#pragma once

#include <string_view>

#include "lumgl/PlotInfo.h"
#include "lumgl/lumgl_export.h"

namespace lumgl {

struct TextSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TextSize&, const TextSize&) = default;
};

class LUMGL_EXPORT TextMetrics {
  public:
    virtual ~TextMetrics();
    // The height h of the frame geometry: the font's logical height as set in the font
    // (for a font description that is SFontDesc::height, in device units).
    virtual int fontHeight(const SFontDesc& font) const = 0;
    // Width and height in device units of `text` written in `font` (unturned).
    virtual TextSize textExtent(const SFontDesc& font, std::string_view text) const = 0;
};

// Metrics without a device: the font height is the font's logical height (or a fixed
// height when one is given), every character is `charWidth` wide (half the height when 0).
class LUMGL_EXPORT FixedTextMetrics : public TextMetrics {
  public:
    explicit FixedTextMetrics(int charWidth = 0, int height = 0)
        : charWidth_(charWidth), height_(height) {}
    int fontHeight(const SFontDesc& font) const override;
    TextSize textExtent(const SFontDesc& font, std::string_view text) const override;

  private:
    int charWidth_;
    int height_;
};

}  // namespace lumgl
