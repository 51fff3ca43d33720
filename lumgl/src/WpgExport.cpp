// ExportPlotAsWPG and ExportLinesAsWPG: the diagram and the line markers on the WPG page.
#include "lumgl/WpgExport.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "WpgCanvas.h"
#include "WpgWriter.h"
#include "lumcore/Cp1252.h"
#include "lumcore/SafeFile.h"
#include "lumgl/DiagramComposer.h"
#include "lumgl/Drawing.h"
#include "lumgl/Layout.h"
#include "lumgl/lumgl.h"

namespace lumgl {

void WpgCanvas::lineTo(SDevicePoint p) {
    writer_.line(position_, p);
    position_ = p;
}

void WpgCanvas::fillPolygon(const SDevicePoint* points, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) writer_.line(points[i], points[(i + 1) % count]);
}

void WpgCanvas::textOut(SDevicePoint p, unsigned align, std::string_view utf8) {
    std::uint8_t horizontal = 0;
    if ((align & kAlignHorizontalMask) == kAlignCenter) horizontal = 1;
    if ((align & kAlignHorizontalMask) == kAlignRight) horizontal = 2;
    std::uint8_t vertical = 2;
    if ((align & kAlignVerticalMask) == kAlignBottom) vertical = 4;
    if ((align & kAlignVerticalMask) == kAlignBaseline) vertical = 0;
    writer_.text(p, horizontal, vertical, utf8);
}

TextSize WpgCanvas::textExtent(const SFontDesc& font, std::string_view text) const {
    const int h = fontHeight(font) < 0 ? -fontHeight(font) : fontHeight(font);
    return TextSize{static_cast<int>(text.size()) * (h / 2), h};
}

WpgScale WpgScaleOf(const SDeviceRect& client) {
    WpgScale s;
    if (client.width() > 0) s.sx = 12831 / client.width();
    if (client.height() > 0) s.sy = 8721 / client.height();
    return s;
}

SPlotInfo WpgPlotInfo(const SDeviceRect& client, const SPlotInfo& info) {
    const WpgScale s = WpgScaleOf(client);
    SPlotInfo w = info;
    SDeviceRect& r = w.plotRect;
    r.left = (info.plotRect.left - client.left) * s.sx + 600;
    r.right = 13431 - s.sx * (client.right - info.plotRect.right);
    r.bottom = (client.bottom - info.plotRect.bottom) * s.sy + 600;
    r.top = 9321 - s.sy * (info.plotRect.top - client.top);
    w.margin = 140;
    const int width = r.right - r.left;
    const int height = r.top - r.bottom;  // y grows upwards on the page
    const int frameWidth = static_cast<int>(std::trunc(width * 0.73343));
    w.origin = SDevicePoint{r.left + static_cast<int>(std::trunc(width * 0.16973)),
                            r.bottom + static_cast<int>(std::trunc(height * 0.13597))};
    w.bottomRight = SDevicePoint{w.origin.x + frameWidth, w.origin.y};
    w.topLeft =
        SDevicePoint{w.origin.x, w.origin.y + static_cast<int>(std::trunc(0.80931 * height))};
    w.topRight = SDevicePoint{w.bottomRight.x, w.topLeft.y};
    CalculateScaling(w);
    return w;
}

std::vector<std::uint8_t> WpgCharacters(std::string_view utf8) {
    // The text of a WPG 2 text record is WordPerfect text: bytes 0x21 to 0x7F are ASCII,
    // 0x01 to 0x20 the extended international letters (the German ones among them), 0x80
    // the blank; higher bytes are function codes, so any other character becomes "?".
    static constexpr unsigned char kInternational[32] = {
        0xE5, 0xC5, 0xE6, 0xC6, 0xE4, 0xC4, 0xE1, 0xE0, 0xE2, 0xE3, 0xC3,
        0xE7, 0xC7, 0xEB, 0xE9, 0xC9, 0xE8, 0xEA, 0xED, 0xF1, 0xD1, 0xF8,
        0xD8, 0xF5, 0xD5, 0xF6, 0xD6, 0xFC, 0xDC, 0xFA, 0xF9, 0xDF};
    std::vector<std::uint8_t> out;
    for (char ch : lumcore::utf8ToCp1252(utf8)) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out.push_back(0x80);
        } else if (c > 0x20 && c < 0x80) {
            out.push_back(c);
        } else {
            const unsigned char* at =
                std::find(std::begin(kInternational), std::end(kInternational), c);
            out.push_back(at != std::end(kInternational)
                              ? static_cast<std::uint8_t>(at - std::begin(kInternational) + 1)
                              : static_cast<std::uint8_t>('?'));
        }
    }
    return out;
}

}  // namespace lumgl

bool ExportPlotAsWPG(const SDeviceRect& client, const TPointList& points, const SPlotInfo& info,
                     const std::string& path, int flags) {
    using namespace lumgl;
    const SPlotInfo w = WpgPlotInfo(client, info);
    WpgWriter writer;
    const bool open = (flags & 1) ? writer.append(path) : writer.create(path);
    if (!open) return false;
    WpgCanvas canvas(writer, w.plotRect, WpgScaleOf(client).sy);
    if (w.drawFlags & kDrawFrame) {
        const DiagramTicks ticks = ComputeDiagramTicks(w);
        canvas.beginGroup();
        DrawDiagramTicks(canvas, w, ticks, false);
        DrawDiagramFrame(canvas, w);
        canvas.endGroup();
        canvas.beginGroup();
        DrawDiagramLabels(canvas, w, ticks);
        canvas.endGroup();
    }
    if (w.drawFlags & kDrawCurve) {
        canvas.beginGroup();
        DrawDiagramCurve(canvas, points, w);
        canvas.endGroup();
    }
    return writer.finish();
}

bool ExportLinesAsWPG(const SDeviceRect& client, const TLineArray& lines, const SPlotInfo& info,
                      const std::string& path, int flags) {
    using namespace lumgl;
    const SPlotInfo w = WpgPlotInfo(client, info);
    WpgWriter writer;
    if (!writer.append(path)) return false;
    if (flags & 16) {
        writer.beginGroup();
        for (const CLine& line : lines) {
            const SDevicePoint p = DataToMousePoint(TPointF{line.x, line.y}, w);
            if (w.origin.x <= p.x && p.x <= w.bottomRight.x && w.origin.y <= p.y &&
                p.y <= w.topLeft.y) {
                writer.line(SDevicePoint{p.x, p.y + 100}, SDevicePoint{p.x, p.y + 200});
            }
        }
        writer.endGroup();
    }
    if (flags & 32) {
        writer.beginGroup();
        for (const CLine& line : lines) {
            const SDevicePoint p = DataToMousePoint(TPointF{line.x, line.y}, w);
            if (!(w.origin.x < p.x && p.x < w.bottomRight.x)) continue;
            for (std::size_t i = 0; i < line.speciesLabels.size(); ++i) {
                writer.text(SDevicePoint{p.x, p.y + 250 + 200 * static_cast<int>(i)}, 1, 4,
                            line.speciesLabels[i]);
            }
        }
        writer.endGroup();
    }
    return writer.finish();
}

namespace lumgl {

bool ExportDiagramAsWPG(const DiagramComposer& composer, const std::string& path,
                        const TextMetrics& metrics, const DiagramLayers& layers) {
    // Created with a name nobody can foresee, so no link laid in the shared folder beforehand
    // can turn the appends onto another file.
    std::string scratch = (std::filesystem::temp_directory_path() / "lumora-wpg-XXXXXX").string();
    const int fd = ::mkstemp(scratch.data());
    if (fd < 0) return false;
    ::close(fd);
    struct Remove {
        const std::string& path;
        ~Remove() {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    } removeScratch{scratch};
    const SDeviceRect client = composer.info().plotRect;
    SPlotInfo laidOut = composer.info();
    LayoutPlot(laidOut, metrics);
    int lineFlags = 0;
    bool first = true;
    for (std::size_t k : composer.drawingOrder()) {
        SPlotInfo info = composer.overlayInfo(k);
        LayoutPlot(info, metrics);
        if (!ExportPlotAsWPG(client, composer.overlays()[k].spectrum->points, info, scratch,
                             first ? 0 : 1))
            return false;
        first = false;
        const DiagramOverlay& overlay = composer.overlays()[k];
        lineFlags |= (overlay.foundLines ? 16 : 0) | (overlay.labels ? 32 : 0);
    }
    if (lineFlags)
        for (std::size_t k : composer.drawingOrder())
            if (!ExportLinesAsWPG(client, composer.overlays()[k].spectrum->spectrumLines, laidOut,
                                  scratch, 1 | lineFlags))
                return false;
    if (layers) {
        const SPlotInfo page = WpgPlotInfo(client, laidOut);
        WpgWriter writer;
        if (!writer.append(scratch)) return false;
        WpgCanvas canvas(writer, page.plotRect, WpgScaleOf(client).sy);
        layers(canvas, page);
        if (!writer.finish()) return false;
    }
    std::ifstream in(scratch, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return !in.bad() && lumcore::writeFileSafely(path, bytes);
}

}  // namespace lumgl
