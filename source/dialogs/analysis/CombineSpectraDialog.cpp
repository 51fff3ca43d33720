#include "dialogs/analysis/CombineSpectraDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "services/DialogButtons.h"

CombineSpectraDialog::CombineSpectraDialog(CombineSpectraDialogXfer& xfer,
                                           std::function<void()> help, QWidget* parent)
    : QDialog(parent), xfer_(xfer) {
    setWindowTitle(QStringLiteral("Spektren kombinieren"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    first_ = new QComboBox(this);
    operation_ = new QComboBox(this);
    second_ = new QComboBox(this);
    first_->addItems(xfer.names);
    second_->addItems(xfer.names);
    operation_->addItems(
        {QStringLiteral("-"), QStringLiteral("+"), QStringLiteral("*"), QStringLiteral("/")});
    first_->setCurrentIndex(xfer.first);
    operation_->setCurrentIndex(xfer.operation);
    second_->setCurrentIndex(xfer.second);
    grid->addWidget(new QLabel(QStringLiteral("Spektrum:"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Verknüpfung:"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Spektrum:"), this), 0, 2);
    grid->addWidget(first_, 1, 0);
    grid->addWidget(operation_, 1, 1);
    grid->addWidget(second_, 1, 2);
    layout->addLayout(grid);
    addDialogButtons(this, layout, std::move(help));
}

void CombineSpectraDialog::accept() {
    xfer_.first = first_->currentIndex();
    xfer_.operation = operation_->currentIndex();
    xfer_.second = second_->currentIndex();
    QDialog::accept();
}
