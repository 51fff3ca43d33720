// LineSearchEngine against small stored databases written by the test.
#include <gtest/gtest.h>

#include "ScriptedRunHost.h"
#include "StoredDatabase.h"
#include "lumdb/Database.h"

namespace {

using lumtest::ScriptedRunHost;
using lumtest::StoredDatabase;

class SearchEngine : public ::testing::Test {
  protected:
    SearchEngine() : db_("search_engine") {
        db_.write("Data/Elements.lmt", {"Fe;*A;200;10;10;Fe_I;Fe_II", "N2;*M;0;0;255;N2"});
        db_.write("Data/Fe_I.lmt", {"Fe I;Fe I", "400;0.2;0;3.1;a;b;1;2;",
                                    "500;0.3;0;2.5;a;b;1;2;k", "600;0.1;;;;;;;", "700;0.3;;;;;;;"});
        db_.write("Data/Fe_II.lmt",
                  {"Fe II;Fe II", "450;0.3;;;;;;;", "550;0.008;;;;;;;", "650;0.0091;;;;;;;"});
        db_.write("Data/N2.lmt", {"N2;N2", "337.13;1;;;B;C;;;Bandenkopf", "380.49;0.8;;;;;;;"});
        GetElements(db_.programDir(), elements_);
        values_.Neutrals = values_.FirstIons = values_.HigherIons = true;
        values_.LowerWavelength = 0;
        values_.UpperWavelength = 1000;
        values_.LowerIntensity = 0;
        values_.UpperIntensity = 1e30f;
        values_.IntensityOption = 1;
    }

    std::vector<float> run() {
        result_.clear();
        EXPECT_EQ(LineSearchEngine(host_, db_.dataDir(), result_, elements_, values_), 1);
        std::vector<float> wavelengths;
        for (const CSearchEngineLine& l : result_) wavelengths.push_back(l.wavelength);
        return wavelengths;
    }

    StoredDatabase db_;
    TElementArray elements_;
    SSearchEngineVal values_;
    TSearchEngineLineArray result_;
    ScriptedRunHost host_;
};

TEST_F(SearchEngine, SortByElementKeepsTableFileAndRecordOrder) {
    values_.SortOption = 0;
    EXPECT_EQ(run(), (std::vector<float>{400, 500, 600, 700, 450, 550, 650, 337.13f, 380.49f}));
    const CSearchEngineLine& first = result_[1];
    EXPECT_EQ(first.label, "Fe I ;0.3");
    EXPECT_EQ(first.record, "0.3;0;2.5;a;b;1;2;k");
    EXPECT_FLOAT_EQ(first.value, 0.3f);
    EXPECT_EQ(first.color, MakeColor(200, 10, 10));
    EXPECT_EQ(first.sortOption, 0);
    // A molecule has no f-value: strength 0, but the label keeps the stored value.
    EXPECT_EQ(result_[7].label, "N2 ;1");
    EXPECT_EQ(result_[7].value, 0.0f);
    EXPECT_EQ(host_.refreshes.front().process, "Suchmaschine:");
}

TEST_F(SearchEngine, SortByWavelengthAndByStrengthWithStableTies) {
    values_.SortOption = 1;
    EXPECT_EQ(run(), (std::vector<float>{337.13f, 380.49f, 400, 450, 500, 550, 600, 650, 700}));
    values_.SortOption = 2;
    // 0.3 three times in the order found (Fe I 500, Fe I 700, Fe II 450), then 0.2, 0.1, ...;
    // the molecules (strength 0) last in the order found.
    EXPECT_EQ(run(), (std::vector<float>{500, 700, 450, 400, 600, 650, 550, 337.13f, 380.49f}));
}

TEST_F(SearchEngine, BoundsAreInclusive) {
    values_.SortOption = 1;
    values_.LowerWavelength = 400;
    values_.UpperWavelength = 600;
    EXPECT_EQ(run(), (std::vector<float>{400, 450, 500, 550, 600}));
    values_.LowerWavelength = 400.001f;
    values_.UpperWavelength = 599.999f;
    EXPECT_EQ(run(), (std::vector<float>{450, 500, 550}));
    values_.LowerWavelength = 0;
    values_.UpperWavelength = 1000;
    values_.LowerIntensity = 0.2f;
    values_.UpperIntensity = 0.3f;
    EXPECT_EQ(run(), (std::vector<float>{400, 450, 500, 700}));
}

TEST_F(SearchEngine, RelativeStrengthBelowTenExcludesValuesUpToNine) {
    values_.SortOption = 1;
    values_.IntensityOption = 0;
    values_.LowerIntensity = 10;
    values_.UpperIntensity = 10;
    // 0.008 -> 8 (excluded); 0.0091 -> 9.1, rounded up to 10 (included).
    EXPECT_EQ(run(), (std::vector<float>{650}));
    EXPECT_EQ(result_[0].value, 10.0f);
}

TEST_F(SearchEngine, AikFromTheStatisticalWeightsOfTheRecord) {
    values_.IntensityOption = 2;
    values_.LowerWavelength = values_.UpperWavelength = 400;
    run();
    ASSERT_EQ(result_.size(), 1u);
    // J 1 -> 2: 6.67e13 * 3 * 0.2 / (5 * 400^2) = 5.0025e7 s^-1.
    EXPECT_NEAR(result_[0].value, 5.0025e7, 5.0025e7 * 1e-6);
}

TEST_F(SearchEngine, StagesAndHeaderDecideWhichFilesCount) {
    values_.SortOption = 1;
    values_.Neutrals = false;
    values_.HigherIons = false;  // first ions only: Fe II, and no molecule ion file exists
    EXPECT_EQ(run(), (std::vector<float>{450, 550, 650}));
    db_.write("Data/Fe_II.lmt", {"Cu II;Cu II", "450;0.3;;;;;;;"});
    EXPECT_TRUE(run().empty());
}

TEST_F(SearchEngine, AbortKeepsTheResultsFoundSoFar) {
    values_.SortOption = 0;
    host_.abortAfterPumps = 1;
    result_.clear();
    EXPECT_EQ(LineSearchEngine(host_, db_.dataDir(), result_, elements_, values_), 0);
    ASSERT_EQ(result_.size(), 1u);
    EXPECT_EQ(result_[0].wavelength, 400.0f);
    EXPECT_EQ(host_.statusOpen, 0);
    EXPECT_EQ(host_.parentDisabled, 0);
}

}  // namespace
