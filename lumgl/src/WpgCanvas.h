// The canvas of the WPG export: lines and texts become WPG records; y grows upwards and
// one pixel of the drawing rules spans `unit` WPG units.
#pragma once

#include "WpgWriter.h"
#include "lumgl/Canvas.h"

namespace lumgl {

class WpgCanvas : public Canvas {
  public:
    WpgCanvas(WpgWriter& writer, SDeviceRect target, int unit)
        : writer_(writer), target_(target), unit_(unit < 1 ? 1 : unit) {}

    SDeviceRect target() const override { return target_; }
    void setPen(const SPenDesc&) override {}
    void setBrush(TColor) override {}
    void setFont(const SFontDesc&) override {}
    void setTextColor(TColor) override {}
    void moveTo(SDevicePoint p) override { position_ = p; }
    void lineTo(SDevicePoint p) override;
    void fillPolygon(const SDevicePoint* points, std::size_t count) override;
    void textOut(SDevicePoint p, unsigned align, std::string_view utf8) override;
    TColor pixel(SDevicePoint) const override { return MakeColor(255, 255, 255); }
    void setPixel(SDevicePoint, TColor) override {}
    int pixelUnit() const override { return unit_; }
    void beginGroup() override { writer_.beginGroup(); }
    void endGroup() override { writer_.endGroup(); }

    // Font sizes are screen pixels; on the page they are `unit` times larger.
    int fontHeight(const SFontDesc& font) const override { return font.height * unit_; }
    TextSize textExtent(const SFontDesc& font, std::string_view text) const override;

  private:
    WpgWriter& writer_;
    SDeviceRect target_;
    int unit_;
    SDevicePoint position_{};
};

}  // namespace lumgl
