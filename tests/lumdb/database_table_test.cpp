// The element table (GetElements), the search for the data directory (CheckDataDirectory),
// and the sample database built into the program directory, which labels lines at sodium,
// hydrogen and argon wavelengths with those species.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ScriptedRunHost.h"
#include "StoredDatabase.h"
#include "database/ElementTable.h"
#include "lumdb/Database.h"

namespace {

using lumtest::StoredDatabase;

class VolumeHost : public lumtest::ScriptedRunHost {
  public:
    std::vector<std::vector<std::string>> volumesPerAsk;  // the last entry repeats
    int asked = 0;
    std::vector<std::string> removableVolumes() override {
        if (volumesPerAsk.empty()) return {};
        const std::size_t i = std::min<std::size_t>(asked++, volumesPerAsk.size() - 1);
        return volumesPerAsk[i];
    }
};

TEST(GetElements, SplitsFieldsBuildsColourAndFileNamesFromWindows1252) {
    StoredDatabase db("elements_fields");
    db.write("Data/Elements.lmt",
             {"Fe (Eisen);*A;300;2;1;Fe_I;Fe_II;Fe_III", "N2;*M;0;0;255;N2;", "Xx;*A;1;1;1",
              "Na;*A;1;2;3;;Na_II", "Ag (Silber\xE4);*A;1;2;3",
              "Mg;*A;0;0;0;" + std::string(1000, ';') + "Mg_X", "", "Zz;*A;9;9;9;Zz_I"});
    TElementArray elements{CElement{"old", "", 0, {"x.lmt"}, false}};
    GetElements(db.programDir(), elements);
    // Reading stops at the empty line; the old content is gone.
    ASSERT_EQ(elements.size(), 6u);
    EXPECT_EQ(elements[0].name, "Fe (Eisen)");
    EXPECT_EQ(elements[0].text, "*A");
    // Only the low 8 bits of each colour number count: 300 -> 44.
    EXPECT_EQ(elements[0].color, 44u + 2u * 256u + 1u * 65536u);
    EXPECT_EQ(elements[0].files, (TStringArray{"Fe_I.lmt", "Fe_II.lmt", "Fe_III.lmt"}));
    EXPECT_TRUE(elements[0].selected);
    // A trailing ';' adds no empty file name.
    EXPECT_EQ(elements[1].files, (TStringArray{"N2.lmt"}));
    EXPECT_EQ(elements[1].color, 255u * 65536u);
    // No file fields: no files.
    EXPECT_TRUE(elements[2].files.empty());
    // An empty middle field keeps the stages of the later files in place.
    EXPECT_EQ(elements[3].files, (TStringArray{"", "Na_II.lmt"}));
    EXPECT_EQ(elements[4].name, "Ag (Silber\xC3\xA4)");  // ä in UTF-8
    // A run of separators holds no more file fields than there can be stages.
    EXPECT_EQ(elements[5].files, TStringArray(lumdb::detail::kMaxElementFiles, ""));
    // Without a table the array is left empty.
    std::filesystem::remove(db.root() / "Data" / "Elements.lmt");
    GetElements(db.programDir(), elements);
    EXPECT_TRUE(elements.empty());
}

TEST(CheckDataDirectory, LocalDirectoryOrFirstVolumeHoldingEveryFileIsChosen) {
    StoredDatabase db("datadir_volumes");
    db.write("Data/Elements.lmt", {"Fe;*A;1;2;3;Fe_I;Fe_II", "N2;*M;1;2;3;N2"});
    for (const char* f : {"Data/Fe_I.lmt", "Data/Fe_II.lmt", "Data/N2.lmt"}) db.write(f, {"x;x"});
    VolumeHost host;
    std::string dir;
    EXPECT_EQ(CheckDataDirectory(host, db.programDir(), dir), 1);
    EXPECT_EQ(dir, db.dataDir());
    // Fe_II missing locally: the first volume that holds all files wins.
    std::filesystem::remove(db.root() / "Data" / "Fe_II.lmt");
    for (const char* v : {"vol1", "vol2", "vol3"})
        for (const char* f : {"Fe_I", "Fe_II", "N2"})
            if (std::string(v) != "vol1" || std::string(f) != "Fe_II")  // vol1 incomplete
                db.write(std::string(v) + "/Lumora/Data/" + f + ".lmt", {"x;x"});
    const std::string r = db.root().string();
    host.volumesPerAsk = {{r + "/vol1", r + "/vol2/", r + "/vol3"}};
    EXPECT_EQ(CheckDataDirectory(host, db.programDir(), dir), 1);
    EXPECT_EQ(dir, r + "/vol2/Lumora/Data/");
    EXPECT_TRUE(host.messages.empty());
    // No table at all: reported without owner, the directory left alone.
    std::filesystem::remove(db.root() / "Data" / "Elements.lmt");
    EXPECT_EQ(CheckDataDirectory(host, db.programDir(), dir), 0);
    EXPECT_EQ(dir, r + "/vol2/Lumora/Data/");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Das Datenbankverzeichnis kann nicht gefunden werden! Bitte überprüfen Sie die "
              "Programm- und Datenbankpfade.");
    EXPECT_EQ(host.messages[0].caption, "Datenbankquelle");
    EXPECT_EQ(host.messages[0].icon, lumdb::Icon::Information);
    EXPECT_EQ(host.messages[0].buttons, lumdb::Buttons::Ok);
    EXPECT_FALSE(host.messages[0].owned);
    EXPECT_EQ(host.beeps, 1);
}

TEST(CheckDataDirectory, PromptsForTheDiscUntilItAppearsOrTheUserCancels) {
    StoredDatabase db("datadir_prompt");
    db.write("Data/Elements.lmt", {"Fe;*A;1;2;3;Fe_I"});
    db.write("disc/Lumora/Data/Fe_I.lmt", {"x;x"});
    const std::string prompt =
        "Bitte legen Sie die Orvenit Lumora CD in das CD-Laufwerk und bestätigen Sie mit OK!";
    {
        // The disc shows up after the first prompt: OK finds it.
        VolumeHost host;
        host.volumesPerAsk = {{}, {db.root().string() + "/disc"}};
        std::string dir;
        EXPECT_EQ(CheckDataDirectory(host, db.programDir(), dir), 1);
        EXPECT_EQ(dir, db.root().string() + "/disc/Lumora/Data/");
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, prompt);
        EXPECT_EQ(host.messages[0].buttons, lumdb::Buttons::OkCancel);
        EXPECT_FALSE(host.messages[0].owned);
    }
    {
        // Never there: OK asks again, Cancel gives up.
        VolumeHost host;
        host.answers = {lumdb::Answer::Ok, lumdb::Answer::Cancel};
        std::string dir;
        EXPECT_EQ(CheckDataDirectory(host, db.programDir(), dir), 0);
        EXPECT_EQ(host.messages.size(), 2u);
        EXPECT_EQ(host.beeps, 2);
        EXPECT_TRUE(dir.empty());
    }
}

TEST(SampleDatabase, LabelsSodiumHydrogenAndArgonLines) {
    const std::string programDir = LUMORA_PROGRAM_DIR;
    if (!std::filesystem::exists(programDir + "/Data/Elements.lmt"))
        GTEST_SKIP() << "sample database not built (target lumora_database)";
    lumtest::ScriptedRunHost host;
    std::string dataDir;
    ASSERT_EQ(CheckDataDirectory(host, programDir, dataDir), 1);
    TElementArray elements;
    GetElements(programDir, elements);
    ASSERT_GT(elements.size(), 50u);
    const std::pair<float, std::string> expected[] = {{588.995f, "Na I 588.99"},
                                                      {589.592f, "Na I 589.59"},
                                                      {656.28f, "H I 656.2"},
                                                      {811.53f, "Ar I 811.53"}};
    TLineArray lines;
    for (const auto& e : expected) lines.add(CLine(e.first, 5000.0f));
    SSelectElVal values;
    values.Neutrals = true;
    values.SearchRange = 0.02f;
    ASSERT_EQ(LineIdentification(host, dataDir, lines, elements, values), 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& labels = lines[i].speciesLabels;
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](const std::string& label) {
            return label.rfind(expected[i].second, 0) == 0;
        })) << ::testing::PrintToString(labels);
    }
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
