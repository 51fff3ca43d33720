// The INI file with profile semantics and the analysis-settings loader built on it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "lumcore/AnalysisSettings.h"
#include "lumcore/IniFile.h"

using lumcore::IniFile;

namespace {

std::string tempPath(const char* name) {
    return std::string(::testing::TempDir()) + name;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

}  // namespace

TEST(IniFile, LookupIgnoresCaseTrimsAndUnquotes) {
    const IniFile ini = IniFile::fromText(
        "; comment\n"
        "[Search Values]\r\n"
        "  SearchRange =  0.25  \r\n"
        "Title=\"  quoted  \"\n"
        "empty=\n"
        "[ search values ]\n"
        "SearchRange=9\n");
    EXPECT_EQ(ini.getString("SEARCH VALUES", "searchrange"), "0.25");
    EXPECT_EQ(ini.getString("Search Values", "Title"), "  quoted  ");
    EXPECT_TRUE(ini.hasKey("Search Values", "empty"));
    EXPECT_EQ(ini.getString("Search Values", "empty", "x"), "");
    EXPECT_EQ(ini.getString("Search Values", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini.getString("Other", "SearchRange", "dflt"), "dflt");
    // A key before any section belongs to no section.
    EXPECT_FALSE(IniFile::fromText("a=1\n[s]\n").hasKey("", "a"));
}

TEST(IniFile, NumbersFollowTheProfileConversions) {
    EXPECT_EQ(IniFile::toInt("  42abc"), 42);
    EXPECT_EQ(IniFile::toInt("-7"), -7);
    EXPECT_EQ(IniFile::toInt("abc"), 0);
    EXPECT_EQ(IniFile::toInt("99999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(IniFile::toDouble("1.5e2 nm"), 150.0);
    EXPECT_DOUBLE_EQ(IniFile::toDouble("+0.1"), 0.1);
    EXPECT_DOUBLE_EQ(IniFile::toDouble("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(IniFile::toDouble("x1"), 0.0);
    EXPECT_DOUBLE_EQ(IniFile::toDouble("--1"), 0.0);

    const IniFile ini = IniFile::fromText("[a]\nn=12.9\nbad=zz\n");
    EXPECT_EQ(ini.getInt("a", "n", 5), 12);
    EXPECT_EQ(ini.getInt("a", "bad", 5), 0);  // present but not a number: 0, not the default
    EXPECT_EQ(ini.getInt("a", "none", 5), 5);
    EXPECT_DOUBLE_EQ(ini.getDouble("a", "none", "10000"), 10000.0);
}

TEST(IniFile, WritingKeepsEveryOtherLine) {
    IniFile ini = IniFile::fromText(
        "; kept comment\n"
        "[InitApp]\n"
        "Size=9\n"
        "\n"
        "[Search Values]\n"
        "SearchRange=0.1\n"
        "\n");
    ini.setInt("initapp", "SIZE", 3);          // existing key: changed in place, name kept
    ini.setInt("InitApp", "Left", 10);         // new key: after the last entry
    ini.setDouble("Search Values", "NoiseValue", 0.125);
    ini.setString("New Section", "Key", "Wert");
    EXPECT_EQ(ini.toText(),
              "; kept comment\n"
              "[InitApp]\n"
              "Size=3\n"
              "Left=10\n"
              "\n"
              "[Search Values]\n"
              "SearchRange=0.1\n"
              "NoiseValue=0.125\n"
              "\n"
              "[New Section]\n"
              "Key=Wert\n");
}

TEST(IniFile, DiskIsWindows1252AndAMissingFileIsEmpty) {
    const std::string path = tempPath("lumcore_ini_cp1252.ini");
    IniFile ini;
    ini.setString("Element Selection", "Äq", "1");
    ini.setDouble("Search Values", "LowerIntensity", 1e-5);
    ASSERT_TRUE(ini.save(path));
    EXPECT_EQ(readBytes(path), "[Element Selection]\n\xC4q=1\n[Search Values]\nLowerIntensity=1e-05\n");
    const IniFile back = IniFile::load(path);
    EXPECT_EQ(back.getInt("element selection", "Äq", 0), 1);
    std::remove(path.c_str());

    const IniFile none = IniFile::load(tempPath("lumcore_ini_does_not_exist.ini"));
    EXPECT_FALSE(none.hasKey("Search Values", "SearchRange"));
    EXPECT_FALSE(ini.save(tempPath("no_such_dir/x.ini")));
}

TEST(AnalysisSettings, MissingKeysGiveTheDocumentedDefaults) {
    TElementArray elements = someElements();
    const auto s = lumcore::loadAnalysisSettings(IniFile{}, elements);
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
    const IniFile ini = IniFile::fromText(
        "[Element Selection]\n"
        "fe=1\n"     // case-insensitive element key
        "Ar=2\n"     // only 1 selects
        "Xx=1\n"     // not in the table: ignored
        "Neutrals=1\nHigherIons=1\n"
        "[Search Values]\n"
        "SearchRange=0.05\nIntensityRange=1\nLowerIntensity=5\nUpperIntensity=500\n"
        "Noise=1\nNoiseValue=12.5\nFTFilter=1\nSetFTValues=1\nFreqNumber=256\nFreqCutoff=20\n"
        "SGFilter=1\nPolynomOrder=2\nFilterWidth=7\nFilterData=1\nZoomData=1\n"
        "IntensityValues=0\nIntensityOption=2\nSortOption=1\n");
    const auto s = lumcore::loadAnalysisSettings(ini, elements);
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
    TElementArray elements = someElements();
    elements[1].selected = false;
    auto s = lumcore::AnalysisSettings::defaults();
    s.select.FirstIons = true;
    s.select.SearchRange = 0.03f;
    s.select.IntensityRange = true;
    s.select.UpperIntensity = 2500.0f;
    s.select.IntensityOption = 1;
    s.search.SGFilter = true;
    s.search.PolynomOrder = 3;
    s.search.FilterWidth = 11;
    s.search.Noise = true;
    s.search.NoiseValue = 7.5f;

    const std::string path = tempPath("lumcore_settings_roundtrip.lmc");
    IniFile out;
    lumcore::saveAnalysisSettings(out, elements, s);
    ASSERT_TRUE(out.save(path));
    EXPECT_EQ(IniFile::load(path).getString("Search Values", "SearchRange"), "0.03");

    TElementArray again = someElements();
    const auto back = lumcore::loadAnalysisSettings(IniFile::load(path), again);
    std::remove(path.c_str());
    for (std::size_t i = 0; i < again.size(); ++i)
        EXPECT_EQ(again[i].selected, elements[i].selected) << again[i].name;
    EXPECT_EQ(back.select.FirstIons, true);
    EXPECT_FLOAT_EQ(back.select.SearchRange, 0.03f);
    EXPECT_TRUE(back.select.IntensityRange);
    EXPECT_FLOAT_EQ(back.select.UpperIntensity, 2500.0f);
    EXPECT_EQ(back.select.IntensityOption, 1);
    EXPECT_TRUE(back.search.SGFilter);
    EXPECT_EQ(back.search.PolynomOrder, 3);
    EXPECT_EQ(back.search.FilterWidth, 11);
    EXPECT_TRUE(back.search.Noise);
    EXPECT_FLOAT_EQ(back.search.NoiseValue, 7.5f);
    EXPECT_EQ(back.search.FreqNumber, 512);
}
