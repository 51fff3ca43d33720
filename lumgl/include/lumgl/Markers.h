// What the analysis found, drawn over a diagram: triangles over found lines, vertical
// labels of identified lines, bars with labels for database lines, the reticle, and single
// curve segments. All positions come from DataToMousePoint of the diagram's SPlotInfo.
#pragma once

#include <string>

#include "lumdb/Records.h"
#include "lumgl/Canvas.h"
#include "lumgl/PlotInfo.h"
#include "lumgl/Reticle.h"
#include "lumgl/lumgl_export.h"

// A red triangle (tip 6 pixels above the line, 10 high, 8 wide) over every found line
// strictly inside the frame's x range.
LUMGL_EXPORT void DrawSearchedLines(const TLineArray& lines, const SPlotInfo& info,
                                    lumgl::Canvas& canvas);
// The species labels of every identified line, side by side and centred on the line,
// rising from 21 pixels above its peak, each in its species' colour (black with
// stateFlags bit 0). `type`: 0 relative intensity in parts per thousand, 1 the value,
// 2 a transition probability from the value and the J numbers of the record.
LUMGL_EXPORT void DrawIdentifiedElements(const TLineArray& lines, bool showValue, int type,
                                         const SPlotInfo& info, lumgl::Canvas& canvas);
// A bar in the line's colour and a label above it for every database line.
LUMGL_EXPORT void DrawDataBaseLines(const TSearchEngineLineArray& lines, bool showValue, int type,
                                    const SPlotInfo& info, lumgl::Canvas& canvas);
// Restore, save and draw the reticle at `point`, each step when its flag is set; a move is
// all three. The pixels saved and drawn are those of lumgl::HorizontalReticleSpan and
// VerticalReticleSpan, so a restore puts back every pixel the cross covered.
LUMGL_EXPORT void DrawReticle(const SPlotInfo& info, SDevicePoint point, ReticleBuffers& buffers,
                              bool restore, bool save, bool draw, lumgl::Canvas& canvas);
// One segment of a curve (x1, y1) - (x2, y2), y limited to the y range; drawn only when
// one of the y values lies strictly inside the range.
LUMGL_EXPORT void PlotDataPoint(float x1, float y1, float x2, float y2, const SPlotInfo& info,
                                lumgl::Canvas& canvas);

namespace lumgl {

// The label font: "Times New Roman", the diagram font's height less a quarter (integer),
// turned by 90 degrees so the text runs upwards.
LUMGL_EXPORT SFontDesc LabelFont(const SPlotInfo& info);

// Label text of a species entry of an identified line ("Fe I 371.99;0.5", optionally
// ending in "*") with its record text, and of a database line.
LUMGL_EXPORT std::string IdentificationLabelText(const std::string& label,
                                                 const std::string& record, bool showValue,
                                                 int type);
LUMGL_EXPORT std::string DatabaseLabelText(const CSearchEngineLine& line, bool showValue, int type);
// The pixel length that stands for every label's when room for labels is measured (the
// bars of the database lines, the boxes a click on a label hits): a sample label with the
// widest value part `showValue` and `type` give, in the unturned label font of `info`.
LUMGL_EXPORT int SampleLabelLength(const SPlotInfo& info, bool showValue, int type,
                                   const TextMetrics& metrics);
// The y value the database lines' bars rise to: a tenth under the top of the range, less a
// label of `labelLength` pixels.
LUMGL_EXPORT double DatabaseBarTop(const SPlotInfo& info, int labelLength);

}  // namespace lumgl
