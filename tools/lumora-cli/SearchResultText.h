// The database search result as the search window saves it as text: a header with the
// wavelength range, the column header of the chosen strength, and one ";"-separated line
// per result with an empty line after every fifth.
#pragma once

#include <string>

#include "lumdb/Records.h"

namespace lumcli {

// The text (UTF-8) for `result` of a search with `values`.
std::string searchResultText(const TSearchEngineLineArray& result, const SSearchEngineVal& values);

// The intensity cell of one result as the saved text has it ("%d", "%.3E" or "-").
std::string intensityCell(const CSearchEngineLine& line, int intensityOption);

// Writes the text Windows-1252 encoded; false when the file cannot be written.
bool saveSearchResultText(const std::string& path, const TSearchEngineLineArray& result,
                          const SSearchEngineVal& values);

}  // namespace lumcli
