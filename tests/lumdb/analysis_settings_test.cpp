// The analysis-settings loader: defaults, the selection rule and a save/load round trip.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "lumcore/IniFile.h"
#include "lumdb/AnalysisSettings.h"

using lumcore::IniFile;

namespace {

std::string tempPath(const char* name) {
    return std::string(::testing::TempDir()) + name;
}

TElementArray someElements() {
    TElementArray e(4);
    e[0].name = "Fe";
    e[1].name = "Ar";
    e[2].name = "N2";
    e[3].name = "Äq";  // a non-ASCII name must survive the Windows-1252 round trip
    for (auto& x : e) x.selected = true;
    return e;
}

// Nearly every key away from its default.
constexpr const char* kEveryKey =
    "[Element Selection]\n"
    "fe=1\n"  // case-insensitive element key
    "Ar=2\n"  // only 1 selects
    "Xx=1\n"  // not in the table: ignored
    "Äq=1\n"
    "Neutrals=1\nHigherIons=1\n"
    "[Search Values]\n"
    "SearchRange=0.05\nIntensityRange=1\nLowerIntensity=5\nUpperIntensity=500\n"
    "Noise=1\nNoiseValue=12.5\nFTFilter=1\nSetFTValues=1\nFreqNumber=256\nFreqCutoff=20\n"
    "SGFilter=1\nPolynomOrder=2\nFilterWidth=7\nFilterData=1\nZoomData=1\n"
    "IntensityValues=0\nIntensityOption=2\nSortOption=1\n";

}  // namespace

TEST(AnalysisSettings, MissingKeysGiveTheDocumentedDefaults) {
    TElementArray elements = someElements();
    const auto s = lumdb::loadAnalysisSettings(IniFile{}, elements);
    for (const auto& e : elements) EXPECT_FALSE(e.selected) << e.name;
    EXPECT_FALSE(s.select.Neutrals);
    EXPECT_FALSE(s.select.FirstIons);
    EXPECT_FALSE(s.select.HigherIons);
    EXPECT_FLOAT_EQ(s.select.SearchRange, 0.1f);
    EXPECT_FALSE(s.select.IntensityRange);
    EXPECT_FLOAT_EQ(s.select.LowerIntensity, 0.0f);
    EXPECT_FLOAT_EQ(s.select.UpperIntensity, 10000.0f);
    EXPECT_TRUE(s.select.IntensityValues);
    EXPECT_EQ(s.select.IntensityOption, 0);
    EXPECT_EQ(s.select.SortOption, 0);
    EXPECT_FALSE(s.search.Noise);
    EXPECT_FLOAT_EQ(s.search.NoiseValue, 0.0f);
    EXPECT_FALSE(s.search.FTFilter);
    EXPECT_FALSE(s.search.SetFTValues);
    EXPECT_EQ(s.search.FreqNumber, 512);
    EXPECT_EQ(s.search.FreqCutoff, 50);
    EXPECT_FALSE(s.search.SGFilter);
    EXPECT_EQ(s.search.PolynomOrder, 0);
    EXPECT_EQ(s.search.FilterWidth, 3);
    EXPECT_FALSE(s.search.ZoomData);
    EXPECT_FALSE(s.filterData);
}

TEST(AnalysisSettings, SelectionTakesOnlyTheValueOneAndIgnoresUnknownNames) {
    TElementArray elements = someElements();
    const IniFile ini = IniFile::fromText(kEveryKey);
    const auto s = lumdb::loadAnalysisSettings(ini, elements);
    EXPECT_TRUE(elements[0].selected);
    EXPECT_FALSE(elements[1].selected);
    EXPECT_FALSE(elements[2].selected);
    EXPECT_TRUE(s.select.Neutrals);
    EXPECT_FALSE(s.select.FirstIons);
    EXPECT_TRUE(s.select.HigherIons);
    EXPECT_FLOAT_EQ(s.select.SearchRange, 0.05f);
    EXPECT_TRUE(s.select.IntensityRange);
    EXPECT_FLOAT_EQ(s.select.LowerIntensity, 5.0f);
    EXPECT_FLOAT_EQ(s.select.UpperIntensity, 500.0f);
    EXPECT_TRUE(s.search.Noise);
    EXPECT_FLOAT_EQ(s.search.NoiseValue, 12.5f);
    EXPECT_TRUE(s.search.FTFilter);
    EXPECT_TRUE(s.search.SetFTValues);
    EXPECT_EQ(s.search.FreqNumber, 256);
    EXPECT_EQ(s.search.FreqCutoff, 20);
    EXPECT_TRUE(s.search.SGFilter);
    EXPECT_EQ(s.search.PolynomOrder, 2);
    EXPECT_EQ(s.search.FilterWidth, 7);
    EXPECT_TRUE(s.filterData);
    EXPECT_TRUE(s.search.ZoomData);
    EXPECT_FALSE(s.select.IntensityValues);
    EXPECT_EQ(s.select.IntensityOption, 2);
    EXPECT_EQ(s.select.SortOption, 1);
}

TEST(AnalysisSettings, SaveThenLoadReproducesTheSettings) {
    // With every value away from its default, a key lost on either way changes the text.
    TElementArray elements = someElements();
    IniFile first;
    lumdb::saveAnalysisSettings(
        first, elements, lumdb::loadAnalysisSettings(IniFile::fromText(kEveryKey), elements));
    const std::string path = tempPath("lumdb_settings_roundtrip.lmc");
    ASSERT_TRUE(first.save(path));
    EXPECT_EQ(IniFile::load(path).getString("Search Values", "SearchRange"), "0.05");

    TElementArray again = someElements();
    IniFile second;
    lumdb::saveAnalysisSettings(second, again,
                                lumdb::loadAnalysisSettings(IniFile::load(path), again));
    std::remove(path.c_str());
    EXPECT_EQ(second.toText(), first.toText());
    EXPECT_EQ(first.getInt("Element Selection", "Ar", 1), 0);
}
