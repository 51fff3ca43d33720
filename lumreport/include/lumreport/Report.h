// The content of a report window: paragraphs of styled text, each with a kind (text, column
// header, rule) and a tab-stop set, as the database search and the line information build
// them. The view, the writers (RTF, plain text) and the page breaking all read this one
// model. One text buffer holds every paragraph, so a report of 100,000 rows costs a handful
// of allocations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumreport {

// A colour as 0x00BBGGRR, the layout of the element colours of the line database.
using Color = std::uint32_t;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kLightRed = 0x0000FF;  // red 255, green 0, blue 0

struct Style {
    bool bold = false;
    bool underline = false;
    Color color = kBlack;
    friend bool operator==(const Style&, const Style&) = default;
};

// What a paragraph is: the kind decides how printing treats it (a column header uses the
// header tab stops, a rule is drawn as a line), never the paragraph's text.
enum class ParagraphKind : std::uint8_t { Text, ColumnHeader, Rule };

// The two tab-stop sets of the reports: the header part and the table rows.
enum class TabSet : std::uint8_t { Header, Table };

// Tab stops of a set in twips from the left margin.
std::span<const int> tabStopsTwips(TabSet tabs);

// A stretch of a paragraph's text in one style: bytes [begin, end) of the report's text.
struct Run {
    std::size_t begin = 0;
    std::size_t end = 0;
    Style style;
};

struct Paragraph {
    ParagraphKind kind = ParagraphKind::Text;
    TabSet tabs = TabSet::Header;
    std::size_t firstRun = 0;  // runs [firstRun, endRun) of the report
    std::size_t endRun = 0;
    std::size_t begin = 0;  // text bytes [begin, end) of the report
    std::size_t end = 0;
};

class Report {
  public:
    // Starts a new, empty paragraph; what is appended goes into it.
    void startParagraph(ParagraphKind kind, TabSet tabs);
    // Appends UTF-8 text ('\t' between cells, no line breaks) to the last paragraph, which
    // must exist. Text in the style of the run before it extends that run.
    void append(std::string_view text, Style style = {});
    // An empty paragraph of text kind.
    void blankLine(TabSet tabs) { startParagraph(ParagraphKind::Text, tabs); }
    // Appends every paragraph of `other` (the line information window adds blocks).
    void append(const Report& other);
    void clear();
    void reserve(std::size_t paragraphs, std::size_t textBytes);

    std::size_t size() const { return paragraphs_.size(); }
    bool empty() const { return paragraphs_.empty(); }
    const Paragraph& paragraph(std::size_t i) const { return paragraphs_[i]; }
    // The paragraph's text without styles.
    std::string_view text(std::size_t i) const {
        const Paragraph& p = paragraphs_[i];
        return std::string_view(text_).substr(p.begin, p.end - p.begin);
    }
    std::span<const Run> runs(std::size_t i) const {
        const Paragraph& p = paragraphs_[i];
        return std::span<const Run>(runs_).subspan(p.firstRun, p.endRun - p.firstRun);
    }
    std::string_view text(const Run& run) const {
        return std::string_view(text_).substr(run.begin, run.end - run.begin);
    }
    // Every colour the runs use, black first, the others in the order of their first use.
    std::vector<Color> colors() const;

  private:
    std::string text_;
    std::vector<Run> runs_;
    std::vector<Paragraph> paragraphs_;
};

}  // namespace lumreport
