// The report model; see Report.h.
#include "lumreport/Report.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace lumreport {

namespace {
constexpr std::array<int, 7> kHeaderStops = {50, 1300, 2500, 3750, 5900, 7600, 9500};
constexpr std::array<int, 13> kTableStops = {100,  1300, 2500, 3750, 4350, 4500, 5400,
                                             6500, 6650, 8000, 8500, 8650, 9500};
}  // namespace

std::span<const int> tabStopsTwips(TabSet tabs) {
    if (tabs == TabSet::Header) return kHeaderStops;
    return kTableStops;
}

void Report::startParagraph(ParagraphKind kind, TabSet tabs) {
    Paragraph p;
    p.kind = kind;
    p.tabs = tabs;
    p.firstRun = p.endRun = runs_.size();
    p.begin = p.end = text_.size();
    paragraphs_.push_back(p);
}

void Report::append(std::string_view text, Style style) {
    assert(!paragraphs_.empty());
    if (text.empty()) return;
    Paragraph& p = paragraphs_.back();
    if (p.endRun > p.firstRun && runs_.back().style == style) {
        runs_.back().end += text.size();
    } else {
        runs_.push_back({text_.size(), text_.size() + text.size(), style});
        p.endRun = runs_.size();
    }
    text_.append(text);
    p.end = text_.size();
}

void Report::append(const Report& other) {
    const std::size_t textShift = text_.size(), runShift = runs_.size();
    text_ += other.text_;
    for (Run r : other.runs_) {
        r.begin += textShift;
        r.end += textShift;
        runs_.push_back(r);
    }
    for (Paragraph p : other.paragraphs_) {
        p.firstRun += runShift;
        p.endRun += runShift;
        p.begin += textShift;
        p.end += textShift;
        paragraphs_.push_back(p);
    }
}

void Report::clear() {
    text_.clear();
    runs_.clear();
    paragraphs_.clear();
}

void Report::reserve(std::size_t paragraphs, std::size_t textBytes) {
    paragraphs_.reserve(paragraphs);
    runs_.reserve(paragraphs * 3);
    text_.reserve(textBytes);
}

std::vector<Color> Report::colors() const {
    std::vector<Color> out{kBlack};
    for (const Run& r : runs_)
        if (std::find(out.begin(), out.end(), r.style.color) == out.end())
            out.push_back(r.style.color);
    return out;
}

}  // namespace lumreport
