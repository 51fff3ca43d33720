// A whole diagram on any Canvas: the curves of up to twelve spectra with their pens, the
// found lines, the labels of the identified lines and the database lines. The screen,
// bitmaps, metafiles, printing and lumora-cli's render all draw a diagram through this one
// composer, so they agree in what is drawn and in what order.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "lumgl/Canvas.h"
#include "lumgl/PlotInfo.h"
#include "lumgl/TextMetrics.h"
#include "lumgl/lumgl_export.h"
#include "lumio/SpectrumRecord.h"

namespace lumgl {

// A diagram holds at most this many spectra.
inline constexpr std::size_t kMaxOverlays = 12;

// The curve colour of the spectrum at `position` of a diagram: red, blue, olive, maroon,
// teal, yellow, magenta, green, purple, cyan, dark green, navy, then again from red.
LUMGL_EXPORT TColor OverlayColor(std::size_t position);

// One spectrum of a diagram and what is shown of it.
struct DiagramOverlay {
    const SpectrumRecord* spectrum = nullptr;  // not owned; points and lines are read from it
    SPenDesc pen;                              // the curve's pen
    bool foundLines = false;                   // triangles over the found lines
    bool labels = false;                       // labels of the identified lines
    bool databaseLines = false;                // bars and labels of the database lines
};

struct DiagramOptions {
    bool showValues = true;  // labels carry the strength
    int strengthKind = 0;    // which strength: 0 relative class, 1 f-value, 2 Aik
    // The overlay drawn last, over all others (the window's current spectrum); npos keeps
    // the list order.
    std::size_t current = static_cast<std::size_t>(-1);
};

class LUMGL_EXPORT DiagramComposer {
  public:
    // `info` describes the diagram: plot rectangle, ranges, axis modes and grid (drawFlags),
    // titles, font and frame pen. Overlays beyond kMaxOverlays are ignored.
    DiagramComposer(const SPlotInfo& info, std::vector<DiagramOverlay> overlays,
                    DiagramOptions options = {});

    const SPlotInfo& info() const { return info_; }
    const std::vector<DiagramOverlay>& overlays() const { return overlays_; }
    // The overlays' indexes in drawing order: the list order, the current overlay last.
    std::vector<std::size_t> drawingOrder() const;

    // The displayed range that shows every spectrum: x over all data ranges, y with 10 %
    // headroom above (when the top is above 0) and 2 % of the height below; a flat range
    // is widened by 5 each way first.
    void autoscale();
    // Raises the upper y limit (by 15 % of the height on a linear axis, doubled on a
    // logarithmic one, at most 30 times) until every shown label rises from above its line
    // without leaving the frame, measured with `metrics`.
    void makeRoomForLabels(const TextMetrics& metrics);

    // The description one overlay is drawn with: the diagram's, with the overlay's pen; all
    // but the first drawn leave frame, ticks and grid to that one.
    SPlotInfo overlayInfo(std::size_t overlay) const;

    // Draws the diagram: every curve in drawing order, then per overlay in that order its
    // database lines, found lines and labels as shown. Returns the laid-out description the
    // markers were placed with, on which a window draws its own layers. Throws
    // lumgl::PlotError.
    SPlotInfo draw(Canvas& canvas) const;

  private:
    SPlotInfo info_;
    std::vector<DiagramOverlay> overlays_;
    DiagramOptions options_;
};

// The program's text for a drawing error (PlotError::code()): 1 and 2 the logarithmic x
// and y axis over limits <= 0, 3 no data points, anything else a fault of the drawing.
// The texts hold "\n\n" between their sentences, as a message box shows them.
LUMGL_EXPORT std::string PlotErrorText(int code);

}  // namespace lumgl
