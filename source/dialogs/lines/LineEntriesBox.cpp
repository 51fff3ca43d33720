#include "dialogs/lines/LineEntriesBox.h"

LineEntriesBox::LineEntriesBox(QWidget* parent) : QListWidget(parent) {
    // The extended selection gives the click rules; its anchor is the current entry until
    // the first click.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
}

void LineEntriesBox::addEntry(const QString& text, const QColor& color, int source) {
    auto* item = new QListWidgetItem(text, this);
    item->setForeground(color);
    item->setData(Qt::UserRole, source);
    if (count() == 1) resetAnchor();
}

int LineEntriesBox::source(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry ? entry->data(Qt::UserRole).toInt() : -1;
}

void LineEntriesBox::resetAnchor() {
    clearSelection();
    if (count() > 0)
        selectionModel()->setCurrentIndex(model()->index(0, 0), QItemSelectionModel::NoUpdate);
}
