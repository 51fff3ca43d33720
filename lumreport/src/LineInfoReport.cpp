// The line information blocks; see LineInfoReport.h.
#include "lumreport/LineInfoReport.h"

#include "ReportText.h"
#include "lumdb/Candidate.h"
#include "lumreport/ReportCells.h"
#include "lumreport/SearchReport.h"

namespace lumreport {

namespace {

const Style kBold{true, false, kBlack};

std::string columnHeader(int intensityOption) {
    return std::string("\tElement\tLinie [nm]\t") + strengthTitle(intensityOption) + kHeaderTail;
}

void endBlock(Report& report) {
    for (int i = 0; i < 3; ++i) report.blankLine(TabSet::Table);
}

}  // namespace

std::string lineInfoTitle(std::string_view caption) {
    return std::string(caption) + " - Linieninformation";
}

void appendFoundLineBlock(Report& report, const CLine& line, int intensityOption) {
    appendHeaderValue(report, "\tWellenlänge:      \t", "%g nm", static_cast<double>(line.x));
    appendHeaderValue(report, "\tIntensität:\t\t", "%g", static_cast<double>(line.y));
    std::string text;
    appendSectionTitle(report, "Identifizierte Linien:");

    const std::size_t n = line.candidateLabels.size();
    if (n == 0) {
        report.blankLine(TabSet::Header);
        report.startParagraph(ParagraphKind::Text, TabSet::Header);
        report.append("\t\tFür diese Wellenlänge wurden keine Linien identifiziert!",
                      {true, false, kLightRed});
        endBlock(report);
        return;
    }
    appendColumnHeaders(report, columnHeader(intensityOption));
    std::size_t count = 0;
    std::string_view previous;
    for (std::size_t k = 0; k < n; ++k) {
        const std::string& label = line.candidateLabels[k];
        const lumdb::Candidate c = lumdb::ParseCandidate(
            label, k < line.candidateRecords.size() ? line.candidateRecords[k] : std::string(),
            k < line.candidateColors.size() ? line.candidateColors[k] : TColor{});
        // The element is the label up to its first blank: "Fe" for "Fe I" and "Fe II".
        const std::string_view element = std::string_view(label).substr(0, label.find(' '));
        if (k > 0 && element != previous) {
            report.blankLine(TabSet::Table);
            count = 0;
        }
        previous = element;
        report.startParagraph(ParagraphKind::Text, TabSet::Table);
        text.assign("\t").append(c.species);
        report.append(text, {false, false, c.color});
        text.assign("\t").append(c.wavelengthText);
        appendRecordCells(text, c, intensityOption);
        report.append(text);
        if ((count + 1) % 5 == 0) report.blankLine(TabSet::Table);
        ++count;
    }
    endBlock(report);
}

void appendDatabaseLinesBlock(Report& report, std::span<const CSearchEngineLine> lines,
                              int intensityOption) {
    report.startParagraph(ParagraphKind::Text, TabSet::Header);
    report.append("\tDatenbank:", kBold);
    report.blankLine(TabSet::Header);
    appendColumnHeaders(report, columnHeader(intensityOption));
    std::string text, number;
    for (const CSearchEngineLine& line : lines) {
        const lumdb::Candidate c = lumdb::SearchCandidate(line);
        report.startParagraph(ParagraphKind::Text, TabSet::Table);
        text.assign("\t").append(c.species);
        report.append(text, {false, false, line.color});
        text.assign(formatted(number, "\t%g", static_cast<double>(line.wavelength)));
        appendRecordCells(text, c, intensityOption);
        report.append(text);
    }
    endBlock(report);
}

}  // namespace lumreport
