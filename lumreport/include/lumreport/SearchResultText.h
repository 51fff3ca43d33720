// The database search result as the search window saves it as text: a header with the
// wavelength range, the column header of the chosen strength, and one ";"-separated line
// per result with an empty line after every fifth. Every row is written: the text does not
// depend on how far a report on screen got.
#pragma once

#include <span>
#include <string>

#include "lumdb/Records.h"

namespace lumreport {

// The text (UTF-8) for `result` of a search with `values`.
std::string searchResultText(std::span<const CSearchEngineLine> result,
                             const SSearchEngineVal& values);

// Writes the text Windows-1252 encoded, through a temporary file renamed into place; false
// when the file cannot be written, the old file then unchanged.
bool saveSearchResultText(const std::string& path, std::span<const CSearchEngineLine> result,
                          const SSearchEngineVal& values);

}  // namespace lumreport
