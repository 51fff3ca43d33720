// The reports of the database search and the line information: strength cells (a table of
// hand-worked values in data/strength_cells.tsv), whole rows, grouping, the RTF read back by
// an independent reader (unrtf), and page breaking.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "lumdb/Candidate.h"
#include "lumreport/LineInfoReport.h"
#include "lumreport/ReportCells.h"
#include "lumreport/ReportPaging.h"
#include "lumreport/ReportWriters.h"
#include "lumreport/SearchReport.h"
#include "lumreport/SearchResultText.h"

using namespace lumreport;

namespace {

CSearchEngineLine searchLine(float wavelength, const std::string& label, const std::string& record,
                             TColor color = 0) {
    CSearchEngineLine line;
    line.wavelength = wavelength;
    line.label = label;
    line.record = record;
    line.color = color;
    return line;
}

// One letter per paragraph: t text in header tabs, r text in table tabs, _ empty,
// H column header, - rule.
std::string shape(const Report& report) {
    std::string s;
    for (std::size_t i = 0; i < report.size(); ++i) {
        const Paragraph& p = report.paragraph(i);
        s += p.kind == ParagraphKind::Rule           ? '-'
             : p.kind == ParagraphKind::ColumnHeader ? 'H'
             : report.text(i).empty()                ? '_'
             : p.tabs == TabSet::Table               ? 'r'
                                                     : 't';
    }
    return s;
}

// The style of the run holding `text` in paragraph `i`.
Style styleOf(const Report& report, std::size_t i, const std::string& text) {
    for (const Run& run : report.runs(i))
        if (report.text(run).find(text) != std::string_view::npos) return run.style;
    ADD_FAILURE() << "no run holds " << text;
    return {};
}

const TColor kIron = MakeColor(0, 128, 255);

}  // namespace

TEST(ReportCells, StrengthCellsByHand) {
    const auto rows = lumtest::tableRows(LUMORA_TEST_DATA "/lumreport/data/strength_cells.tsv");
    EXPECT_EQ(rows.size(), 13u);
    for (const std::string& row : rows) {
        const auto f = lumtest::split(row + '\t', '\t');  // keeps an empty last field
        ASSERT_EQ(f.size(), 6u) << row;
        const lumdb::Candidate c = lumdb::SearchCandidate(searchLine(std::stof(f[2]), f[0], f[1]));
        const int option = std::stoi(f[3]);
        EXPECT_EQ(strengthCell(c, option, "  -"), f[4]) << row;
        EXPECT_EQ(strengthCell(c, option, "-"), f[5]) << row;
    }
}

TEST(SearchReport, RowsHeaderPartAndGrouping) {
    SSearchEngineVal values;
    values.LowerWavelength = 371.5f;
    values.UpperWavelength = 400;
    std::vector<CSearchEngineLine> result;
    // Energies round half up (0.125 -> 0.13, where printf alone gives 0.12); an empty
    // energy leaves its cells empty; the comment follows only when there is one.
    result.push_back(searchLine(371.9935f, "Fe I ;0.0411",
                                "0.0411;0.125;3.3351;3d6.4s2 a 5D;z 5F*;4;5;Kommentar", kIron));
    for (int i = 0; i < 6; ++i) result.push_back(searchLine(380, "Fe I ;0.5", "0.5;;;a;b;1;2;"));
    for (int i = 0; i < 2; ++i) result.push_back(searchLine(390, "Fe II ;0.5", "0.5;1;2;a;b;1;2;"));

    Report report;
    ASSERT_TRUE(buildSearchReport(report, result, values));
    EXPECT_EQ(shape(report), "tt_t_HH-rrrrr_rr_rr");
    EXPECT_EQ(report.text(0), "\tUntere Wellenlänge:\t371.5 nm");
    EXPECT_EQ(report.text(5),
              "\tLinie [nm]\tElement\tI (rel.)\tEnergien [eV]\t Übergang\t"
              "Quantenzahlen\tKommentar");
    EXPECT_EQ(report.text(7), std::string(181, '-'));
    EXPECT_EQ(report.text(8),
              "\t371.9935\tFe I\t42\t0.13\t-\t3.34\t3d6.4s2 a 5D\t-\tz 5F*\t4\t-\t5\tKommentar");
    EXPECT_EQ(report.text(9), "\t380.0000\tFe I\t500\t\t-\t\ta\t-\tb\t1\t-\t2");
    EXPECT_EQ(styleOf(report, 3, "Gefundene"), (Style{true, true, kBlack}));
    EXPECT_EQ(styleOf(report, 6, "unten"), Style{});
    EXPECT_EQ(styleOf(report, 8, "Fe I"), (Style{false, false, kIron}));
    EXPECT_EQ(styleOf(report, 8, "42"), Style{});

    // Any other order: only the fives, counted over the whole list.
    values.SortOption = 1;
    values.IntensityOption = 2;
    ASSERT_TRUE(buildSearchReport(report, result, values));
    EXPECT_EQ(shape(report), "tt_t_HH-rrrrr_rrrr");
    EXPECT_NE(report.text(5).find("\tAik [1/s]\t"), std::string_view::npos);

    // Stopped by the progress after three rows; the rows so far stay.
    std::size_t asked = 0;
    EXPECT_FALSE(buildSearchReport(report, result, values, [&](std::size_t row) {
        asked = row;
        return row < 3;
    }));
    EXPECT_EQ(asked, 3u);
    EXPECT_EQ(shape(report), "tt_t_HH-rrr");

    ASSERT_TRUE(buildSearchReport(report, {}, values));
    EXPECT_EQ(shape(report), "tt_t__t");
    EXPECT_EQ(report.text(6), "\t\tEs wurden keine Linien gefunden!");
    EXPECT_EQ(styleOf(report, 6, "keine"), (Style{true, false, kLightRed}));
    EXPECT_EQ(searchResultText({}, values).substr(searchResultText({}, values).size() - 33),
              "Es wurden keine Linien gefunden!\n");
}

TEST(LineInfoReport, BlocksGroupByElement) {
    CLine line(371.99f, 1234.5f);
    auto add = [&line](const std::string& label, const std::string& record, TColor color) {
        line.candidateLabels.push_back(label);
        line.candidateRecords.push_back(record);
        line.candidateColors.push_back(color);
    };
    for (int i = 0; i < 6; ++i) add("Fe I 371.9935;0.0411", "0.0411;0;3.3;a;b;4;5;", kIron);
    add("Fe II 372.01;0.1", "0.1;1;2;a;b;1;2;", kIron);  // same element: the group goes on
    add("Cr I 371.98;0.2", "0.2;1;2;a;b;1;2;", MakeColor(9, 9, 9));

    Report report;
    appendFoundLineBlock(report, line, 0);
    EXPECT_EQ(shape(report), "tt_t_HH-rrrrr_rr_r___");
    EXPECT_EQ(report.text(0), "\tWellenlänge:      \t371.99 nm");
    EXPECT_EQ(report.text(1), "\tIntensität:\t\t1234.5");
    EXPECT_EQ(report.text(5).substr(0, 20), "\tElement\tLinie [nm]\t");
    EXPECT_EQ(report.text(8), "\tFe I\t371.9935\t42\t0.00\t-\t3.30\ta\t-\tb\t4\t-\t5");
    EXPECT_EQ(styleOf(report, 8, "Fe I"), (Style{false, false, kIron}));

    const std::size_t before = report.size();
    appendFoundLineBlock(report, CLine(400, 7), 1);
    EXPECT_EQ(shape(report).substr(before), "tt_t__t___");
    EXPECT_EQ(report.text(before + 6),
              "\t\tFür diese Wellenlänge wurden keine Linien identifiziert!");
    EXPECT_EQ(styleOf(report, before + 6, "keine"), (Style{true, false, kLightRed}));

    Report database;
    const std::vector<CSearchEngineLine> shown = {searchLine(500.5f, "N2 ;0.3", "0.3;1;2;a;b;;;"),
                                                  searchLine(501, "Ar I ;0.2", "0.2;1;2;a;b;1;1;")};
    appendDatabaseLinesBlock(database, shown, 1);
    EXPECT_EQ(shape(database), "t_HH-rr___");
    EXPECT_EQ(database.text(5), "\tN2\t500.5\t  -\t1.00\t-\t2.00\ta\t-\tb\t\t-\t");
    EXPECT_EQ(lineInfoTitle("probe.lmx: 500.5 nm"), "probe.lmx: 500.5 nm - Linieninformation");
}

TEST(ReportRtf, ReadsBackThroughUnrtf) {
    SSearchEngineVal values;
    values.LowerWavelength = 300;
    values.UpperWavelength = 400;
    // RTF's own characters, a letter of Windows-1252 beyond ASCII and one outside it.
    const std::vector<CSearchEngineLine> result = {
        searchLine(371.9935f, "Fe I ;0.0411", "0.0411;0;3.3;a;b;4;5;{x} \\y Ω", kIron)};
    Report report;
    buildSearchReport(report, result, values);
    Report none;
    buildSearchReport(none, {}, values);
    report.append(none);
    const std::string rtf = reportRtf(report);
    for (char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80u) << "RTF is 7-bit";
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);

    if (!lumtest::haveTool("unrtf"))
        GTEST_SKIP() << "unrtf is not installed (scripts/setup installs it)";
    const auto file = std::filesystem::path(::testing::TempDir()) / "lumreport_readback.rtf";
    ASSERT_TRUE(saveReportRtf(file.string(), report));
    std::string html =
        lumtest::run("unrtf --html '" + file.string() + "'", ::testing::TempDir()).out;
    std::filesystem::remove(file);
    std::erase(html, '\n');  // unrtf breaks its lines after tabs
    const std::string tabs = "(&nbsp;)+";
    // Bold and colour hold for a whole paragraph.
    for (const std::string& part : std::vector<std::string>{
             "Arial Unicode MS", "<b>(<[^>]*>)*" + tabs + "Untere Wellenl&auml;nge:",
             "<b>(<[^>]*>)*" + tabs + "Obere Wellenl&auml;nge:", "<u>Gefundene Linien:",
             "<font color=\"#0080ff\">" + tabs + "Fe I</font>", "\\{x\\} \\\\y &Omega;",
             "<b><font color=\"#ff0000\">" + tabs + "Es wurden keine Linien gefunden!"})
        EXPECT_TRUE(std::regex_search(html, std::regex(part))) << part << "\n" << html;
}

TEST(ReportPaging, PagesFollowTheParagraphKinds) {
    EXPECT_EQ(linesPerPage(1000, 14), 69);
    EXPECT_EQ(linesPerPage(25, 10), 1);  // a tiny page still takes a line
    EXPECT_EQ(linesPerPage(5, 0), 1);

    // A comment holding what once marked headers and rules stays an ordinary row.
    CLine line(371.99f, 1);
    for (int i = 0; i < 3; ++i) {
        line.candidateLabels.push_back("Fe I 371.9935;0.0411");
        line.candidateRecords.push_back("0.0411;0;3.3;a;b;4;5;Element oben upper -------");
        line.candidateColors.push_back(0);
    }
    Report report;
    appendFoundLineBlock(report, line, 0);
    const auto pages = paginate(report, "probe - Linieninformation", 4);
    ASSERT_EQ(pages.size(), (report.size() + 3) / 4);
    EXPECT_EQ(pages[0].title, "probe - Linieninformation");
    EXPECT_EQ(pages[1].title, "probe - Linieninformation - Seite 2");
    std::size_t next = 0;
    for (const Page& page : pages) {
        for (std::size_t k = 0; k < page.lines.size(); ++k) {
            const PrintLine& l = page.lines[k];
            EXPECT_EQ(l.paragraph, next++);
            EXPECT_EQ(l.row, static_cast<int>(k));
            const ParagraphKind kind = report.paragraph(l.paragraph).kind;
            EXPECT_EQ(l.rule, kind == ParagraphKind::Rule) << report.text(l.paragraph);
            if (kind == ParagraphKind::ColumnHeader) {
                EXPECT_EQ(l.tabs, TabSet::Header);
            }
            if (report.text(l.paragraph).find("upper -------") != std::string_view::npos) {
                EXPECT_EQ(l.tabs, TabSet::Table);
            }
        }
    }
    EXPECT_EQ(next, report.size());
    // Page 2 holds the column headers (paragraphs 5, 6) and the rule (7).
    EXPECT_EQ(pages[1].lines[1].tabs, TabSet::Header);
    EXPECT_TRUE(pages[1].lines[3].rule);
    EXPECT_EQ(printTabStops(pages[2].lines[0].tabs)[0], 151);

    EXPECT_EQ(paginate(report, "t", 0).size(), report.size());
    EXPECT_EQ(paginate(Report(), "t", 40).size(), 1u);
}
