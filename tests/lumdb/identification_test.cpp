// LineIdentification and LineSearchEngine against small stored databases written by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <sstream>

#include "DataRows.h"
#include "ScriptedRunHost.h"
#include "StoredDatabase.h"
#include "lumdb/Database.h"

namespace {

using lumtest::ScriptedRunHost;
using lumtest::StoredDatabase;

constexpr TColor kIron = MakeColor(200, 10, 10);

TLineArray linesAt(std::initializer_list<float> xs) {
    TLineArray lines;
    for (float x : xs) lines.add(CLine(x, 100.0f));
    return lines;
}

SSelectElVal allStages(float tol) {
    return {
        .text = {}, .Neutrals = true, .FirstIons = true, .HigherIons = true, .SearchRange = tol};
}

class Identification : public ::testing::Test {
  protected:
    Identification() : db_("identification") {
        db_.write("Data/Elements.lmt", {"Fe;*A;200;10;10;Fe_I;Fe_II;Fe_III", "N2;*M;0;0;255;N2"});
        db_.write("Data/Fe_I.lmt",
                  {"Fe I;Fe I", "371.9935;1000;0;3.33;a 5D;z 5F*;4;5;", "399.9;0.1;1;2;a;b;1;2;",
                   "400.05;0.3;1;2;a;b;1;2;x", "499.5;0.25;1;2;a;b;1;2;", "500.5;0.5;1;2;a;b;1;2;",
                   "510.0;0.00005;;;;;;;", "520.0;0.0123;;;;;;;", "530.12345;0.1234567;;;;;;;"});
        db_.write("Data/Fe_II.lmt",
                  {"Fe II;Fe II", "400.02;0.2;1;2;c;d;0.5;1.5;", "600;0.5;;;;;;;"});
        db_.write("Data/Fe_III.lmt", {"Fe III;Fe III", "700;0.5;;;;;;;"});
        db_.write("Data/N2.lmt", {"N2;N2", "337.13;0.5;;;B;C;;;Bandenkopf"});
        GetElements(db_.programDir(), elements_);
    }

    unsigned char run(TLineArray& lines, const SSelectElVal& values) {
        return LineIdentification(host_, db_.dataDir(), lines, elements_, values);
    }

    StoredDatabase db_;
    TElementArray elements_;
    ScriptedRunHost host_;
};

TEST_F(Identification, HitIntervalStagesSelectionAndStrengthsAsTabled) {
    const auto rows = lumtest::dataRows("identification_cases.tsv");
    ASSERT_EQ(rows.size(), 19u);
    for (const std::string& line : rows) {
        std::vector<std::string> f;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, '\t');) f.push_back(field);
        SSelectElVal v = allStages(std::stof(f[0]));
        v.Neutrals = f[1][0] == '1';
        v.FirstIons = f[1][1] == '1';
        v.HigherIons = f[1][2] == '1';
        elements_[0].selected = f[2][0] == '1';
        elements_[1].selected = f[2][1] == '1';
        std::istringstream strength(f[3]), xs(f[4]);
        v.IntensityRange = static_cast<bool>(strength >> v.IntensityOption >> v.LowerIntensity >>
                                             v.UpperIntensity);
        TLineArray lines = linesAt({});
        for (float x; xs >> x;) lines.add(CLine(x, 100.0f));
        ASSERT_EQ(run(lines, v), 1) << line;
        f.resize(5 + lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string labels;
            for (const auto& label : lines[i].candidateLabels)
                labels += (labels.empty() ? "" : "|") + label;
            EXPECT_EQ(labels, f[5 + i]) << line;
        }
    }
}

TEST_F(Identification, CandidateAndSpeciesEntriesStrongestPerSpeciesFirstOnTies) {
    TLineArray lines = linesAt({371.99f, 400.0f});
    ASSERT_EQ(run(lines, allStages(0.2f)), 1);
    // Text, record and colour of a candidate and of its species entry.
    EXPECT_EQ(lines[0].candidateLabels, (TStringArray{"Fe I 371.9935;1000"}));
    EXPECT_EQ(lines[0].candidateRecords, (TStringArray{"1000;0;3.33;a 5D;z 5F*;4;5;"}));
    EXPECT_EQ(lines[0].candidateColors, (TColorArray{kIron}));
    EXPECT_EQ(lines[0].speciesLabels, (TStringArray{"Fe I 371.9935;1000"}));
    EXPECT_EQ(lines[0].speciesColors, (TColorArray{kIron}));
    // Fe I matched twice: its stronger line, marked; Fe II once: unmarked.
    EXPECT_EQ(lines[1].speciesLabels, (TStringArray{"Fe I 400.05;0.3*", "Fe II 400.02;0.2"}));
    EXPECT_EQ(lines[1].speciesRecords, (TStringArray{"0.3;1;2;a;b;1;2;x", "0.2;1;2;c;d;0.5;1.5;"}));
    // Equal strength: the first listed candidate stays.
    db_.write("Data/Fe_I.lmt",
              {"Fe I;Fe I", "400.0;0.3;1;2;first;;;;", "400.1;0.3;1;2;second;;;;"});
    lines = linesAt({400.05f});
    ASSERT_EQ(run(lines, allStages(0.1f)), 1);
    EXPECT_EQ(lines[0].speciesLabels, (TStringArray{"Fe I 400;0.3*", "Fe II 400.02;0.2"}));
    EXPECT_EQ(lines[0].speciesRecords.front(), "0.3;1;2;first;;;;");
}

TEST_F(Identification, SpeciesEntriesDoNotBorrowCandidatesOfSimilarLabels) {
    // "CO" and "Co I" compare equal ignoring case up to the blank; each species entry must
    // still come from its own file only.
    db_.write("Data/Elements.lmt", {"Co;*A;1;1;1;Co_I", "CO;*M;2;2;2;CO"});
    db_.write("Data/Co_I.lmt", {"Co I;Co I", "400.0;0.9;;;;;;;"});
    db_.write("Data/CO.lmt", {"CO;CO", "400.01;0.1;;;;;;;"});
    GetElements(db_.programDir(), elements_);
    TLineArray lines = linesAt({400.0f});
    ASSERT_EQ(run(lines, allStages(0.05f)), 1);
    EXPECT_EQ(lines[0].speciesLabels, (TStringArray{"Co I 400;0.9", "CO 400.01;0.1"}));
    EXPECT_EQ(lines[0].speciesColors, (TColorArray{MakeColor(1, 1, 1), MakeColor(2, 2, 2)}));
}

TEST_F(Identification, HeaderMustNameTheElementIgnoringCaseAndDecipherModesRewriteGlyphs) {
    db_.write("Data/Fe_I.lmt", {"Eisen;FE I", "500.5;0.5;0;2;a\xB2;b;1\xBD;2\xBD;"});  // "FE"
    db_.write("Data/Fe_II.lmt", {"Zink;Zn II", "600;0.5;;;;;;;"});  // no "Fe" at all
    TLineArray lines = linesAt({500.5f, 600.0f});
    SSelectElVal v = allStages(0.01f);
    v.decipherMode = 1;
    ASSERT_EQ(run(lines, v), 1);
    EXPECT_EQ(lines[0].candidateLabels, (TStringArray{"FE I 500.5;0.5"}));
    EXPECT_EQ(lines[0].candidateRecords, (TStringArray{"0.5;0;2;a2;b;3/2;5/2;"}));
    EXPECT_TRUE(lines[1].candidateLabels.empty());
    // The phase caption shows the short name with the label when they differ.
    EXPECT_TRUE(std::any_of(host_.refreshes.begin(), host_.refreshes.end(),
                            [](const auto& r) { return r.phase == "Eisen (FE I)"; }));
}

TEST_F(Identification, AbortKeepsWhatWasFoundAndProgressCountsBytesScaledBelow32768) {
    // "Abbruch" at the first pump, after the first record: what was found stays, result 0.
    ScriptedRunHost aborting;
    aborting.abortAfterPumps = 1;
    TLineArray lines = linesAt({371.99f, 500.5f});
    EXPECT_EQ(LineIdentification(aborting, db_.dataDir(), lines, elements_, allStages(0.01f)), 0);
    EXPECT_EQ(lines[0].candidateLabels.size(), 1u);
    EXPECT_TRUE(lines[1].candidateLabels.empty());
    std::vector<std::string> big{"Fe I;Fe I"};
    for (int i = 0; i < 4000; ++i)
        big.push_back("800." + std::to_string(1000 + i) + ";0.1;1;2;a;b;1;2;");
    db_.write("Data/Fe_I.lmt", big);
    const auto size = std::filesystem::file_size(db_.root() / "Data" / "Fe_I.lmt");
    ASSERT_TRUE(size > 32767u * 3 && size < 327670u);
    elements_[1].selected = false;  // only the iron files
    lines = linesAt({900.0f});
    SSelectElVal v = allStages(0.01f);
    v.FirstIons = v.HigherIons = false;
    ASSERT_EQ(run(lines, v), 1);
    ASSERT_FALSE(host_.refreshes.empty());
    EXPECT_EQ(host_.refreshes.front().process, "Linienidentifizierung:");
    EXPECT_EQ(host_.refreshes.back().phase, "Fe I");
    EXPECT_EQ(host_.refreshes.back().upper, static_cast<std::int32_t>(size / 10));
    EXPECT_EQ(host_.position(), static_cast<std::int32_t>(size / 10));  // every byte counted
    EXPECT_TRUE(host_.parentEverDisabled);
    for (const ScriptedRunHost* h : {&host_, &aborting})
        EXPECT_EQ(h->statusOpen + h->parentDisabled, 0);
}

class FileAppearsHost : public ScriptedRunHost {
  public:
    std::function<void()> onMessage;
    lumdb::Answer message(const std::string& text, const std::string& caption, lumdb::Icon icon,
                          lumdb::Buttons buttons, bool owned) override {
        if (onMessage) onMessage();
        return ScriptedRunHost::message(text, caption, icon, buttons, owned);
    }
};

TEST_F(Identification, MissingFilePromptRetriesOrCancels) {
    // The user puts the file back and presses OK: it is read. It never comes back: OK asks
    // again, Cancel gives up, keeping what was read before (Fe I).
    FileAppearsHost back;
    back.onMessage = [&] { db_.write("Data/Fe_II.lmt", {"Fe II;Fe II", "600;0.5;;;;;;;"}); };
    ScriptedRunHost never;
    never.answers = {lumdb::Answer::Ok, lumdb::Answer::Cancel};
    for (ScriptedRunHost* host : {static_cast<ScriptedRunHost*>(&back), &never}) {
        std::filesystem::remove(db_.root() / "Data" / "Fe_II.lmt");
        TLineArray lines = linesAt({500.5f, 600.0f});
        EXPECT_EQ(LineIdentification(*host, db_.dataDir(), lines, elements_, allStages(0.01f)),
                  host == &back);
        EXPECT_EQ(lines[0].candidateLabels.size(), 1u);
        EXPECT_EQ(lines[1].candidateLabels.size(), host == &back ? 1u : 0u);
        ASSERT_EQ(host->messages.size(), host == &back ? 1u : 2u);
        EXPECT_EQ(host->beeps, static_cast<int>(host->messages.size()));
        EXPECT_EQ(host->messages[0].text,
                  "Die Datenbank kann nicht gefunden werden!\n\nBitte legen Sie die Orvenit Lumora "
                  "CD in das CD-Laufwerk und überprüfen Sie die Programm- und Datenbankpfade.");
        EXPECT_EQ(host->messages[0].caption, "Datenbankquelle");
        EXPECT_EQ(host->messages[0].buttons, lumdb::Buttons::OkCancel);
        EXPECT_TRUE(host->messages[0].owned);
        EXPECT_EQ(host->statusOpen + host->parentDisabled, 0);
    }
}

// The search engine on the same database.
class SearchEngine : public Identification {
  protected:
    SearchEngine() {
        values_.Neutrals = values_.FirstIons = values_.HigherIons = true;
        values_.UpperWavelength = 1000;
        values_.UpperIntensity = 1e30f;
        values_.IntensityOption = 1;
    }

    std::vector<float> found() {
        result_.clear();
        EXPECT_EQ(LineSearchEngine(host_, db_.dataDir(), result_, elements_, values_), 1);
        std::vector<float> wavelengths;
        for (const CSearchEngineLine& l : result_) wavelengths.push_back(l.wavelength);
        return wavelengths;
    }

    SSearchEngineVal values_;
    TSearchEngineLineArray result_;
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
        EXPECT_EQ(found(), (std::vector<float>{std::istream_iterator<float>(row), {}})) << line;
    }
}

TEST_F(SearchEngine, EntriesCarryLabelRecordStrengthAndColour) {
    found();
    ASSERT_EQ(result_.size(), 12u);
    EXPECT_EQ(result_[0].label, "Fe I ;1000");
    EXPECT_EQ(result_[0].record, "1000;0;3.33;a 5D;z 5F*;4;5;");
    EXPECT_FLOAT_EQ(result_[0].value, 1000.0f);
    EXPECT_EQ(result_[0].color, kIron);
    EXPECT_EQ(result_[0].sortOption, 0);
    // A molecule has no f-value: strength 0, but the label keeps the stored value.
    EXPECT_EQ(result_[11].label, "N2 ;0.5");
    EXPECT_EQ(result_[11].value, 0.0f);
    EXPECT_EQ(host_.refreshes.front().process, "Suchmaschine:");
    // Aik from the statistical weights 2J + 1 of the record, J 1 -> 2.
    values_.IntensityOption = 2;
    values_.LowerWavelength = values_.UpperWavelength = 500.5f;
    found();
    ASSERT_EQ(result_.size(), 1u);
    const double aik = 6.67e13 * 3 * 0.5 / (5 * 500.5 * 500.5);
    EXPECT_NEAR(result_[0].value, aik, aik * 1e-6);
    // A file whose header names another element is not read.
    db_.write("Data/Fe_II.lmt", {"Cu II;Cu II", "600;0.5;;;;;;;"});
    values_.LowerWavelength = values_.UpperWavelength = 600;
    EXPECT_TRUE(found().empty());
}

TEST_F(SearchEngine, AbortKeepsTheResultsFoundSoFar) {
    host_.abortAfterPumps = 1;
    EXPECT_EQ(LineSearchEngine(host_, db_.dataDir(), result_, elements_, values_), 0);
    ASSERT_EQ(result_.size(), 1u);
    EXPECT_EQ(result_[0].wavelength, 371.9935f);
    EXPECT_EQ(host_.statusOpen, 0);
    EXPECT_EQ(host_.parentDisabled, 0);
}

}  // namespace
