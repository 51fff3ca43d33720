// The sample database built into the program directory labels lines at sodium, hydrogen
// and argon wavelengths with those species.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ScriptedRunHost.h"
#include "lumdb/Database.h"

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
