// The QPainter canvas: draws lumgl diagrams on anything a QPainter paints on (a QImage for
// the screen's backing store, bitmap export and the clipboard; QPrinter, PDF, SVG).
#pragma once

#include <QFont>
#include <QPainter>
#include <QPolygon>

#include "lumgl/Canvas.h"
#include "lumgl_qt/lumgl_qt_export.h"

class QImage;

namespace lumgl {

class LUMGL_QT_EXPORT QtCanvas : public Canvas {
  public:
    // `painter` is active on the device; `target` is the drawing's client rectangle.
    // `image` is the QImage the painter paints on, if any: pixels are read from it (the
    // reticle); other devices read back white. `raster`: reduce dense curves per pixel
    // column (pixel targets); vector devices (PDF, SVG, printers) pass false.
    QtCanvas(QPainter& painter, SDeviceRect target, QImage* image = nullptr, bool raster = true);
    ~QtCanvas() override;

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

    int fontHeight(const SFontDesc& font) const override;
    TextSize textExtent(const SFontDesc& font, std::string_view text) const override;

    // Draws the lines collected since the last move (lines are batched into polylines).
    void flush();

    static QFont toQFont(const SFontDesc& font);
    // Whether lines go straight into the image's pixels rather than through the painter.
    bool drawsDirectly() const { return direct_; }
    static QColor toQColor(TColor color);

  private:
    void directLine(SDevicePoint a, SDevicePoint b);

    QPainter& painter_;
    SDeviceRect target_;
    QImage* image_;
    bool raster_;
    QPolygon path_;
    SDevicePoint position_;
    QPen pen_;
    bool direct_ = false;  // lines written straight into the image (see setPen)
    QRgb penRgb_ = 0;
    // The vertical run the last direct line wrote in the current pen, while nothing else has
    // drawn since: a line inside it would write the same pixels again.
    struct Column {
        int x = 0;
        int top = 0;
        int bottom = -1;
    } column_;
    uchar* bits_ = nullptr;  // the pixels the painter paints on, taken without a detach
    qsizetype stride_ = 0;
    QBrush brush_;
    QFont font_;
    int escapement_ = 0;
    QColor textColor_;
};

}  // namespace lumgl
