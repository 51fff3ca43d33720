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

// What the loader makes of an empty file and of one with every key set, written out again
// and compared with the files that pin the expected values. Every field is written, so a
// wrong default, a misread key or a wrongly applied selection rule changes the text.
TEST(AnalysisSettings, DefaultsAndEveryKeyReadAsPinned) {
    const std::pair<std::string, const char*> cases[] = {{"defaults", ""},
                                                         {"every_key", kEveryKey}};
    for (const auto& [name, text] : cases) {
        TElementArray elements = someElements();
        IniFile saved;
        lumdb::saveAnalysisSettings(saved, elements,
                                    lumdb::loadAnalysisSettings(IniFile::fromText(text), elements));
        const IniFile pinned = IniFile::load(std::string(LUMORA_TEST_DATA) +
                                             "/lumdb/data/analysis_settings_" + name + ".lmc");
        ASSERT_GE(pinned.getInt("Search Values", "FilterWidth", -1), 0) << name;  // file found
        EXPECT_EQ(saved.toText(), pinned.toText()) << name;
    }
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
