// The analysis settings of a run from the command line: a configuration file (--config)
// read with the program's own loader, then the options given, which win.
#pragma once

#include <string>

#include "CommandLine.h"
#include "lumdb/AnalysisSettings.h"
#include "lumdb/Records.h"

namespace lumcli {

// Selects the elements named in `list` ("Fe,Ar,N2", names as in the element table, compared
// without regard to case, or "all") and unselects the others. Throws UsageError for a name
// the table does not have.
void selectElements(TElementArray& elements, const std::string& list);

// --strength rel|f|aik as IntensityOption 0, 1, 2.
int strengthOption(const std::string& text);

// The settings for lines, identify and smooth: defaults, or the file of --config, with the
// options of `line` applied over them. `elements` receives the selection (from the file,
// then --elements). Throws UsageError.
lumdb::AnalysisSettings analysisSettingsFrom(const CommandLine& line, TElementArray& elements);

// Fills zoomFrom/zoomTo when ZoomData came from a configuration file: the program takes the
// displayed range, which for a spectrum opened on its own is its whole x range.
void applyDataRange(SLineSearchVal& search, const TPointList& points, bool zoomGiven);

}  // namespace lumcli

namespace lumcli {

// The checks of the smoothing dialog that depend on the spectrum's number of points `n`;
// the message of the first that fails, or an empty text.
std::string filterLimitMessage(const SLineSearchVal& search, std::size_t n);

}  // namespace lumcli
