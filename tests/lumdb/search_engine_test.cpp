// LineSearchEngine against small stored databases written by the test.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "DataRows.h"
#include "ScriptedRunHost.h"
#include "StoredDatabase.h"
#include "lumdb/Database.h"

namespace {

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
        values_.UpperWavelength = 1000;
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

    lumtest::StoredDatabase db_;
    TElementArray elements_;
    SSearchEngineVal values_;
    TSearchEngineLineArray result_;
    lumtest::ScriptedRunHost host_;
};

TEST_F(SearchEngine, SortOrderBoundsStrengthsAndStagesAsTabled) {
    const auto rows = lumtest::dataRows("search_engine_cases.tsv");
    ASSERT_EQ(rows.size(), 8u);
    for (const std::string& line : rows) {
        std::istringstream row(line);
        std::string stages, arrow;
        row >> values_.SortOption >> values_.LowerWavelength >> values_.UpperWavelength >>
            values_.LowerIntensity >> values_.UpperIntensity >> values_.IntensityOption >> stages >>
            arrow;
        values_.Neutrals = stages[0] == '1';
        values_.FirstIons = stages[1] == '1';
        values_.HigherIons = stages[2] == '1';
        EXPECT_EQ(run(), (std::vector<float>{std::istream_iterator<float>(row), {}})) << line;
    }
}

TEST_F(SearchEngine, EntriesCarryLabelRecordStrengthAndColour) {
    run();
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
    // Aik from the statistical weights, J 1 -> 2: 6.67e13 * 3 * 0.2 / (5 * 400^2) s^-1.
    values_.IntensityOption = 2;
    values_.LowerWavelength = values_.UpperWavelength = 400;
    run();
    ASSERT_EQ(result_.size(), 1u);
    EXPECT_NEAR(result_[0].value, 5.0025e7, 5.0025e7 * 1e-6);
    // A file whose header names another element is not read.
    db_.write("Data/Fe_II.lmt", {"Cu II;Cu II", "450;0.3;;;;;;;"});
    values_.LowerWavelength = 450;
    values_.UpperWavelength = 450;
    EXPECT_TRUE(run().empty());
}

TEST_F(SearchEngine, AbortKeepsTheResultsFoundSoFar) {
    host_.abortAfterPumps = 1;
    EXPECT_EQ(LineSearchEngine(host_, db_.dataDir(), result_, elements_, values_), 0);
    ASSERT_EQ(result_.size(), 1u);
    EXPECT_EQ(result_[0].wavelength, 400.0f);
    EXPECT_EQ(host_.statusOpen, 0);
    EXPECT_EQ(host_.parentDisabled, 0);
}

}  // namespace
