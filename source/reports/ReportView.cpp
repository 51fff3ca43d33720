// Lays out only the lines on screen: a paragraph is one line of the font's line spacing, so
// the line under a pixel and the scroll range follow from the paragraph count alone, and a
// paint costs the rows it shows whatever the report holds.
#include "reports/ReportView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "reports/ReportText.h"

namespace {

// Room left of the text, so that the first cell does not touch the frame.
constexpr int kInset = 2;
// Where a report's own tab stops end, tabs continue at every half inch.
constexpr int kDefaultTabTwips = 720;

}  // namespace

ReportView::ReportView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setCursor(Qt::ArrowCursor);
    setFont(reportFont());
    fontChanged();
}

QFont ReportView::reportFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial Unicode MS"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(7.5);
    return font;
}

void ReportView::setReport(std::shared_ptr<const lumreport::Report> report) {
    report_ = std::move(report);
    anchor_ = caret_ = kNone;
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    emit selectionChanged();
}

std::size_t ReportView::topLine() const {
    return static_cast<std::size_t>(std::max(0, verticalScrollBar()->value()));
}

void ReportView::scrollToLine(std::size_t line) {
    verticalScrollBar()->setValue(int(std::min<std::size_t>(line, INT_MAX)));
}

void ReportView::selectLines(std::size_t anchor, std::size_t caret) {
    const std::size_t n = lineCount();
    if (n == 0) return clearSelection();
    anchor_ = std::min(anchor, n - 1);
    caret_ = std::min(caret, n - 1);
    ensureVisible(caret_);
    viewport()->update();
    emit selectionChanged();
}

void ReportView::selectAll() {
    if (lineCount() > 0) selectLines(0, lineCount() - 1);
}

void ReportView::clearSelection() {
    if (anchor_ == kNone) return;
    anchor_ = caret_ = kNone;
    viewport()->update();
    emit selectionChanged();
}

QString ReportView::selectedText() const {
    if (!hasSelection()) return {};
    std::string text;
    for (std::size_t i = selectionFirst(); i <= selectionLast(); ++i) {
        text += report_->text(i);
        text += '\n';
    }
    return QString::fromStdString(text);
}

void ReportView::copy() const {
    if (hasSelection()) QGuiApplication::clipboard()->setText(selectedText());
}

void ReportView::reportChanged() {
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    const std::size_t n = lineCount();
    if (hasSelection()) {
        if (n == 0) {
            anchor_ = caret_ = kNone;
            emit selectionChanged();
        } else if (anchor_ >= n || caret_ >= n) {
            anchor_ = std::min(anchor_, n - 1);
            caret_ = std::min(caret_, n - 1);
            emit selectionChanged();
        }
    }
    updateScrollBars();
    if (atEnd) bar->setValue(bar->maximum());
    viewport()->update();
}

int ReportView::visibleLines() const {
    return std::max(1, viewport()->height() / lineHeight_);
}

std::size_t ReportView::lineAt(int y) const {
    // Above the view (a drag upwards) counts lines back from the top one.
    const auto line = (long long)topLine() + (long long)std::floor(double(y) / lineHeight_);
    const long long last = (long long)lineCount() - 1;
    return static_cast<std::size_t>(std::clamp(line, 0LL, std::max(0LL, last)));
}

void ReportView::ensureVisible(std::size_t line) {
    const std::size_t top = topLine();
    const std::size_t shown = static_cast<std::size_t>(visibleLines());
    if (line < top)
        scrollToLine(line);
    else if (line >= top + shown)
        scrollToLine(line - shown + 1);
}

void ReportView::moveCaret(std::size_t line, bool extend) {
    selectLines(extend && hasSelection() ? anchor_ : line, line);
}

void ReportView::fontChanged() {
    const QFont base = font();
    for (int f = 0; f < 4; ++f) {
        fonts_[f] = base;
        fonts_[f].setBold(f & 2);
        fonts_[f].setUnderline(f & 1);
    }
    const QFontMetrics metrics(base, viewport());
    lineHeight_ = std::max(1, metrics.lineSpacing());
    ascent_ = metrics.ascent();
    const double pixelsPerTwip = viewport()->logicalDpiX() / 1440.0;
    defaultTabPx_ = std::max(1, int(std::lround(kDefaultTabTwips * pixelsPerTwip)));
    contentWidth_ = 0;
    for (lumreport::TabSet set : {lumreport::TabSet::Header, lumreport::TabSet::Table}) {
        std::vector<int>& stops = tabStopsPx_[static_cast<std::size_t>(set)];
        stops.clear();
        for (int twips : lumreport::tabStopsTwips(set))
            stops.push_back(int(std::lround(twips * pixelsPerTwip)));
        if (!stops.empty()) contentWidth_ = std::max(contentWidth_, stops.back());
    }
    updateScrollBars();
    viewport()->update();
}

void ReportView::updateScrollBars() {
    QScrollBar* v = verticalScrollBar();
    const int shown = visibleLines();
    const std::size_t n = lineCount();
    v->setRange(0, int(std::min<std::size_t>(n > std::size_t(shown) ? n - shown : 0, INT_MAX)));
    v->setPageStep(shown);
    v->setSingleStep(1);
    QScrollBar* h = horizontalScrollBar();
    const int width = viewport()->width();
    h->setRange(0, std::max(0, contentWidth_ + 2 * kInset - width));
    h->setPageStep(width);
    h->setSingleStep(std::max(1, defaultTabPx_ / 2));
}

int ReportView::paintLine(QPainter& painter, std::size_t i, int x0, int top, bool selected) {
    const lumreport::Paragraph& para = report_->paragraph(i);
    const QColor text = palette().color(QPalette::Text);
    const QColor highlighted = palette().color(QPalette::HighlightedText);
    const auto colorOf = [&](const lumreport::Style& s) {
        if (selected) return highlighted;
        return s.color == lumreport::kBlack ? text : reporttext::toQColor(s.color);
    };
    const auto runs = report_->runs(i);
    if (para.kind == lumreport::ParagraphKind::Rule) {
        // As long as the rule's own text would be, a line through the middle of the row.
        const QFontMetrics metrics(fonts_[0], viewport());
        const int width = metrics.horizontalAdvance(
            QString::fromUtf8(report_->text(i).data(), qsizetype(report_->text(i).size())));
        const int y = top + lineHeight_ / 2;
        painter.setPen(QPen(colorOf(runs.empty() ? lumreport::Style{} : runs.front().style), 1));
        painter.drawLine(x0, y, x0 + width, y);
        return x0 + width;
    }
    const reporttext::RunLook look{
        [this](const lumreport::Style& s) -> const QFont& {
            return fonts_[std::size_t((s.bold ? 2 : 0) + (s.underline ? 1 : 0))];
        },
        colorOf};
    return x0 + reporttext::drawRuns(painter, *report_, i, x0, top + ascent_,
                                     tabStopsPx_[static_cast<std::size_t>(para.tabs)],
                                     defaultTabPx_, look);
}

void ReportView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, palette().base());
    const std::size_t n = lineCount();
    const std::size_t top = topLine();
    const std::size_t first = std::min(n, top + std::size_t(std::max(0, area.top()) / lineHeight_));
    const std::size_t end =
        std::min(n, top + std::size_t(std::max(0, area.bottom()) / lineHeight_) + 1);
    painted_ = {first, end};
    const int x0 = kInset - horizontalScrollBar()->value();
    int widest = contentWidth_;
    for (std::size_t i = first; i < end; ++i) {
        const int y = int(i - top) * lineHeight_;
        const bool selected = hasSelection() && i >= selectionFirst() && i <= selectionLast();
        if (selected)
            painter.fillRect(QRect(0, y, viewport()->width(), lineHeight_),
                             palette().brush(QPalette::Highlight));
        widest = std::max(widest, paintLine(painter, i, x0, y, selected) - x0);
    }
    if (widest > contentWidth_) {
        // The scroll range grows with the widest row seen; not from inside the paint.
        contentWidth_ = widest;
        QMetaObject::invokeMethod(this, &ReportView::updateScrollBars, Qt::QueuedConnection);
    }
}

void ReportView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ReportView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) fontChanged();
}

void ReportView::scrollContentsBy(int, int) {
    viewport()->update();
}

void ReportView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || lineCount() == 0)
        return QAbstractScrollArea::mousePressEvent(event);
    moveCaret(lineAt(event->position().toPoint().y()),
              event->modifiers().testFlag(Qt::ShiftModifier));
}

void ReportView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !hasSelection())
        return QAbstractScrollArea::mouseMoveEvent(event);
    moveCaret(lineAt(event->position().toPoint().y()), true);
}

void ReportView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(event);
    event->accept();  // the press selected already
}

bool ReportView::event(QEvent* event) {
    // Ctrl+A and Ctrl+C belong to the view while it has the focus, even where a menu of the
    // window holds the same keys.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Copy)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void ReportView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) return selectAll();
    if (event->matches(QKeySequence::Copy)) return copy();
    const std::size_t n = lineCount();
    if (n == 0) return QAbstractScrollArea::keyPressEvent(event);
    const long long from = hasSelection() ? (long long)caret_ : (long long)topLine();
    const long long page = visibleLines();
    long long to;
    switch (event->key()) {
        case Qt::Key_Up:
            to = from - 1;
            break;
        case Qt::Key_Down:
            to = from + 1;
            break;
        case Qt::Key_PageUp:
            to = from - page;
            break;
        case Qt::Key_PageDown:
            to = from + page;
            break;
        case Qt::Key_Home:
            to = 0;
            break;
        case Qt::Key_End:
            to = (long long)n - 1;
            break;
        default:
            return QAbstractScrollArea::keyPressEvent(event);
    }
    moveCaret(std::size_t(std::clamp(to, 0LL, (long long)n - 1)),
              event->modifiers().testFlag(Qt::ShiftModifier));
}
