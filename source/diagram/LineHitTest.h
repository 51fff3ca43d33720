// Picking a line of a spectrum with the mouse: the boxes around a found line's marker and
// label and around a database line's label that a click is tested against, and the box the
// selection marker surrounds. All in device pixels of the diagram as last laid out; no
// widgets, so the rules are tested without a screen. `sampleLength` is the length every label
// is taken to have (lumgl::SampleLabelLength).
#pragma once

#include <optional>

#include "lumgl/PlotInfo.h"
#include "lumio/SpectrumRecord.h"

namespace linehit {

struct Pick {
    int index = -1;         // -1: no line was hit
    bool database = false;  // a database line rather than a found line
};

// The first found line (while found lines are shown) whose marker or label box holds
// `click`; else the first database line (while those are shown) whose label box holds it.
// A found line's label box covers its identification labels only when the spectrum
// carries some (its new-file byte); otherwise it is the marker box.
// Throws lumgl::PlotError when the diagram cannot be mapped.
Pick pick(const SpectrumRecord& spectrum, SDevicePoint click, const SPlotInfo& laidOut,
          int sampleLength);

// The box the selection marker of the line `index` surrounds: at least 6 pixels either side
// of the line, as high as a label. Nothing for an index the list does not hold.
std::optional<SDeviceRect> selectionBox(const SpectrumRecord& spectrum, Pick line,
                                        const SPlotInfo& laidOut, int sampleLength);

}  // namespace linehit
