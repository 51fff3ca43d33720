// Reader of WinSpec SPE files (.spe): one strip of one frame of the stored image, with its
// x calibration polynomial.
//
// Knowledge: the published 4100-byte SPE header layout (versions 2.x) and real files written
// by WinSpec, by Andor software and by LightField (version 3.0). Fields relied on:
//   42 points per strip (unsigned 16-bit), 108 data type (signed 16-bit),
//   602 x label (16), 656 strips per frame (unsigned 16-bit), 1446 frames (signed 32-bit),
//   1458 y label (16), 2996 identifier 0x01234567, 3018 calibration label (40),
//   3098 calibration valid (byte), 3100 polynomial unit (byte), 3101 polynomial order (byte),
//   3263 six polynomial coefficients (64-bit floats, constant first), 3978 intensity label (40),
//   4100 the data: frames of strips of points.
// Data types: 0 float, 1 signed 32-bit, 2 signed 16-bit, 3 unsigned 16-bit, and 8 unsigned
// 32-bit, which LightField writes for 32-bit cameras. The polynomial takes pixel numbers
// counted from 1, as WinSpec writes it.
// Version 3.0 files (LightField) carry an XML footer (its offset a 64-bit value at 678, the
// version a float at 1992). When it describes one region, its width, height and frame
// stride are the data layout: the binary header of a glued spectrum gives only the sensor
// width (1340 of 6216 points in a real file), and frames may carry metadata behind them.
// The footer's calibration, a list of wavelengths over the sensor's columns, gives the x
// values where it is there: the region's first column (the sensor mapping's x, when the list
// covers the whole sensor) picks where the region starts in the list, and every strip and
// frame shares it. Where the footer has no such list, the header's polynomial applies.
// Ignored: the region-of-interest and binning fields, the trailer marker at 4098, and the
// rest of the footer (without any valid calibration the x values are pixel indexes counted
// from 0). A calibration whose x do not rise from pixel to pixel is not used: the x values
// are then pixel indexes, and the user is told.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <system_error>
#include <vector>

#include "../FileBytes.h"
#include "../ValueRules.h"
#include "InstrumentBytes.h"
#include "Readers.h"

namespace lumio::detail {
namespace {

constexpr std::uint64_t kHeaderSize = 4100;
constexpr std::uint64_t kIdentifierOffset = 2996;
constexpr std::uint32_t kIdentifier = 0x01234567;
constexpr int kCoefficients = 6;

enum DataType : int { Float32 = 0, Int32 = 1, Int16 = 2, UInt16 = 3, UInt32 = 8 };

unsigned widthOf(int type) {
    switch (type) {
        case Float32:
        case Int32:
        case UInt32:
            return 4;
        case Int16:
        case UInt16:
            return 2;
        default:
            fail(keyword::UnknownFormat);
    }
}

double valueAt(const ByteView& file, std::uint64_t at, int type) {
    switch (type) {
        case Float32:
            return file.f32(at);
        case Int32:
            return file.i32(at);
        case Int16:
            return file.i16(at);
        case UInt16:
            return file.u16(at);
        default:
            return file.u32(at);
    }
}

struct Layout {
    std::uint32_t points;
    std::uint32_t strips;
    std::uint64_t frameStride;  // 0: the frame's own size
};

// The value of attribute `name` in the element text `element`, or nullopt.
std::optional<std::uint64_t> attribute(std::string_view element, std::string_view name) {
    const std::string key = " " + std::string(name) + "=\"";
    const auto at = element.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    const char* first = element.data() + at + key.size();
    std::uint64_t value = 0;
    const auto result = std::from_chars(first, element.data() + element.size(), value);
    if (result.ec != std::errc() || result.ptr == first) return std::nullopt;
    return value;
}

// The XML footer of a version 3 file (from 1992 its version, from 678 its offset), or
// empty.
std::string_view footerXml(const ByteView& file) {
    if (!(file.f32(1992) >= 3.0f)) return {};
    const std::uint64_t offset = file.u64(678);
    if (offset < kHeaderSize) return {};
    return file.tail(offset);
}

// The layout an XML footer gives, when it describes exactly one region per frame.
std::optional<Layout> footerLayout(const ByteView& file) {
    const std::string_view xml = footerXml(file);
    const auto formatStart = xml.find("<DataFormat>");
    const auto formatEnd = xml.find("</DataFormat>");
    if (formatStart == std::string_view::npos || formatEnd == std::string_view::npos ||
        formatEnd < formatStart)
        return std::nullopt;
    const std::string_view format = xml.substr(formatStart, formatEnd - formatStart);
    const auto elementAt = [&](std::string_view type) -> std::optional<std::string_view> {
        const std::string marker = "<DataBlock type=\"" + std::string(type) + "\"";
        const auto first = format.find(marker);
        if (first == std::string_view::npos ||
            format.find(marker, first + 1) != std::string_view::npos)
            return std::nullopt;  // none, or several: keep the header's layout
        const auto end = format.find('>', first);
        return format.substr(first, end == std::string_view::npos ? format.npos : end - first);
    };
    const auto region = elementAt("Region");
    const auto frame = elementAt("Frame");
    if (!region || !frame) return std::nullopt;
    const auto width = attribute(*region, "width");
    const auto height = attribute(*region, "height");
    if (!width || !height || *width == 0 || *height == 0 || *width > 0xffffffffu ||
        *height > 0xffffffffu)
        return std::nullopt;
    return Layout{static_cast<std::uint32_t>(*width), static_cast<std::uint32_t>(*height),
                  attribute(*frame, "stride").value_or(0)};
}

// The element text from "<name" up to its closing ">", or empty.
std::string_view elementText(std::string_view xml, std::string_view name) {
    const std::string open = "<" + std::string(name);
    auto at = xml.find(open);
    while (at != std::string_view::npos) {
        const char next = at + open.size() < xml.size() ? xml[at + open.size()] : '>';
        if (next == ' ' || next == '>' || next == '/') break;
        at = xml.find(open, at + 1);
    }
    if (at == std::string_view::npos) return {};
    const auto end = xml.find('>', at);
    return end == std::string_view::npos ? std::string_view() : xml.substr(at, end - at);
}

// The footer's wavelengths for `points` values, or an empty list.
std::vector<double> footerWavelengths(const ByteView& file, std::uint32_t points) {
    const std::string_view xml = footerXml(file);
    const auto mappingAt = xml.find("<WavelengthMapping");
    if (mappingAt == std::string_view::npos) return {};
    const std::string_view mapping = xml.substr(mappingAt);
    const std::string_view open = elementText(mapping, "Wavelength");
    if (open.empty()) return {};
    const std::size_t listAt =
        static_cast<std::size_t>(open.data() - mapping.data()) + open.size() + 1;
    const auto listEnd = mapping.find('<', listAt);
    if (listEnd == std::string_view::npos) return {};
    const std::string_view list = mapping.substr(listAt, listEnd - listAt);

    std::vector<double> all;
    all.reserve(list.size() / 8);
    const char* p = list.data();
    const char* const end = p + list.size();
    while (p < end) {
        while (p < end && (*p == ',' || *p == ' ' || *p == '\n' || *p == '\r' || *p == '\t')) ++p;
        if (p == end) break;
        double value = 0.0;
        const auto result = std::from_chars(p, end, value);
        if (result.ec != std::errc() || !std::isfinite(value)) return {};
        all.push_back(value);
        p = result.ptr;
    }
    // A list over the whole sensor: the region starts at the mapping's first column.
    std::uint64_t first = 0;
    if (all.size() != points) {
        const auto sensor = elementText(xml, "SensorMapping");
        first = sensor.empty() ? 0 : attribute(sensor, "x").value_or(0);
    }
    if (first > all.size() || all.size() - first < points) return {};
    return std::vector<double>(all.begin() + static_cast<std::ptrdiff_t>(first),
                               all.begin() + static_cast<std::ptrdiff_t>(first + points));
}

Ui::FrameStrip chooseFrameStrip(ReadContext& ctx, int frames, int strips) {
    Ui::FrameStrip& last = lastChosenFrameStrip();
    const Ui::FrameStrip initial{initialChoice(last.frame, frames),
                                 initialChoice(last.strip, strips)};
    const auto chosen = ctx.ui.chooseFrameStrip(ctx.record.fileName, frames, strips, initial);
    if (!chosen) fail(keyword::CancelOpenFile);
    if (chosen->frame < 1 || chosen->frame > frames || chosen->strip < 1 || chosen->strip > strips)
        fail(keyword::UnknownFormat);
    last = *chosen;
    // The name takes the frame, then the strip, in the order the dialog and the command
    // line ask for them (as the ASCII frame layout does).
    ctx.record.fileName += lumcore::strprintf(" #%d,%d", chosen->frame, chosen->strip);
    return *chosen;
}

}  // namespace

void readWinSpec(ReadContext& ctx) {
    const FileBytes bytes = readWholeFile(ctx.record.fileName);
    const ByteView file(bytes);
    if (file.size() == 0) fail(keyword::NullFile);
    if (!file.fits(kIdentifierOffset, 4) || file.u32(kIdentifierOffset) != kIdentifier)
        fail(keyword::UnknownFormat);
    if (file.size() < kHeaderSize) fail(keyword::UnknownFormat);

    const int type = file.i16(108);
    const unsigned width = widthOf(type);
    const int frames = std::max(1, file.i32(1446));
    Layout layout{file.u16(42), std::max<std::uint32_t>(1, file.u16(656)), 0};
    if (const auto footer = footerLayout(file)) layout = *footer;
    const std::uint32_t points = layout.points;
    if (points == 0) fail(keyword::NullFile);
    if (layout.strips > 0x7fffffffu) fail(keyword::UnknownFormat);
    const int strips = static_cast<int>(layout.strips);

    // The whole image must be there, so the dialog offers no frame or strip beyond the end.
    const std::uint64_t stripBytes = std::uint64_t{points} * width;
    const std::uint64_t dataBytes = file.size() - kHeaderSize;
    if (!countFits(layout.strips, stripBytes, dataBytes)) fail(keyword::UnknownFormat);
    const std::uint64_t frameBytes = stripBytes * layout.strips;
    const std::uint64_t frameStride = std::max(layout.frameStride, frameBytes);
    // The last frame needs only its data, not the stride behind it.
    if (!countFits(static_cast<std::uint64_t>(frames - 1), frameStride, dataBytes - frameBytes))
        fail(keyword::UnknownFormat);

    Ui::FrameStrip chosen;
    if (frames > 1 || strips > 1) chosen = chooseFrameStrip(ctx, frames, strips);

    auto& info = ctx.record.plotInfo;
    info.title.clear();
    info.xTitle = file.text(602, 16);
    info.yTitle = type == Float32 ? file.text(1458, 16) : file.text(3978, 40);

    // Valid calibration: x = Σ c_k · p^k over the pixel number p = i + 1.
    const bool calibrated = file.u8(3098) != 0;
    const int order = std::min<int>(file.u8(3101), kCoefficients - 1);
    double coefficient[kCoefficients];
    for (int k = 0; k < kCoefficients; ++k) coefficient[k] = file.f64(3263 + 8 * k);
    if (calibrated) info.xTitle = file.text(3018, 40);
    const std::vector<double> wavelengths = footerWavelengths(file, points);
    // The footer's list is in nanometres; a header calibration names its unit in its label
    // or its unit code (4 nanometres, 5 wavenumbers); without either, x counts pixels.
    if (!wavelengths.empty()) {
        ctx.record.xFormat.fileUnit = 0;
    } else if (calibrated) {
        declareUnitOfLabel(ctx.record, info.xTitle);
        const int unit = file.u8(3100);
        if (ctx.record.xFormat.fileUnit == SXFormat::kUnitUnknown && (unit == 4 || unit == 5))
            ctx.record.xFormat.fileUnit = unit == 4 ? 0 : 3;
    } else {
        ctx.record.xFormat.fileUnit = 2;
    }

    const std::uint64_t start = kHeaderSize + std::uint64_t(chosen.frame - 1) * frameStride +
                                std::uint64_t(chosen.strip - 1) * stripBytes;
    // The x of every point (the whole strip is in the file, so `points` is bounded by it).
    std::vector<double> xs(points);
    for (std::uint32_t i = 0; i < points; ++i) {
        double x = i;
        if (!wavelengths.empty()) {
            x = wavelengths[i];
        } else if (calibrated) {
            const double pixel = double(i) + 1.0;
            x = 0.0;
            double power = 1.0;
            for (int k = 0; k <= order; ++k) {
                x += coefficient[k] * power;
                power *= pixel;
            }
        }
        xs[i] = x;
    }
    // A calibration must rise from pixel to pixel: equal or falling x would fold the
    // spectrum onto itself (all equal x used to leave one point). Pixel indexes instead.
    if ((calibrated || !wavelengths.empty()) &&
        std::adjacent_find(xs.begin(), xs.end(), std::greater_equal<double>()) != xs.end()) {
        showMessage(ctx,
                    "\n\nDie x-Kalibrierung der Datei steigt nicht von Pixel zu Pixel an. Die "
                    "x-Werte sind die Pixelnummern.",
                    Icon::Exclamation);
        for (std::uint32_t i = 0; i < points; ++i) xs[i] = i;
        info.xTitle = file.text(602, 16);
        ctx.record.xFormat.fileUnit = 2;
    }
    PointCollector collector(ctx);
    for (std::uint32_t i = 0; i < points; ++i)
        collector.add(xs[i], valueAt(file, start + std::uint64_t{i} * width, type));
    collector.finish();
}

}  // namespace lumio::detail
