// The one drawing surface every diagram output goes through: screen, bitmap, printer, PDF
// and SVG (QPainter canvas), Windows metafiles (WmfCanvas), WPG files and the recording
// canvas of the tests. It speaks in device units of its target and in the terms the
// drawing code needs: current pen, solid brush, font with escapement, text colour, a
// current position for move/line, filled polygons, aligned text, single pixels.
#pragma once

#include <cstddef>
#include <string_view>

#include "lumgl/PlotInfo.h"
#include "lumgl/TextMetrics.h"
#include "lumgl/lumgl_export.h"

namespace lumgl {

// Text alignment flags with the values of the standard text-alignment flags, so that a
// metafile can store them as they are. Horizontal and vertical flags are or-ed.
enum TextAlign : unsigned {
    kAlignLeft = 0,
    kAlignRight = 2,
    kAlignCenter = 6,
    kAlignTop = 0,
    kAlignBottom = 8,
    kAlignBaseline = 24,
    kAlignHorizontalMask = 6,
    kAlignVerticalMask = 24,
};

class LUMGL_EXPORT Canvas : public TextMetrics {
  public:
    ~Canvas() override;

    // The device rectangle the canvas draws into (the window's client area on screen).
    virtual SDeviceRect target() const = 0;

    virtual void setPen(const SPenDesc& pen) = 0;
    virtual void setBrush(TColor color) = 0;  // a solid brush for fillPolygon
    virtual void setFont(const SFontDesc& font) = 0;
    virtual void setTextColor(TColor color) = 0;

    virtual void moveTo(SDevicePoint p) = 0;
    // A line in the current pen from the current position to p, which becomes current.
    virtual void lineTo(SDevicePoint p) = 0;
    // Fills the polygon with the brush and outlines it with the pen.
    virtual void fillPolygon(const SDevicePoint* points, std::size_t count) = 0;
    // Text in the current font and text colour; `align` or-s one horizontal and one
    // vertical TextAlign flag and is taken along the text's own direction (escapement).
    virtual void textOut(SDevicePoint p, unsigned align, std::string_view utf8) = 0;

    // Pixels, for the reticle. A canvas that cannot read back answers white.
    virtual TColor pixel(SDevicePoint p) const = 0;
    virtual void setPixel(SDevicePoint p, TColor color) = 0;

    // True for pixel targets (screen, bitmap, clipboard), where dense curves are reduced
    // to what each pixel column shows; vector targets get every segment.
    virtual bool reducesDenseCurves() const { return false; }

    // How many device units one screen pixel of the drawing rules spans (tick label
    // offsets, marker sizes). 1 everywhere but on WPG's 1200-per-inch grid.
    virtual int pixelUnit() const { return 1; }

    // Groups of drawing records, where the format has them (WPG); no-ops elsewhere.
    virtual void beginGroup() {}
    virtual void endGroup() {}
};

}  // namespace lumgl
