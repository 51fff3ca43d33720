// A canvas that writes every call as one line of text, for golden tests of the drawing
// code. Font metrics are fixed (height as set, every character half the height wide), and
// pixels that were never set read back as a pattern of their position, so traces do not
// depend on fonts or a display.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "lumgl/Canvas.h"
#include "lumgl/lumgl_export.h"

namespace lumgl {

class LUMGL_EXPORT RecordingCanvas : public Canvas {
  public:
    explicit RecordingCanvas(SDeviceRect target, bool raster = false);

    SDeviceRect target() const override { return target_; }
    void setPen(const SPenDesc& pen) override;
    void setBrush(TColor color) override;
    void setFont(const SFontDesc& font) override;
    void setTextColor(TColor color) override;
    void moveTo(SDevicePoint p) override;
    void lineTo(SDevicePoint p) override;
    void fillPolygon(const SDevicePoint* points, std::size_t count) override;
    void textOut(SDevicePoint p, unsigned align, std::string_view utf8) override;
    TColor pixel(SDevicePoint p) const override;
    void setPixel(SDevicePoint p, TColor color) override;
    bool reducesDenseCurves() const override { return raster_; }
    void beginGroup() override;
    void endGroup() override;

    int fontHeight(const SFontDesc& font) const override;
    TextSize textExtent(const SFontDesc& font, std::string_view text) const override;

    const std::string& trace() const { return trace_; }
    // The colour a pixel that was never set reads back as.
    static TColor backgroundAt(SDevicePoint p);

  private:
    void line(const std::string& text);

    SDeviceRect target_;
    bool raster_;
    std::string trace_;
    std::map<std::pair<int, int>, TColor> pixels_;
};

// "#rrggbb" of a colour value (red in the low byte).
LUMGL_EXPORT std::string ColorText(TColor color);
// "left|top", "center|bottom", ... of an alignment.
LUMGL_EXPORT std::string AlignText(unsigned align);

}  // namespace lumgl
