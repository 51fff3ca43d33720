// The analysis-settings loader: defaults, the selection rule and a save/load round trip.
#include <gtest/gtest.h>

#include <string>

#include "lumcore/IniFile.h"
#include "lumdb/AnalysisSettings.h"

using lumcore::IniFile;

namespace {

// A non-ASCII name must survive the Windows-1252 round trip.
TElementArray someElements() {
    return {{"Fe", "", 0, {}, true},
            {"Ar", "", 0, {}, true},
            {"N2", "", 0, {}, true},
            {"Äq", "", 0, {}, true}};
}

}  // namespace

// What the loader makes of an empty file and of one with nearly every key away from its
// default (element keys in another case, "Ar=2" which does not select, an element not in the
// table), written out again and compared with the files that pin the expected values. Every
// field is written, so a wrong default, a misread key or a wrongly applied selection rule
// changes the text. A pinned file read and written again comes back unchanged: no key is lost
// on the way in or out.
TEST(AnalysisSettings, DefaultsAndEveryKeyReadAsPinnedAndRoundTrip) {
    const std::string data = std::string(LUMORA_TEST_DATA) + "/lumdb/data/analysis_settings_";
    const std::pair<IniFile, std::string> cases[] = {
        {IniFile::fromText(""), "defaults"}, {IniFile::load(data + "input.lmc"), "every_key"}};
    for (const auto& [input, name] : cases) {
        const IniFile pinned = IniFile::load(data + name + ".lmc");
        ASSERT_GE(pinned.getInt("Search Values", "FilterWidth", -1), 0) << name;  // file found
        for (const IniFile* source : {&input, &pinned}) {
            TElementArray elements = someElements();
            IniFile saved;
            lumdb::saveAnalysisSettings(saved, elements,
                                        lumdb::loadAnalysisSettings(*source, elements));
            EXPECT_EQ(saved.toText(), pinned.toText()) << name;
        }
    }
}
