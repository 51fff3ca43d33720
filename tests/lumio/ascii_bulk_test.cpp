// Large ASCII x,y files: the reader takes plain "x y" and "x,y" lines through a fast path
// that classifies whole lines at once, and every other line through the field-by-field
// code. Thousands of generated lines of both kinds are read here and compared with the C
// library's own reading of each field, so a wrong digit, a lost line or a mixed-up path
// shows up. Each file ends in a long last line without line end, read into a buffer of the
// file's exact size, so a fast path that looks behind the text is caught by the address
// sanitizer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "IoTestFiles.h"
#include "lumcore/Printf.h"

using lumcore::strprintf;

namespace {

struct Expected {
    std::vector<TPointF> points;
    float xMin = 3.4e38f, xMax = -3.4e38f, yMin = 3.4e38f, yMax = -3.4e38f;

    void add(const std::string& xs, const std::string& ys) {
        const float x = std::strtof(xs.c_str(), nullptr);
        const float y = std::strtof(ys.c_str(), nullptr);
        xMin = std::min(xMin, x);
        xMax = std::max(xMax, x);
        yMin = std::min(yMin, y);
        yMax = std::max(yMax, y);
        if (points.empty() || points.back().x != x) points.push_back({x, y});
    }
};

// A decimal with `whole` digits before and `frac` digits after the point (no point when
// frac is 0), and sometimes a sign.
std::string decimal(std::mt19937& rng, int whole, int frac, bool negative) {
    std::uniform_int_distribution<int> digit(0, 9);
    std::string s = negative ? "-" : "";
    s += static_cast<char>('1' + digit(rng) % 9);
    for (int i = 1; i < whole; ++i) s += static_cast<char>('0' + digit(rng));
    if (frac > 0) {
        s += '.';
        for (int i = 0; i < frac; ++i) s += static_cast<char>('0' + digit(rng));
    }
    return s;
}

}  // namespace

TEST(AsciiBulk, PlainAndOtherLinesReadAsTheCLibraryReadsEachField) {
    for (const std::string sep : {" ", ","}) {
        SCOPED_TRACE("separator \"" + sep + "\"");
        std::mt19937 rng(20261206);
        std::uniform_int_distribution<int> digits(1, 7);
        std::uniform_int_distribution<int> fracDigits(0, 7);
        std::uniform_int_distribution<int> kind(0, 9);
        std::string text;
        Expected expected;
        double x = 180.0;
        for (int i = 0; i < 250000; ++i) {
            // Strictly rising x (a step of at least 0.0001 with four decimals), so the layout
            // stays x,y and the monotony question never comes up.
            x += 0.0001 + 0.0123 * (i % 7);
            const std::string xs = strprintf("%.4f", x);
            std::string ys;
            std::string line;
            // The first line decides the separator: a plain one.
            switch (i == 0 ? 9 : kind(rng)) {
                case 0:  // exponent: not plain
                    ys = strprintf("%.4e", std::ldexp(1.0, (i % 40) - 20));
                    line = xs + sep + ys;
                    break;
                case 1:  // tab separator and trailing blanks, or blanks behind the comma
                    ys = decimal(rng, digits(rng), fracDigits(rng), i % 3 == 0);
                    line = sep == "," ? xs + ",  " + ys : xs + "\t" + ys + "  ";
                    break;
                case 2:  // more than seven decimals: not plain
                    ys = decimal(rng, 2, 9, false);
                    line = xs + sep + ys;
                    break;
                case 3:  // Windows line end
                    ys = decimal(rng, digits(rng), fracDigits(rng), false);
                    line = xs + sep + ys + "\r";
                    break;
                default:  // plain "x y"
                    ys = decimal(rng, digits(rng), fracDigits(rng), i % 5 == 0);
                    line = xs + sep + ys;
                    break;
            }
            text += line + "\n";
            expected.add(xs, ys);
        }
        // A last line without line end, long with zeros.
        const std::string last = strprintf("%.4f", x + 1.0);
        text += last + sep + "1.";
        text.append(4096 - text.size() % 4096, '0');
        expected.add(last, "1");

        lumtest::TempFolder folder("ascii-bulk");
        const std::string path = folder.write("bulk.txt", text);
        lumtest::ScriptedUi ui;
        SpectrumRecord record;
        const auto outcome = lumtest::readSpectrum(ui, record, path);
        ASSERT_TRUE(outcome.ok()) << outcome.keyword;
        EXPECT_EQ(outcome.filterIndex, 3);
        ASSERT_EQ(record.points.size(), expected.points.size());
        for (std::size_t i = 0; i < expected.points.size(); ++i) {
            ASSERT_TRUE(lumtest::sameBits(record.points[i].x, expected.points[i].x))
                << "line " << i;
            ASSERT_TRUE(lumtest::sameBits(record.points[i].y, expected.points[i].y))
                << "line " << i;
        }
        EXPECT_EQ(record.plotInfo.xMin, expected.xMin);
        EXPECT_EQ(record.plotInfo.xMax, expected.xMax);
        EXPECT_EQ(record.plotInfo.yMin, expected.yMin);
        EXPECT_EQ(record.plotInfo.yMax, expected.yMax);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST(AsciiBulk, OutOfRangeValuesInTheMiddleOfPlainLines) {
    // A long run of plain lines with one y beyond the float range: that point takes the y
    // before it, and the message comes once.
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        if (i == 2500)
            text += "2500.5 1e39\n";
        else
            text += strprintf("%d.5 %d.25\n", i, i % 100);
    }
    lumtest::TempFolder folder("ascii-bulk-range");
    lumtest::ScriptedUi ui;
    SpectrumRecord record;
    const auto outcome = lumtest::readSpectrum(ui, record, folder.write("r.txt", text));
    ASSERT_TRUE(outcome.ok()) << outcome.keyword;
    ASSERT_EQ(record.points.size(), 5000u);
    EXPECT_EQ(record.points[2500].y, record.points[2499].y);
    EXPECT_EQ(record.points[2501].y, 1.25f);
    EXPECT_EQ(ui.messages.size(), 1u);
}
