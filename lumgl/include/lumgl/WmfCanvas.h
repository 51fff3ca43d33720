// A canvas that writes a Windows metafile (placeable, 16-bit records): pens, brushes and
// fonts (with escapement) as objects, moves, lines, polylines, polygons, aligned text in
// Windows-1252, text colour and pixels. The diagram export draws into it with the same
// calls as the screen; it never reduces curves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lumgl/Canvas.h"
#include "lumgl/lumgl_export.h"

namespace lumgl {

class LUMGL_EXPORT WmfCanvas : public Canvas {
  public:
    // `target`: the client rectangle drawn, which becomes the picture's bounding box.
    // `metrics` measures text (the program passes its screen canvas so exported labels are
    // measured as on screen); without it a fixed width of half the height per character.
    // `unitsPerInch`: device units per inch stored in the placeable header.
    explicit WmfCanvas(SDeviceRect target, const TextMetrics* metrics = nullptr,
                       int unitsPerInch = 96);

    SDeviceRect target() const override { return target_; }
    void setPen(const SPenDesc& pen) override;
    void setBrush(TColor color) override;
    void setFont(const SFontDesc& font) override;
    void setTextColor(TColor color) override;
    void moveTo(SDevicePoint p) override;
    void lineTo(SDevicePoint p) override;
    void fillPolygon(const SDevicePoint* points, std::size_t count) override;
    void textOut(SDevicePoint p, unsigned align, std::string_view utf8) override;
    TColor pixel(SDevicePoint p) const override;  // a metafile cannot be read: white
    void setPixel(SDevicePoint p, TColor color) override;

    int fontHeight(const SFontDesc& font) const override;
    TextSize textExtent(const SFontDesc& font, std::string_view text) const override;

    // The complete file: placeable header, metafile header, records, end record.
    std::vector<std::uint8_t> bytes();
    // Writes bytes() to `path` through a temporary file that replaces it only when complete;
    // false, with the previous file unchanged, when it cannot be written.
    bool save(const std::string& path);

    // Record function numbers.
    enum Function : std::uint16_t {
        kEof = 0x0000,
        kSetBkMode = 0x0102,
        kSelectObject = 0x012D,
        kSetTextAlign = 0x012E,
        kDeleteObject = 0x01F0,
        kSetTextColor = 0x0209,
        kSetWindowOrg = 0x020B,
        kSetWindowExt = 0x020C,
        kLineTo = 0x0213,
        kMoveTo = 0x0214,
        kCreatePenIndirect = 0x02FA,
        kCreateFontIndirect = 0x02FB,
        kCreateBrushIndirect = 0x02FC,
        kPolygon = 0x0324,
        kPolyline = 0x0325,
        kSetPixel = 0x041F,
        kTextOut = 0x0521,
    };

  private:
    enum Kind { kPen, kBrush, kFont, kKinds };

    void record(Function function, const std::vector<std::uint16_t>& params);
    void selectNew(Kind kind, Function create, const std::vector<std::uint16_t>& params);
    void flushLines();

    SDeviceRect target_;
    const TextMetrics* metrics_;
    int unitsPerInch_;
    std::vector<std::uint16_t> words_;  // records after the metafile header
    std::vector<bool> slots_;           // object table
    int selected_[kKinds] = {-1, -1, -1};
    std::uint32_t maxRecord_ = 3;
    unsigned align_ = 0xFFFF;
    bool textColorSet_ = false;
    TColor textColor_ = 0;
    SDevicePoint logical_{};         // current position as the drawing code sees it
    SDevicePoint device_{};          // current position of the records written so far
    std::vector<SDevicePoint> run_;  // start and ends of consecutive lines
};

}  // namespace lumgl
