// Pieces both report builders share: number text, the header part's section title and the
// column headers with their rule.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "lumreport/Report.h"

namespace lumreport {

// The column header after its strength title, and the second header line.
inline constexpr const char* kHeaderTail = "\tEnergien [eV]\t Übergang\tQuantenzahlen\tKommentar";
inline constexpr const char* kHeaderSecondLine =
    "\t\t\t\t  unten - oben\tunten - oben\t   unten - oben\t";
inline constexpr std::size_t kRuleLength = 181;

// `format` with one number, into `buffer`; returns it.
inline const std::string& formatted(std::string& buffer, const char* format, double value) {
    char text[64];
    const int n = std::snprintf(text, sizeof text, format, value);
    buffer.assign(text,
                  n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), sizeof text - 1));
    return buffer;
}

inline std::string_view trimmedRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// One bold header line: `label` (with its tabs) and the number in `format`.
inline void appendHeaderValue(Report& report, std::string_view label, const char* format,
                              double value) {
    const Style bold{true, false, kBlack};
    std::string text;
    report.startParagraph(ParagraphKind::Text, TabSet::Header);
    report.append(label, bold);
    report.append(formatted(text, format, value), bold);
}

// A blank line, then "\t\t\t" bold and `title` bold and underlined, then a blank line.
inline void appendSectionTitle(Report& report, std::string_view title) {
    report.blankLine(TabSet::Header);
    report.startParagraph(ParagraphKind::Text, TabSet::Header);
    report.append("\t\t\t", {true, false, kBlack});
    report.append(title, {true, true, kBlack});
    report.blankLine(TabSet::Header);
}

// The bold column header, the second header line and the rule of 181 dashes.
inline void appendColumnHeaders(Report& report, std::string_view header) {
    report.startParagraph(ParagraphKind::ColumnHeader, TabSet::Header);
    report.append(header, {true, false, kBlack});
    report.startParagraph(ParagraphKind::ColumnHeader, TabSet::Header);
    report.append(kHeaderSecondLine);
    report.startParagraph(ParagraphKind::Rule, TabSet::Header);
    report.append(std::string(kRuleLength, '-'));
}

}  // namespace lumreport
