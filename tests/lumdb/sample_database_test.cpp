// The sample database built into the program directory: a generated spectrum with sodium,
// hydrogen and argon lines is labelled with those species.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "ScriptedRunHost.h"
#include "lumdb/Database.h"

namespace {

// Local maxima of a spectrum that stand well above its continuum.
TLineArray peaksOf(const TPointList& spectrum, float threshold) {
    TLineArray lines;
    for (std::size_t i = 1; i + 1 < spectrum.size(); ++i)
        if (spectrum[i].y > threshold && spectrum[i].y > spectrum[i - 1].y &&
            spectrum[i].y >= spectrum[i + 1].y)
            lines.add(CLine(spectrum[i].x, spectrum[i].y));
    return lines;
}

bool hasSpeciesEntry(const CLine& line, const std::string& prefix) {
    for (const std::string& label : line.speciesLabels)
        if (label.rfind(prefix, 0) == 0) return true;
    return false;
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

    // 0.01 nm steps from 580 to 820 nm, Gaussian lines (FWHM 0.05 nm) on a flat continuum.
    const float centres[] = {588.995f, 589.592f, 656.28f, 811.53f};
    TPointList spectrum;
    for (int i = 0; i <= 24000; ++i) {
        const double x = 580.0 + 0.01 * i;
        double y = 100.0;
        for (float c : centres) y += 5000.0 * std::exp(-0.5 * std::pow((x - c) / 0.0212, 2));
        spectrum.push_back({static_cast<float>(x), static_cast<float>(y)});
    }
    TLineArray lines = peaksOf(spectrum, 1000.0f);
    ASSERT_EQ(lines.size(), 4u);

    SSelectElVal values;
    values.Neutrals = true;
    values.SearchRange = 0.02f;
    ASSERT_EQ(LineIdentification(host, dataDir, lines, elements, values), 1);
    EXPECT_TRUE(hasSpeciesEntry(lines[0], "Na I 588.99")) << ::testing::PrintToString(lines[0].speciesLabels);
    EXPECT_TRUE(hasSpeciesEntry(lines[1], "Na I 589.59")) << ::testing::PrintToString(lines[1].speciesLabels);
    EXPECT_TRUE(hasSpeciesEntry(lines[2], "H I 656.2")) << ::testing::PrintToString(lines[2].speciesLabels);
    EXPECT_TRUE(hasSpeciesEntry(lines[3], "Ar I 811.53")) << ::testing::PrintToString(lines[3].speciesLabels);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
