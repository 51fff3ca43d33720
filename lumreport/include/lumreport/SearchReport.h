// The report of the database search window: the searched range, the column headers of the
// chosen strength kind and one row per database line found, grouped as the window shows it.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "lumdb/Records.h"
#include "lumreport/Report.h"

namespace lumreport {

// The title of the printed search report, and the texts of its status dialog.
inline constexpr const char* kDatabaseReportTitle = "Orvenit Lumora Datenbank";
inline constexpr const char* kSearchReportProcess = "Datenbanksuche:";
inline constexpr const char* kReportPhase = "Ausdruck";

// Called before each row is written, with the row's index; false stops the report there.
using RowProgress = std::function<bool(std::size_t row)>;

// Writes the report of `result`, found with `values`, into `report` (emptied first): the
// header part with the header tab stops, then the rows with the table tab stops. A blank
// line follows every fifth row of a group; sorted by element (SortOption 0), a blank line
// also starts every new species. False when `progress` stopped it; the rows written so far
// stay.
bool buildSearchReport(Report& report, std::span<const CSearchEngineLine> result,
                       const SSearchEngineVal& values, const RowProgress& progress = {});

// The column header's strength title by IntensityOption: "I (rel.)", "f-Wert", "Aik [1/s]".
const char* strengthTitle(int intensityOption);

}  // namespace lumreport
