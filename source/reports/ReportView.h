// The read-only view of a report (database search, line information): it lays out and
// paints only the lines on screen, one paragraph per line of a fixed height, with the
// paragraph's tab stops, its bold, underlined and coloured runs and rules drawn as lines. A
// report of 100,000 rows therefore shows at once. Lines are selected with the mouse and the
// keys; Ctrl+C copies the selected lines as their tab-separated text.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "lumreport/Report.h"

class ReportView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit ReportView(QWidget* parent = nullptr);

    // The screen font of the reports: "Arial Unicode MS" 7.5 pt, else Liberation Sans.
    static QFont reportFont();

    // Shows `report` from its top with nothing selected. The view keeps the report alive;
    // whoever builds it may go on appending and call reportChanged().
    void setReport(std::shared_ptr<const lumreport::Report> report);
    const lumreport::Report* report() const { return report_.get(); }

    int lineHeight() const { return lineHeight_; }
    // The first paragraph shown; scrolling moves by whole lines.
    std::size_t topLine() const;
    void scrollToLine(std::size_t line);

    bool hasSelection() const { return anchor_ != kNone; }
    // The selected paragraphs [first, last]; meaningless without a selection.
    std::size_t selectionFirst() const { return std::min(anchor_, caret_); }
    std::size_t selectionLast() const { return std::max(anchor_, caret_); }
    // Selects the paragraphs from `anchor` to `caret` (either order) and shows the caret.
    void selectLines(std::size_t anchor, std::size_t caret);
    void selectAll();
    void clearSelection();
    // The selected paragraphs' text as stored (tabs kept), each ended by a line break.
    QString selectedText() const;
    void copy() const;

    // The paragraphs the last paint laid out, [first, end): a check that painting costs
    // what is on screen, not what the report holds.
    std::pair<std::size_t, std::size_t> paintedLines() const { return painted_; }

  public slots:
    // The report grew (or was cut): the scroll range follows, the position stays unless the
    // view showed the end, in which case it keeps showing the end.
    void reportChanged();

  signals:
    void selectionChanged();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t lineCount() const { return report_ ? report_->size() : 0; }
    int visibleLines() const;
    std::size_t lineAt(int y) const;
    void moveCaret(std::size_t line, bool extend);
    void ensureVisible(std::size_t line);
    void fontChanged();
    void updateScrollBars();
    // Draws paragraph `i` with its left edge at `x0`, baseline `y`; returns its right end.
    int paintLine(QPainter& painter, std::size_t i, int x0, int y, bool selected);

    std::shared_ptr<const lumreport::Report> report_;
    std::size_t anchor_ = kNone;
    std::size_t caret_ = kNone;
    int lineHeight_ = 1;
    int ascent_ = 0;
    int defaultTabPx_ = 48;
    std::array<std::vector<int>, 2> tabStopsPx_;  // per tab-stop set, from the left margin
    std::array<QFont, 4> fonts_;                  // by bold * 2 + underline
    int contentWidth_ = 0;                        // the widest line laid out so far
    std::pair<std::size_t, std::size_t> painted_{0, 0};
};
