// How a report falls into printed pages, as a pure function of the model: which paragraph
// goes on which line position of which page, which are rules, which tab stops each uses.
// The paragraph's kind decides, never its text.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lumreport/Report.h"

namespace lumreport {

// Lines per page: the text height over the line height (10 when the font gives none), less
// the two line positions of the title; at least one, so a tiny page still takes a line.
int linesPerPage(int pageHeight, int lineHeight);

// The printed tab stops of a set, in the printing units (1/96 inch from the left inset).
std::span<const int> printTabStops(TabSet tabs);

struct PrintLine {
    std::size_t paragraph = 0;  // index into the report
    int row = 0;                // line position below the title: y = (row + 2) * line height
    bool rule = false;          // drawn as a horizontal line across the text width
    TabSet tabs = TabSet::Table;
};

struct Page {
    int number = 1;
    std::string title;  // page 1 the title itself, later pages "<title> - Seite <n>"
    std::vector<PrintLine> lines;
};

// The pages of `report` under `title`, `linesPerPage` paragraphs each (at least one). An
// empty report gives one page with its title. Column headers use the header tab stops,
// rules are rules, other paragraphs keep their own tab-stop set.
std::vector<Page> paginate(const Report& report, std::string_view title, int linesPerPage);

}  // namespace lumreport
