// LineIdentification against small stored databases written by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <tuple>

#include "ScriptedRunHost.h"
#include "StoredDatabase.h"
#include "lumdb/Database.h"

namespace {

using lumtest::ScriptedRunHost;
using lumtest::StoredDatabase;

constexpr TColor kIron = MakeColor(200, 10, 10);
constexpr TColor kNitrogen = MakeColor(0, 0, 255);

TLineArray linesAt(std::initializer_list<float> xs) {
    TLineArray lines;
    for (float x : xs) lines.add(CLine(x, 100.0f));
    return lines;
}

SSelectElVal allStages(float tol) {
    SSelectElVal v;
    v.Neutrals = v.FirstIons = v.HigherIons = true;
    v.SearchRange = tol;
    return v;
}

class Identification : public ::testing::Test {
  protected:
    Identification() : db_("identification") {
        db_.write("Data/Elements.lmt", {"Fe;*A;200;10;10;Fe_I;Fe_II;Fe_III", "N2;*M;0;0;255;N2"});
        db_.write("Data/Fe_I.lmt", {"Fe I;Fe I", "371.9935;1000;0;3.33;a 5D;z 5F*;4;5;",
                                    "399.9;0.1;1;2;a;b;1;2;", "400.05;0.3;1;2;a;b;1;2;x",
                                    "499.5;0.25;1;2;a;b;1;2;", "500.5;0.5;1;2;a;b;1;2;"});
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

TEST_F(Identification, HitIntervalIsHalfOpenAndCandidatesCarryTextRecordAndColour) {
    // Database lines 499.5 and 500.5, tol 0.5: the found line at 500.0 = 500.5 - tol is
    // matched by 500.5 but not by 499.5 (500.0 = 499.5 + tol); 501.0 = 500.5 + tol by none.
    TLineArray lines = linesAt({500.0f, 501.0f});
    ASSERT_EQ(run(lines, allStages(0.5f)), 1);
    ASSERT_EQ(lines[0].candidateLabels.size(), 1u);
    EXPECT_EQ(lines[0].candidateLabels[0], "Fe I 500.5;0.5");
    EXPECT_TRUE(lines[1].candidateLabels.empty());
    // Text, record and colour of a candidate.
    lines = linesAt({371.99f});
    ASSERT_EQ(run(lines, allStages(0.01f)), 1);
    ASSERT_EQ(lines[0].candidateLabels.size(), 1u);
    EXPECT_EQ(lines[0].candidateLabels[0], "Fe I 371.9935;1000");
    EXPECT_EQ(lines[0].candidateRecords[0], "1000;0;3.33;a 5D;z 5F*;4;5;");
    EXPECT_EQ(lines[0].candidateColors[0], kIron);
    EXPECT_EQ(lines[0].speciesLabels, (TStringArray{"Fe I 371.9935;1000"}));
    EXPECT_EQ(lines[0].speciesColors, (TColorArray{kIron}));
}

// The candidate text is printf's "%s%.7g" and ";%g" for any wavelength and value.
TEST_F(Identification, CandidateTextsFormatLikePrintf) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> wavelength(190.0, 1000.0);
    std::uniform_real_distribution<double> exponent(-8.0, 7.0);
    std::vector<std::string> records{"Fe I;Fe I"};
    std::vector<double> xs;
    for (int i = 0; i < 400; ++i) xs.push_back(wavelength(random));
    std::sort(xs.begin(), xs.end());
    TLineArray lines;
    std::vector<std::string> expected;
    for (double x : xs) {
        const double v = std::pow(10.0, exponent(random));
        const std::string lambdaText = std::to_string(x).substr(0, 9);
        char value[32];
        std::snprintf(value, sizeof value, "%.*g", 1 + static_cast<int>(x) % 8, v);
        records.push_back(lambdaText + ";" + value + ";;;;;;;");
        const float lambda = std::strtof(lambdaText.c_str(), nullptr);
        lines.add(CLine(lambda, 1.0f));
        char text[64];
        std::snprintf(text, sizeof text, "Fe I %.7g;%g", static_cast<double>(lambda),
                      static_cast<double>(std::strtof(value, nullptr)));
        expected.push_back(text);
    }
    db_.write("Data/Fe_I.lmt", records);
    SSelectElVal v = allStages(1e-4f);
    v.FirstIons = v.HigherIons = false;
    ASSERT_EQ(run(lines, v), 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_FALSE(lines[i].candidateLabels.empty()) << i;
        EXPECT_EQ(lines[i].candidateLabels.front(), expected[i]);
    }
}

TEST_F(Identification, StrongestCandidatePerSpeciesWithStarWhenSeveralFirstOnTies) {
    TLineArray lines = linesAt({400.0f});
    ASSERT_EQ(run(lines, allStages(0.2f)), 1);
    const CLine& line = lines[0];
    EXPECT_EQ(line.candidateLabels,
              (TStringArray{"Fe I 399.9;0.1", "Fe I 400.05;0.3", "Fe II 400.02;0.2"}));
    // Fe I matched twice: its stronger line, marked; Fe II once: unmarked.
    EXPECT_EQ(line.speciesLabels, (TStringArray{"Fe I 400.05;0.3*", "Fe II 400.02;0.2"}));
    EXPECT_EQ(line.speciesRecords, (TStringArray{"0.3;1;2;a;b;1;2;x", "0.2;1;2;c;d;0.5;1.5;"}));
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

TEST_F(Identification, StageFlagsChooseTheFileRange) {
    // Neutrals, first ions, higher ions (which include the first) against the lines matched
    // of those at 500.5 (I), 600 (II), 700 (III).
    const std::pair<std::string, std::vector<float>> cases[] = {{"100", {500.5f}},
                                                                {"010", {600.0f}},
                                                                {"001", {600.0f, 700.0f}},
                                                                {"110", {500.5f, 600.0f}},
                                                                {"101", {500.5f, 600.0f, 700.0f}},
                                                                {"000", {}}};
    for (const auto& [flags, expected] : cases) {
        TLineArray lines = linesAt({500.5f, 600.0f, 700.0f});
        SSelectElVal v = allStages(0.01f);
        v.Neutrals = flags[0] == '1';
        v.FirstIons = flags[1] == '1';
        v.HigherIons = flags[2] == '1';
        ASSERT_EQ(run(lines, v), 1);
        std::vector<float> matched;
        for (const CLine& l : lines)
            if (!l.speciesLabels.empty()) matched.push_back(l.x);
        EXPECT_EQ(matched, expected) << flags;
    }
}

TEST_F(Identification, UnselectedElementsAreNotRead) {
    elements_[0].selected = false;
    TLineArray lines = linesAt({500.5f, 337.13f});
    ASSERT_EQ(run(lines, allStages(0.01f)), 1);
    EXPECT_TRUE(lines[1].candidateLabels.empty());  // 500.5: Fe only
    EXPECT_EQ(lines[0].speciesLabels, (TStringArray{"N2 337.13;0.5"}));
}

TEST_F(Identification, RelativeStrengthRoundsUpAndTinyValuesGiveZero) {
    db_.write("Data/Fe_I.lmt", {"Fe I;Fe I", "400.0;0.00005;;;;;;;", "410.0;0.0123;;;;;;;"});
    SSelectElVal v = allStages(0.01f);
    v.IntensityRange = true;
    v.IntensityOption = 0;
    v.UpperIntensity = 100;
    // 1000 * 0.00005 = 0.05 < 0.1 gives strength 0; 1000 * 0.0123 = 12.3 rounds up to 13.
    const std::tuple<float, float, std::size_t> cases[] = {
        {0, 400, 1}, {0, 410, 1}, {1, 400, 0}, {13, 410, 1}, {14, 410, 0}};
    for (const auto& [lower, x, matched] : cases) {
        TLineArray lines = linesAt({x});
        v.LowerIntensity = lower;
        ASSERT_EQ(run(lines, v), 1);
        EXPECT_EQ(lines[0].candidateLabels.size(), matched) << lower << " " << x;
    }
}

TEST_F(Identification, FValueAndAikOnlyForAtomicLabels) {
    // Fe I 500.5: f = 0.5, J 1 -> 2: A = 6.67e13 * 3 * 0.5 / (5 * 500.5^2) = 7.987e7 s^-1.
    // N2 337.13 with v = 0.5 has no blank in its label: strength 0 for both options.
    SSelectElVal v = allStages(0.01f);
    v.IntensityRange = true;
    auto matches = [&](int option, float lower, float upper) {
        TLineArray lines = linesAt({337.13f, 500.5f});
        v.IntensityOption = option;
        v.LowerIntensity = lower;
        v.UpperIntensity = upper;
        EXPECT_EQ(run(lines, v), 1);
        return std::make_pair(lines[0].candidateLabels.size(), lines[1].candidateLabels.size());
    };
    EXPECT_EQ(matches(1, 0.4f, 0.6f), std::make_pair(std::size_t{0}, std::size_t{1}));
    EXPECT_EQ(matches(1, 0.0f, 0.0f), std::make_pair(std::size_t{1}, std::size_t{0}));
    EXPECT_EQ(matches(2, 7.98e7f, 7.995e7f), std::make_pair(std::size_t{0}, std::size_t{1}));
    EXPECT_EQ(matches(2, 7.995e7f, 9e7f), std::make_pair(std::size_t{0}, std::size_t{0}));
    EXPECT_EQ(matches(2, 0.0f, 0.0f), std::make_pair(std::size_t{1}, std::size_t{0}));
}

TEST_F(Identification, OtherDecipherModesRewriteGlyphsOfHeaderAndRecords) {
    db_.write("Data/Fe_I.lmt", {"Fe I;Fe I", "500.5;0.5;0;2;a\xB2;b;1\xBD;2\xBD;"});
    TLineArray lines = linesAt({500.5f});
    SSelectElVal v = allStages(0.01f);
    v.decipherMode = 1;
    ASSERT_EQ(run(lines, v), 1);
    ASSERT_EQ(lines[0].candidateRecords.size(), 1u);
    EXPECT_EQ(lines[0].candidateRecords[0], "0.5;0;2;a2;b;3/2;5/2;");
}

TEST_F(Identification, HeaderMustNameTheElementIgnoringCase) {
    db_.write("Data/Fe_I.lmt", {"Eisen;FE I", "500.5;0.5;;;;;;;"});  // "Fe" only as "FE"
    db_.write("Data/Fe_II.lmt", {"Zink;Zn II", "600;0.5;;;;;;;"});   // no "Fe" at all
    TLineArray lines = linesAt({500.5f, 600.0f});
    ASSERT_EQ(run(lines, allStages(0.01f)), 1);
    EXPECT_EQ(lines[0].candidateLabels, (TStringArray{"FE I 500.5;0.5"}));
    EXPECT_TRUE(lines[1].candidateLabels.empty());
    // The phase caption shows the short name with the label when they differ.
    bool sawPhase = false;
    for (const auto& r : host_.refreshes) sawPhase |= r.phase == "Eisen (FE I)";
    EXPECT_TRUE(sawPhase);
}

TEST_F(Identification, ProgressCountsBytesScaledBelow32768) {
    std::vector<std::string> big{"Fe I;Fe I"};
    for (int i = 0; i < 4000; ++i)
        big.push_back("800." + std::to_string(1000 + i) + ";0.1;1;2;a;b;1;2;");
    db_.write("Data/Fe_I.lmt", big);
    const auto size = std::filesystem::file_size(db_.root() / "Data" / "Fe_I.lmt");
    ASSERT_GT(size, 32767u * 3);
    ASSERT_LT(size, 327670u);
    elements_[1].selected = false;  // only the iron files
    TLineArray lines = linesAt({900.0f});
    SSelectElVal v = allStages(0.01f);
    v.FirstIons = v.HigherIons = false;
    ASSERT_EQ(run(lines, v), 1);
    ASSERT_FALSE(host_.refreshes.empty());
    EXPECT_EQ(host_.refreshes.front().process, "Linienidentifizierung:");
    EXPECT_EQ(host_.refreshes.back().phase, "Fe I");
    EXPECT_EQ(host_.refreshes.back().upper, static_cast<std::int32_t>(size / 10));
    EXPECT_EQ(host_.position(), static_cast<std::int32_t>(size / 10));  // every byte counted
    EXPECT_EQ(host_.statusOpen, 0);
    EXPECT_EQ(host_.parentDisabled, 0);
    EXPECT_TRUE(host_.parentEverDisabled);
}

TEST_F(Identification, AbortKeepsWhatWasFoundAndReturnsZero) {
    host_.abortAfterPumps = 1;  // "Abbruch" at the first pump, after the first record
    TLineArray lines = linesAt({371.99f, 500.5f});
    EXPECT_EQ(run(lines, allStages(0.01f)), 0);
    EXPECT_EQ(lines[0].candidateLabels.size(), 1u);
    EXPECT_TRUE(lines[1].candidateLabels.empty());
    EXPECT_EQ(host_.statusOpen, 0);
    EXPECT_EQ(host_.parentDisabled, 0);
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
    std::filesystem::remove(db_.root() / "Data" / "Fe_II.lmt");
    const std::string text =
        "Die Datenbank kann nicht gefunden werden!\n\nBitte legen Sie die Orvenit Lumora CD in "
        "das CD-Laufwerk und überprüfen Sie die Programm- und Datenbankpfade.";
    {
        FileAppearsHost host;  // the user puts the file back and presses OK
        host.onMessage = [&] { db_.write("Data/Fe_II.lmt", {"Fe II;Fe II", "600;0.5;;;;;;;"}); };
        TLineArray lines = linesAt({600.0f});
        EXPECT_EQ(LineIdentification(host, db_.dataDir(), lines, elements_, allStages(0.01f)), 1);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, text);
        EXPECT_EQ(host.messages[0].caption, "Datenbankquelle");
        EXPECT_EQ(host.messages[0].buttons, lumdb::Buttons::OkCancel);
        EXPECT_TRUE(host.messages[0].owned);
        EXPECT_EQ(lines[0].candidateLabels.size(), 1u);
    }
    std::filesystem::remove(db_.root() / "Data" / "Fe_II.lmt");
    {
        ScriptedRunHost host;
        host.answers = {lumdb::Answer::Ok, lumdb::Answer::Cancel};
        TLineArray lines = linesAt({500.5f});
        EXPECT_EQ(LineIdentification(host, db_.dataDir(), lines, elements_, allStages(0.01f)), 0);
        EXPECT_EQ(host.messages.size(), 2u);
        EXPECT_EQ(host.beeps, 2);
        EXPECT_EQ(host.statusOpen, 0);
        EXPECT_EQ(host.parentDisabled, 0);
        EXPECT_EQ(lines[0].candidateLabels.size(), 1u);  // Fe I was read before
    }
}

}  // namespace
