#include "dialogs/display/SelectPlotBox.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

void PlotListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit deletePressed();
        return;
    }
    QListWidget::keyPressEvent(event);
}

SelectPlotBox::SelectPlotBox(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setWindowTitle(QStringLiteral("Dateiliste"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    list_ = new PlotListBox(this);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(list_);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) emit spectrumChosen(row);
    });
    connect(list_, &PlotListBox::deletePressed, this, &SelectPlotBox::deletePressed);
}

void SelectPlotBox::setEntries(const std::vector<Entry>& entries, int current, bool blackWhite) {
    // Refilling is no choice of the user's.
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const Entry& e : entries) {
        auto* item = new QListWidgetItem(e.fileName, list_);
        item->setForeground(blackWhite ? QColor(Qt::black) : e.color);
    }
    list_->setCurrentRow(current);
}
