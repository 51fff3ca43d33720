// QPainter canvas.
#include "lumgl_qt/QtCanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lumgl {

namespace {
QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

QtCanvas::QtCanvas(QPainter& painter, SDeviceRect target, QImage* image, bool raster)
    : painter_(painter), target_(target), image_(image), raster_(raster), textColor_(Qt::black) {
    if (image_) {
        // constBits() does not detach: these are the pixels the active painter writes.
        bits_ = const_cast<uchar*>(image_->constBits());
        stride_ = image_->bytesPerLine();
    }
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    setPen(SPenDesc{0, 1, PenStyle::Solid});
    brush_ = QBrush(Qt::white);
    font_ = toQFont(SFontDesc{});
}

QtCanvas::~QtCanvas() {
    flush();
}

QColor QtCanvas::toQColor(TColor c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QFont QtCanvas::toQFont(const SFontDesc& desc) {
    QFont font(QString::fromStdString(desc.face));
    // A positive height is the height of the character cell (ascent + descent), a negative
    // one that of the characters (the em); Qt's pixel size is the em.
    int pixels = desc.height < 0 ? -desc.height : desc.height;
    if (desc.height > 0) {
        QFont probe = font;
        probe.setPixelSize(1000);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0.0) pixels = static_cast<int>(std::lround(desc.height * 1000.0 / cell));
    }
    font.setPixelSize(std::max(1, pixels));
    const int weight = desc.weight <= 0 ? 400 : std::clamp(desc.weight, 100, 900);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(desc.italic);
    return font;
}

void QtCanvas::flush() {
    if (path_.size() >= 2) {
        painter_.drawPolyline(path_);
        column_ = Column{};
    }
    path_.clear();
}

void QtCanvas::setPen(const SPenDesc& pen) {
    flush();
    column_ = Column{};
    QPen p(toQColor(pen.color));
    p.setWidth(std::max(1, pen.width));
    p.setCosmetic(true);
    switch (pen.style) {
        case PenStyle::Solid:
            p.setStyle(Qt::SolidLine);
            break;
        case PenStyle::Dash:
            p.setStyle(Qt::DashLine);
            break;
        case PenStyle::Dot:
            p.setStyle(Qt::DotLine);
            break;
        case PenStyle::DashDot:
            p.setStyle(Qt::DashDotLine);
            break;
        case PenStyle::DashDotDot:
            p.setStyle(Qt::DashDotDotLine);
            break;
        case PenStyle::Null:
            p.setStyle(Qt::NoPen);
            break;
    }
    pen_ = p;
    painter_.setPen(pen_);
    // A 1-pixel solid line on a 32-bit image without scaling or clipping is written into
    // the pixels directly: every pixel of the line from one end to the other, both ends
    // included. The painter's stroker does the same work pixel by pixel through a blend
    // callback, which made it most of the cost of a dense diagram.
    const QImage::Format format = image_ ? image_->format() : QImage::Format_Invalid;
    direct_ = bits_ &&
              (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
               format == QImage::Format_ARGB32_Premultiplied) &&
              pen.style == PenStyle::Solid && pen.width <= 1 && painter_.transform().isIdentity() &&
              !painter_.hasClipping() &&
              painter_.compositionMode() == QPainter::CompositionMode_SourceOver;
    penRgb_ = qRgb(pen.color & 0xFF, (pen.color >> 8) & 0xFF, (pen.color >> 16) & 0xFF);
}

void QtCanvas::setBrush(TColor color) {
    brush_ = QBrush(toQColor(color));
}

void QtCanvas::setFont(const SFontDesc& font) {
    font_ = toQFont(font);
    escapement_ = font.escapement;
}

void QtCanvas::setTextColor(TColor color) {
    textColor_ = toQColor(color);
}

void QtCanvas::moveTo(SDevicePoint p) {
    flush();
    position_ = p;
}

void QtCanvas::directLine(SDevicePoint a, SDevicePoint b) {
    const int w = image_->width();
    const int h = image_->height();
    uchar* const bits = bits_;
    const qsizetype stride = stride_;
    auto put = [&](int x, int y) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            reinterpret_cast<QRgb*>(bits + y * stride)[x] = penRgb_;
    };
    if (a.x == b.x) {
        if (a.x < 0 || a.x >= w) return;
        const int top = std::max(0, std::min(a.y, b.y));
        const int bottom = std::min(h - 1, std::max(a.y, b.y));
        // A dense curve's column goes back over its own span to reach the column's last
        // point; those pixels hold this pen's colour already.
        if (a.x == column_.x && top >= column_.top && bottom <= column_.bottom) return;
        for (int y = top; y <= bottom; ++y)
            reinterpret_cast<QRgb*>(bits + y * stride)[a.x] = penRgb_;
        column_ = Column{a.x, top, bottom};
        return;
    }
    // Bresenham from a to b, both ends included.
    int x = a.x, y = a.y;
    const int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    const int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        put(x, y);
        if (x == b.x && y == b.y) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void QtCanvas::lineTo(SDevicePoint p) {
    // Ends far outside the image (a frame larger than the image) go through the painter,
    // which clips before it walks the line.
    const int margin = 4096;
    if (direct_ && std::abs(position_.x) < margin + image_->width() &&
        std::abs(p.x) < margin + image_->width() &&
        std::abs(position_.y) < margin + image_->height() &&
        std::abs(p.y) < margin + image_->height()) {
        flush();
        directLine(position_, p);
        position_ = p;
        return;
    }
    if (path_.isEmpty()) path_ << QPoint(position_.x, position_.y);
    path_ << QPoint(p.x, p.y);
    position_ = p;
}

void QtCanvas::fillPolygon(const SDevicePoint* points, std::size_t count) {
    flush();
    QPolygon polygon;
    for (std::size_t i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
    painter_.setBrush(brush_);
    painter_.drawPolygon(polygon);
    column_ = Column{};
    painter_.setBrush(Qt::NoBrush);
}

void QtCanvas::textOut(SDevicePoint p, unsigned align, std::string_view utf8) {
    flush();
    const QString text = FromUtf8(utf8);
    const QFontMetrics metrics(font_);
    // Only a centred or right-aligned text needs its width, which costs a second shaping.
    int dx = 0;
    if ((align & kAlignHorizontalMask) == kAlignCenter) {
        dx = -metrics.horizontalAdvance(text) / 2;
    } else if ((align & kAlignHorizontalMask) == kAlignRight) {
        dx = -metrics.horizontalAdvance(text);
    }
    int dy = metrics.ascent();
    if ((align & kAlignVerticalMask) == kAlignBaseline) {
        dy = 0;
    } else if ((align & kAlignVerticalMask) == kAlignBottom) {
        dy = -metrics.descent();
    }
    painter_.save();
    painter_.setPen(textColor_);
    painter_.setFont(font_);
    painter_.translate(p.x, p.y);
    if (escapement_ != 0) painter_.rotate(-escapement_ / 10.0);
    painter_.drawText(QPoint(dx, dy), text);
    column_ = Column{};
    painter_.restore();
}

TColor QtCanvas::pixel(SDevicePoint p) const {
    const_cast<QtCanvas*>(this)->flush();
    if (!image_ || !image_->rect().contains(p.x, p.y)) return MakeColor(255, 255, 255);
    const QRgb rgb = image_->pixel(p.x, p.y);
    return MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void QtCanvas::setPixel(SDevicePoint p, TColor color) {
    flush();
    painter_.fillRect(QRect(p.x, p.y, 1, 1), toQColor(color));
    column_ = Column{};
}

int QtCanvas::fontHeight(const SFontDesc& font) const {
    return font.height;
}

TextSize QtCanvas::textExtent(const SFontDesc& font, std::string_view text) const {
    const QFontMetrics metrics(toQFont(font));
    return TextSize{metrics.horizontalAdvance(FromUtf8(text)), metrics.height()};
}

}  // namespace lumgl
