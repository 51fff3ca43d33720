#include "dialogs/lines/EditLineEntries.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "dialogs/lines/LineEntriesBox.h"

EditLineEntries::EditLineEntries(EditLineEntriesXfer& xfer, QWidget* parent)
    : QDialog(parent), xfer_(xfer) {
    setWindowTitle(QStringLiteral("Linieneinträge"));
    auto* layout = new QGridLayout(this);
    list_ = new LineEntriesBox(this);
    list_->setObjectName(QStringLiteral("entries"));
    delete_ = new QPushButton(QStringLiteral("Löschen"), this);
    delete_->setObjectName(QStringLiteral("deleteButton"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
    auto* help = new QPushButton(QStringLiteral("Hilfe"), this);
    layout->addWidget(new QLabel(QStringLiteral("Linieneinträge:"), this), 0, 0);
    layout->addWidget(list_, 1, 0, 5, 1);
    layout->addWidget(delete_, 1, 1);
    layout->addWidget(ok, 2, 1);
    layout->addWidget(cancel, 3, 1);
    layout->addWidget(help, 4, 1);
    layout->setRowStretch(5, 1);
    resize(480, 260);

    for (const EditLineEntriesXfer::Entry& entry : xfer.entries)
        list_->addEntry(entry.text, entry.color, entry.source);
    delete_->setEnabled(false);
    connect(list_, &QListWidget::itemSelectionChanged, this,
            [this] { delete_->setEnabled(!list_->selectedItems().isEmpty()); });
    connect(delete_, &QPushButton::clicked, this, &EditLineEntries::deleteSelected);
    connect(ok, &QPushButton::clicked, this, &EditLineEntries::accept);
    connect(cancel, &QPushButton::clicked, this, &EditLineEntries::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { emit helpRequested(QStringLiteral("IDD_EDITLINEENTRIES")); });
}

// From the highest row down, so the rows still to go keep their numbers.
void EditLineEntries::deleteSelected() {
    QList<int> rows;
    for (const QListWidgetItem* item : list_->selectedItems()) rows << list_->row(item);
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows) delete list_->takeItem(row);
    list_->resetAnchor();
    delete_->setEnabled(false);
}

void EditLineEntries::accept() {
    QList<EditLineEntriesXfer::Entry> kept;
    for (int row = 0; row < list_->count(); ++row) {
        const QListWidgetItem* item = list_->item(row);
        kept.append({item->text(), item->foreground().color(), list_->source(row)});
    }
    xfer_.entries = std::move(kept);
    QDialog::accept();
}
