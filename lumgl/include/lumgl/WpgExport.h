// Diagrams and line markers as WordPerfect Graphics 2 files (1200 units per inch, y
// upwards, picture from (600, 600) to (13431, 9321)). The diagram is drawn by the same
// code as on screen, through a canvas that writes WPG records in groups.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lumdb/Records.h"
#include "lumgl/PlotInfo.h"
#include "lumgl/lumgl_export.h"

// Writes the diagram of `points` as described by `info` (frame, ticks, labels, titles when
// drawFlags bit 2 is set; the curve when bit 3 is set) mapped from the window's client
// rectangle `client` onto the WPG page. flags bit 0: append to a WPG file this library
// wrote (the end record is overwritten); otherwise the file is created.
// Returns false, leaving an existing file as it was, when the file cannot be written or
// when an append finds a file that is not a complete WPG file of this library.
// Throws lumgl::PlotError (1, 2) for logarithmic axes with limits <= 0, before anything is
// written.
LUMGL_EXPORT bool ExportPlotAsWPG(const SDeviceRect& client, const TPointList& points,
                                  const SPlotInfo& info, const std::string& path, int flags);

// Appends the found-line markers (flags bit 4: a short vertical line above each line
// inside the frame) and the identification labels (bit 5: each species label as it is,
// stacked above the line) to a WPG file this library wrote. False as above.
LUMGL_EXPORT bool ExportLinesAsWPG(const SDeviceRect& client, const TLineArray& lines,
                                   const SPlotInfo& info, const std::string& path, int flags);

namespace lumgl {

class Canvas;
class DiagramComposer;
class TextMetrics;

// What a window draws over a composed diagram (its legend, a further curve), on the canvas
// the diagram went to and with the diagram as laid out there.
using DiagramLayers = std::function<void(Canvas& canvas, const SPlotInfo& laidOut)>;

// The whole diagram of `composer` as one WPG file at `path`: every overlay in drawing
// order (the first with the frame), then the found-line markers and labels of the overlays
// that show them, then `layers` on the WPG page (y upwards, `Canvas::pixelUnit` WPG units
// to the screen pixel). The appends go to a scratch file of unforeseeable name; `path` gets
// the finished picture in one safe write, so a failure part-way leaves an old file as it
// was. False when a file cannot be written; throws PlotError (1, 2) before anything is
// written.
LUMGL_EXPORT bool ExportDiagramAsWPG(const DiagramComposer& composer, const std::string& path,
                                     const TextMetrics& metrics, const DiagramLayers& layers = {});

// sx = 12831 / client width, sy = 8721 / client height (integer divisions; 0 for an empty
// client area, which then maps everything onto the picture's corner).
struct WpgScale {
    int sx = 0;
    int sy = 0;
};
LUMGL_EXPORT WpgScale WpgScaleOf(const SDeviceRect& client);

// A copy of `info` for the WPG page: plotRect mapped from the client area, the WPG frame
// geometry (margin 140) and the scales. Throws PlotError like CalculateScaling.
LUMGL_EXPORT SPlotInfo WpgPlotInfo(const SDeviceRect& client, const SPlotInfo& info);

// The WordPerfect text codes of a UTF-8 text, one per character: ASCII as it is, the
// blank as 0x80, the German letters (and the other letters of the extended international
// range) as their codes 0x01 to 0x20 (Ä 0x06, ä 0x05, Ö 0x1B, ö 0x1A, Ü 0x1D, ü 0x1C,
// ß 0x20); anything else as "?". Each is written as the code followed by a zero byte.
LUMGL_EXPORT std::vector<std::uint8_t> WpgCharacters(std::string_view utf8);

// File layout facts the tests check.
inline constexpr int kWpgHeaderSize = 26;
inline constexpr int kWpgMaxGroupRecords = 0x7FFF;

}  // namespace lumgl
