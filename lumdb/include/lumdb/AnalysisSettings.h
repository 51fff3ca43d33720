// The analysis settings of a spectrum (element selection, identification values, smoothing
// and line-search values) as they are kept in the settings file and in configuration
// files. One loader for the diagram window and the command-line tool, so both read a
// configuration exactly alike. It is its own small static library (lumdb_settings) beside
// the records, so the shared lumdb and lumcore below it stay free of each other.
#pragma once

#include <string_view>

#include "lumcore/IniFile.h"
#include "lumdb/Records.h"

namespace lumdb {

inline constexpr const char* kSectionElementSelection = "Element Selection";
inline constexpr const char* kSectionSearchValues = "Search Values";

// The ionisation stages chosen beside an element selection.
struct StageSelection {
    bool neutrals = false;
    bool firstIons = false;
    bool higherIons = false;
};

// An element selection kept in `section`: each element's key (1 selects, anything else or a
// missing key unselects) into the elements' selected flags, and "Neutrals", "FirstIons",
// "HigherIons". Element names in the file that are not in `elements` are ignored. The
// analysis settings, the diagram's database display and the database search all keep their
// selections this way.
StageSelection loadElementSelection(const lumcore::IniFile& ini, std::string_view section,
                                    TElementArray& elements);
// Writes every element with 1 or 0, then the stages.
void saveElementSelection(lumcore::IniFile& ini, std::string_view section,
                          const TElementArray& elements, const StageSelection& stages);

struct AnalysisSettings {
    SSelectElVal select;      // identification: stages, hit interval, intensity limits, options
    SLineSearchVal search;    // smoothing and line search
    bool filterData = false;  // "FilterData": the window shows the smoothed data

    // The values a missing file or key gives.
    static AnalysisSettings defaults();
};

// Reads "Element Selection" (each element's key, 1 selects, anything else or a missing key
// unselects; "Neutrals", "FirstIons", "HigherIons") into the elements' selected flags and
// `select`, and every key of "Search Values" with its default. Element names in the file
// that are not in `elements` are ignored.
AnalysisSettings loadAnalysisSettings(const lumcore::IniFile& ini, TElementArray& elements);

// Writes the same keys: every element with 1 or 0, the stages, then "Search Values"
// (numbers with "%g", the filter integers with "%d").
void saveAnalysisSettings(lumcore::IniFile& ini, const TElementArray& elements,
                          const AnalysisSettings& settings);

// Writes the smoothing filters' keys of "Search Values" (FTFilter to FilterWidth), which a
// smoothing run stores on its own.
void saveFilterValues(lumcore::IniFile& ini, const SLineSearchVal& search);

}  // namespace lumdb
