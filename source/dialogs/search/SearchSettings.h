// The settings of a database search as one INI section keeps them: every element's key
// (1 selected), the three ionisation stages, the wavelength and intensity bounds ("%g") and
// the intensity kind and sort order. The settings file keeps the search defaults in "Search
// Engine", a configuration file in "Element Selection".
#pragma once

#include <string_view>

#include "lumcore/IniFile.h"
#include "lumdb/Records.h"

namespace searchsettings {

inline constexpr const char* kDefaultsSection = "Search Engine";
inline constexpr const char* kConfigurationSection = "Element Selection";

// Reads the section into the elements' selected flags (elements missing from it unselected,
// names it holds that the list lacks ignored) and the returned values; a missing key gives
// its default (100 to 1000 nm, 0 to 10000, options 0).
SSearchEngineVal load(const lumcore::IniFile& ini, std::string_view section,
                      TElementArray& elements);
// Writes every element with 1 or 0, the stages, the four bounds and the two options.
void save(lumcore::IniFile& ini, std::string_view section, const TElementArray& elements,
          const SSearchEngineVal& values);

}  // namespace searchsettings
