#include "dialogs/search/SearchSettings.h"

#include "lumdb/AnalysisSettings.h"

namespace searchsettings {

SSearchEngineVal load(const lumcore::IniFile& ini, std::string_view section,
                      TElementArray& elements) {
    SSearchEngineVal v;
    const lumdb::StageSelection stages = lumdb::loadElementSelection(ini, section, elements);
    v.Neutrals = stages.neutrals;
    v.FirstIons = stages.firstIons;
    v.HigherIons = stages.higherIons;
    v.LowerWavelength = float(ini.getDouble(section, "LowerWavelength", "100"));
    v.UpperWavelength = float(ini.getDouble(section, "UpperWavelength", "1000"));
    v.LowerIntensity = float(ini.getDouble(section, "LowerIntensity", "0"));
    v.UpperIntensity = float(ini.getDouble(section, "UpperIntensity", "10000"));
    v.IntensityOption = ini.getInt(section, "IntensityOption", 0);
    v.SortOption = ini.getInt(section, "SortOption", 0);
    return v;
}

void save(lumcore::IniFile& ini, std::string_view section, const TElementArray& elements,
          const SSearchEngineVal& values) {
    lumdb::saveElementSelection(ini, section, elements,
                                {values.Neutrals, values.FirstIons, values.HigherIons});
    ini.setDouble(section, "LowerWavelength", values.LowerWavelength);
    ini.setDouble(section, "UpperWavelength", values.UpperWavelength);
    ini.setDouble(section, "LowerIntensity", values.LowerIntensity);
    ini.setDouble(section, "UpperIntensity", values.UpperIntensity);
    ini.setInt(section, "IntensityOption", values.IntensityOption);
    ini.setInt(section, "SortOption", values.SortOption);
}

}  // namespace searchsettings
