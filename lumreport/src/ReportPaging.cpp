// Page breaking of a printed report; see ReportPaging.h.
#include "lumreport/ReportPaging.h"

#include <algorithm>
#include <array>

namespace lumreport {

namespace {
constexpr std::array<int, 6> kHeaderPrintStops = {148, 215, 290, 405, 520, 625};
constexpr std::array<int, 12> kTablePrintStops = {151, 215, 285, 320, 330, 380,
                                                  440, 450, 530, 565, 575, 625};
}  // namespace

int linesPerPage(int pageHeight, int lineHeight) {
    if (lineHeight <= 0) lineHeight = 10;
    return std::max(1, pageHeight / lineHeight - 2);
}

std::span<const int> printTabStops(TabSet tabs) {
    if (tabs == TabSet::Header) return kHeaderPrintStops;
    return kTablePrintStops;
}

std::vector<Page> paginate(const Report& report, std::string_view title, int linesPerPage) {
    const std::size_t perPage = static_cast<std::size_t>(std::max(1, linesPerPage));
    std::vector<Page> pages;
    for (std::size_t first = 0; first < report.size() || pages.empty(); first += perPage) {
        Page& page = pages.emplace_back();
        page.number = static_cast<int>(pages.size());
        page.title = std::string(title);
        if (page.number > 1) page.title += " - Seite " + std::to_string(page.number);
        const std::size_t end = std::min(report.size(), first + perPage);
        page.lines.reserve(end - first);
        for (std::size_t i = first; i < end; ++i) {
            const Paragraph& p = report.paragraph(i);
            PrintLine line;
            line.paragraph = i;
            line.row = static_cast<int>(i - first);
            line.rule = p.kind == ParagraphKind::Rule;
            line.tabs = p.kind == ParagraphKind::ColumnHeader ? TabSet::Header : p.tabs;
            page.lines.push_back(line);
        }
    }
    return pages;
}

}  // namespace lumreport
