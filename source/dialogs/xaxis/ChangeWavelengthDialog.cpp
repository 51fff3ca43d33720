#include "dialogs/xaxis/ChangeWavelengthDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/NumberField.h"
#include "services/DialogButtons.h"

ChangeWavelengthDialogXfer& changeWavelengthDialogXfer() {
    static ChangeWavelengthDialogXfer kept;
    return kept;
}

ChangeWavelengthDialog::ChangeWavelengthDialog(ChangeWavelengthDialogXfer& xfer,
                                               MessageBox& messages, std::function<void()> help,
                                               QWidget* parent)
    : QDialog(parent), xfer_(xfer), messages_(messages) {
    setWindowTitle(QStringLiteral("Wellenlänge"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    oldLabel_ = new QLabel(xfer.oldLabel, this);
    old_ = new QLabel(xfer.oldValue, this);
    newLabel_ = new QLabel(xfer.newLabel, this);
    new_ = numberfield::make(this);
    new_->setText(xfer.newValue);
    grid->addWidget(oldLabel_, 0, 0);
    grid->addWidget(old_, 0, 1);
    grid->addWidget(new QLabel(xfer.unit, this), 0, 2);
    grid->addWidget(newLabel_, 1, 0);
    grid->addWidget(new_, 1, 1);
    unit_ = new QLabel(xfer.unit, this);
    grid->addWidget(unit_, 1, 2);
    layout->addLayout(grid);

    fixedGroup_ = new QWidget(this);
    auto* fixedRow = new QHBoxLayout(fixedGroup_);
    fixedRow->setContentsMargins(0, 0, 0, 0);
    keep_ = new QCheckBox(xfer.fixedLabel, fixedGroup_);
    keep_->setChecked(xfer.keepFixed);
    fixed_ = new QLabel(xfer.fixedValue, fixedGroup_);
    fixedRow->addWidget(keep_);
    fixedRow->addWidget(new QLabel(QStringLiteral("bei"), fixedGroup_));
    fixedRow->addWidget(fixed_);
    fixedRow->addWidget(new QLabel(xfer.unit, fixedGroup_));
    fixedRow->addWidget(new QLabel(QStringLiteral("nicht ändern"), fixedGroup_));
    fixedRow->addStretch();
    layout->addWidget(fixedGroup_);
    // Keeping 0 or the old value itself in place defines no stretch.
    fixedGroup_->setEnabled(xfer.fixedNumber != 0.0f && xfer.fixedNumber != xfer.oldNumber);
    if (!fixedGroup_->isEnabled()) keep_->setChecked(false);
    addDialogButtons(this, layout, std::move(help));
    new_->setFocus();
}

QStringList ChangeWavelengthDialog::texts() const {
    return {oldLabel_->text(), old_->text(),   newLabel_->text(),
            keep_->text(),     fixed_->text(), unit_->text()};
}

bool ChangeWavelengthDialog::fixedPointEnabled() const {
    return fixedGroup_->isEnabled();
}

void ChangeWavelengthDialog::accept() {
    xfer_.newValue = new_->text();
    xfer_.keepFixed = keep_->isChecked() && fixedGroup_->isEnabled();
    const float fixed = xfer_.fixedNumber;
    const bool keep = xfer_.keepFixed;
    const QLineEdit* field = new_;
    if (!numberfield::check(
            messages_, this,
            {{new_, numberfield::missing(new_),
              QStringLiteral("Geben Sie eine neue Wellenlänge an!")},
             {new_, [field, fixed, keep] { return keep && numberfield::read(field) == fixed; },
              QStringLiteral("Die neue Wellenlänge muß sich von der festen Wellenlänge "
                             "unterscheiden!")}}))
        return;
    QDialog::accept();
}
