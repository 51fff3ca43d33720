// A report as a file: Rich Text (written here, Windows-1252 with escapes for every other
// character, so the file is plain ASCII) and plain text (tab-separated cells).
#pragma once

#include <string>

#include "lumreport/Report.h"

namespace lumreport {

// The report as RTF: font "Arial Unicode MS" at 7.5 pt, a colour table of black, light red
// and the element colours, one paragraph with its tab stops per report paragraph.
std::string reportRtf(const Report& report);

// The report's text (UTF-8), each paragraph followed by "\n"; rules stay lines of dashes.
std::string reportPlainText(const Report& report);

// Write the file through a temporary file renamed into place; false when it cannot be
// written, the old file then unchanged. Plain text is written Windows-1252.
bool saveReportRtf(const std::string& path, const Report& report);
bool saveReportPlainText(const std::string& path, const Report& report);

}  // namespace lumreport
