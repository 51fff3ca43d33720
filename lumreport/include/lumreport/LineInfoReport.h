// The blocks of the line information window: a found line with the database lines its
// identification assigned, and database lines shown in a diagram.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "lumdb/Records.h"
#include "lumreport/Report.h"

namespace lumreport {

inline constexpr const char* kLineInfoProcess = "Linieninformation:";

// The printed report's title: "<caption> - Linieninformation".
std::string lineInfoTitle(std::string_view caption);

// Appends the block of one found line: wavelength, intensity, "Identifizierte Linien:", the
// column headers and one row per candidate in stored order (a blank line before each new
// element and after every fifth row of an element), or the red note that none was
// identified; three blank lines end it.
void appendFoundLineBlock(Report& report, const CLine& line, int intensityOption);

// Appends the block of database lines shown in a diagram: "Datenbank:", the column headers
// and one row per line; three blank lines end it.
void appendDatabaseLinesBlock(Report& report, std::span<const CSearchEngineLine> lines,
                              int intensityOption);

}  // namespace lumreport
