// Loading and saving the analysis settings of a spectrum; see AnalysisSettings.h.
#include "lumdb/AnalysisSettings.h"

namespace lumdb {

using lumcore::IniFile;

namespace {
constexpr const char* kElements = kSectionElementSelection;
constexpr const char* kValues = kSectionSearchValues;
}  // namespace

AnalysisSettings AnalysisSettings::defaults() {
    // The same path as a file without any of the keys, so the two can never disagree.
    TElementArray none;
    return loadAnalysisSettings(IniFile{}, none);
}

StageSelection loadElementSelection(const IniFile& ini, std::string_view section,
                                    TElementArray& elements) {
    for (CElement& element : elements) element.selected = ini.getInt(section, element.name, 0) == 1;
    return {ini.getInt(section, "Neutrals", 0) != 0, ini.getInt(section, "FirstIons", 0) != 0,
            ini.getInt(section, "HigherIons", 0) != 0};
}

void saveElementSelection(IniFile& ini, std::string_view section, const TElementArray& elements,
                          const StageSelection& stages) {
    for (const CElement& element : elements)
        ini.setInt(section, element.name, element.selected ? 1 : 0);
    ini.setInt(section, "Neutrals", stages.neutrals ? 1 : 0);
    ini.setInt(section, "FirstIons", stages.firstIons ? 1 : 0);
    ini.setInt(section, "HigherIons", stages.higherIons ? 1 : 0);
}

AnalysisSettings loadAnalysisSettings(const IniFile& ini, TElementArray& elements) {
    AnalysisSettings s;
    SSelectElVal& sel = s.select;
    const StageSelection stages = loadElementSelection(ini, kElements, elements);
    sel.Neutrals = stages.neutrals;
    sel.FirstIons = stages.firstIons;
    sel.HigherIons = stages.higherIons;
    sel.SearchRange = static_cast<float>(ini.getDouble(kValues, "SearchRange", "0.1"));
    sel.IntensityRange = ini.getInt(kValues, "IntensityRange", 0) != 0;
    sel.LowerIntensity = static_cast<float>(ini.getDouble(kValues, "LowerIntensity", "0"));
    sel.UpperIntensity = static_cast<float>(ini.getDouble(kValues, "UpperIntensity", "10000"));
    sel.IntensityValues = ini.getInt(kValues, "IntensityValues", 1) != 0;
    sel.IntensityOption = ini.getInt(kValues, "IntensityOption", 0);
    sel.SortOption = ini.getInt(kValues, "SortOption", 0);
    sel.decipherMode = 0;

    SLineSearchVal& ls = s.search;
    ls.Noise = ini.getInt(kValues, "Noise", 0) != 0;
    ls.NoiseValue = static_cast<float>(ini.getDouble(kValues, "NoiseValue", "0.0"));
    ls.FTFilter = ini.getInt(kValues, "FTFilter", 0) != 0;
    ls.SetFTValues = ini.getInt(kValues, "SetFTValues", 0) != 0;
    ls.FreqNumber = ini.getInt(kValues, "FreqNumber", 512);
    ls.FreqCutoff = ini.getInt(kValues, "FreqCutoff", 50);
    ls.SGFilter = ini.getInt(kValues, "SGFilter", 0) != 0;
    ls.PolynomOrder = ini.getInt(kValues, "PolynomOrder", 0);
    ls.FilterWidth = ini.getInt(kValues, "FilterWidth", 3);
    ls.ZoomData = ini.getInt(kValues, "ZoomData", 0) != 0;
    s.filterData = ini.getInt(kValues, "FilterData", 0) != 0;
    return s;
}

void saveFilterValues(IniFile& ini, const SLineSearchVal& ls) {
    ini.setInt(kValues, "FTFilter", ls.FTFilter ? 1 : 0);
    ini.setInt(kValues, "SetFTValues", ls.SetFTValues ? 1 : 0);
    ini.setInt(kValues, "FreqNumber", ls.FreqNumber);
    ini.setInt(kValues, "FreqCutoff", ls.FreqCutoff);
    ini.setInt(kValues, "SGFilter", ls.SGFilter ? 1 : 0);
    ini.setInt(kValues, "PolynomOrder", ls.PolynomOrder);
    ini.setInt(kValues, "FilterWidth", ls.FilterWidth);
}

void saveAnalysisSettings(IniFile& ini, const TElementArray& elements, const AnalysisSettings& s) {
    const SSelectElVal& sel = s.select;
    saveElementSelection(ini, kElements, elements, {sel.Neutrals, sel.FirstIons, sel.HigherIons});

    const SLineSearchVal& ls = s.search;
    ini.setDouble(kValues, "SearchRange", sel.SearchRange);
    ini.setInt(kValues, "IntensityRange", sel.IntensityRange ? 1 : 0);
    ini.setDouble(kValues, "LowerIntensity", sel.LowerIntensity);
    ini.setDouble(kValues, "UpperIntensity", sel.UpperIntensity);
    ini.setInt(kValues, "Noise", ls.Noise ? 1 : 0);
    ini.setDouble(kValues, "NoiseValue", ls.NoiseValue);
    saveFilterValues(ini, ls);
    ini.setInt(kValues, "FilterData", s.filterData ? 1 : 0);
    ini.setInt(kValues, "ZoomData", ls.ZoomData ? 1 : 0);
    ini.setInt(kValues, "IntensityValues", sel.IntensityValues ? 1 : 0);
    ini.setInt(kValues, "IntensityOption", sel.IntensityOption);
    ini.setInt(kValues, "SortOption", sel.SortOption);
}

}  // namespace lumdb
