// The database search report; see SearchReport.h.
#include "lumreport/SearchReport.h"

#include "NumberText.h"
#include "ReportText.h"
#include "lumdb/Candidate.h"
#include "lumreport/ReportCells.h"

namespace lumreport {

const char* strengthTitle(int intensityOption) {
    return intensityOption == 1 ? "f-Wert" : intensityOption == 2 ? "Aik [1/s]" : "I (rel.)";
}

bool buildSearchReport(Report& report, std::span<const CSearchEngineLine> result,
                       const SSearchEngineVal& values, const RowProgress& progress) {
    report.clear();
    report.reserve(result.size() + result.size() / 4 + 16, result.size() * 110 + 1024);
    std::string text;

    appendHeaderValue(report, "\tUntere Wellenlänge:\t", "%g nm",
                      static_cast<double>(values.LowerWavelength));
    appendHeaderValue(report, "\tObere Wellenlänge:\t", "%g nm",
                      static_cast<double>(values.UpperWavelength));
    appendSectionTitle(report, "Gefundene Linien:");

    if (result.empty()) {
        report.blankLine(TabSet::Header);
        report.startParagraph(ParagraphKind::Text, TabSet::Header);
        report.append("\t\tEs wurden keine Linien gefunden!", {true, false, kLightRed});
        return true;
    }
    appendColumnHeaders(report, std::string("\tLinie [nm]\tElement\t") +
                                    strengthTitle(values.IntensityOption) + kHeaderTail);

    std::size_t count = 0;
    std::string previous;
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (progress && !progress(i)) return false;
        const CSearchEngineLine& line = result[i];
        const lumdb::Candidate c = lumdb::SearchCandidate(line);
        const std::string_view species = trimmedRight(c.species);
        if (values.SortOption == 0 && i > 0 && species != previous) {
            report.blankLine(TabSet::Table);
            count = 0;
        }
        if (values.SortOption == 0) previous.assign(species);
        report.startParagraph(ParagraphKind::Text, TabSet::Table);
        text.assign("\t");
        appendFixed(text, static_cast<double>(line.wavelength), 4);
        report.append(text);
        text.assign("\t").append(c.species);
        report.append(text, {false, false, line.color});
        text.clear();
        appendRecordCells(text, c, values.IntensityOption);
        report.append(text);
        if ((count + 1) % 5 == 0) report.blankLine(TabSet::Table);
        ++count;
    }
    return true;
}

}  // namespace lumreport
