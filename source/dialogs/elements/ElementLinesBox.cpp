#include "dialogs/elements/ElementLinesBox.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include "dialogs/elements/ElementSelectionHost.h"

namespace {

constexpr int kCheckSize = 11;
constexpr int kCheckGap = 3;

void drawCheckPicture(QPainter& p, const QRect& box, bool ticked) {
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.setBrush(Qt::white);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    if (!ticked) return;
    p.setPen(QPen(Qt::black, 1));
    // Three pixel rows thick, like a printed tick of this size.
    for (int dy = 0; dy < 3; ++dy) {
        const QPoint a = box.topLeft() + QPoint(2, 4 + dy), b = box.topLeft() + QPoint(4, 6 + dy),
                     c = box.topLeft() + QPoint(8, 2 + dy);
        p.drawLine(a, b);
        p.drawLine(b, c);
    }
}

// Owner-drawn lines: the check picture stands for the selection, so no highlight is painted.
class CheckLineDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        p->save();
        const QRect r = option.rect;
        p->fillRect(r, option.palette.base());
        const QRect box(r.left() + 2, r.top() + (r.height() - kCheckSize) / 2, kCheckSize,
                        kCheckSize);
        drawCheckPicture(*p, box, option.state & QStyle::State_Selected);
        p->setFont(option.font);
        p->setPen(index.data(Qt::ForegroundRole).value<QBrush>().color());
        const QRect textRect(box.right() + 1 + kCheckGap, r.top(), r.right() - box.right(),
                             r.height());
        p->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
        if (option.state & QStyle::State_HasFocus) {
            p->setPen(QPen(option.palette.text().color(), 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QFontMetrics metrics(option.font);
        return {2 + kCheckSize + kCheckGap + metrics.horizontalAdvance(index.data().toString()) + 2,
                std::max(metrics.height(), kCheckSize + 2)};
    }
};

}  // namespace

ElementLinesBox::ElementLinesBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::MultiSelection);
    setUniformItemSizes(true);
    setItemDelegate(new CheckLineDelegate(this));
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_) handOver();
    });
}

ElementLinesBox::~ElementLinesBox() {
    // Tearing the items down is no choice of the user's, and the host may be gone.
    host_ = nullptr;
    blockSignals(true);
}

void ElementLinesBox::fill(const std::vector<Line>& lines) {
    filling_ = true;
    bool same = int(lines.size()) == count();
    for (int row = 0; same && row < count(); ++row)
        same = item(row)->text() == lines[row].text &&
               item(row)->data(Qt::UserRole).toInt() == lines[row].element;
    if (!same) {
        clear();
        for (const Line& line : lines) {
            auto* entry = new QListWidgetItem(line.text, this);
            entry->setForeground(line.color);
            entry->setData(Qt::UserRole, line.element);
        }
    }
    for (int row = 0; row < count(); ++row) {
        item(row)->setForeground(lines[row].color);
        item(row)->setSelected(lines[row].selected);
    }
    filling_ = false;
}

std::vector<ElementLinesBox::LineState> ElementLinesBox::lineStates() const {
    std::vector<LineState> states;
    for (int row = 0; row < count(); ++row)
        states.push_back({item(row)->data(Qt::UserRole).toInt(), item(row)->isSelected()});
    return states;
}

void ElementLinesBox::selectAllLines(bool state) {
    filling_ = true;
    for (int row = 0; row < count(); ++row) item(row)->setSelected(state);
    filling_ = false;
    handOver();
}

void ElementLinesBox::handOver() {
    if (!host_) return;
    host_->CollectListSelection();
    host_->RefillLists();
}
