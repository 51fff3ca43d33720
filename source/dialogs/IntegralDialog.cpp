#include "dialogs/IntegralDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/NumberField.h"

IntegralDialogXfer& integralDialogXfer() {
    static IntegralDialogXfer kept;
    return kept;
}

IntegralDialog::IntegralDialog(IntegralDialogXfer& xfer, MessageBox& messages,
                               std::function<void()> help, QWidget* parent)
    : QDialog(parent, Qt::Tool), xfer_(xfer), messages_(messages) {
    setWindowTitle(QStringLiteral("Integral"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    left_ = numberfield::make(this);
    right_ = numberfield::make(this);
    value_ = new QLineEdit(this);
    value_->setReadOnly(true);
    leftUnit_ = new QLabel(this);
    rightUnit_ = new QLabel(this);
    valueUnit_ = new QLabel(this);
    grid->addWidget(new QLabel(QStringLiteral("von"), this), 0, 0);
    grid->addWidget(left_, 0, 1);
    grid->addWidget(leftUnit_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("bis"), this), 1, 0);
    grid->addWidget(right_, 1, 1);
    grid->addWidget(rightUnit_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Integralwert:"), this), 2, 0);
    grid->addWidget(value_, 2, 1);
    grid->addWidget(valueUnit_, 2, 2);
    layout->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    compute_ = new QPushButton(QStringLiteral("Berechnen"), this);
    compute_->setDefault(true);
    close_ = new QPushButton(QStringLiteral("Schließen"), this);
    auto* helpButton = new QPushButton(QStringLiteral("Hilfe"), this);
    buttons->addStretch();
    buttons->addWidget(compute_);
    buttons->addWidget(close_);
    buttons->addWidget(helpButton);
    layout->addLayout(buttons);
    connect(compute_, &QPushButton::clicked, this, &IntegralDialog::computeRequested);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(helpButton, &QPushButton::clicked, this, [help = std::move(help)] {
        if (help) help();
    });
    showXfer();
}

QString IntegralDialog::leftUnit() const {
    return leftUnit_->text();
}

QString IntegralDialog::valueUnit() const {
    return valueUnit_->text();
}

void IntegralDialog::showXfer() {
    left_->setText(xfer_.left);
    right_->setText(xfer_.right);
    value_->setText(xfer_.value);
    leftUnit_->setText(xfer_.leftUnit);
    rightUnit_->setText(xfer_.rightUnit);
    valueUnit_->setText(xfer_.valueUnit);
}

void IntegralDialog::setUnits(const QString& xUnit, const QString& yUnit) {
    xfer_.leftUnit = xfer_.rightUnit = xUnit;
    xfer_.valueUnit = (yUnit + ' ' + xUnit).trimmed();
    leftUnit_->setText(xfer_.leftUnit);
    rightUnit_->setText(xfer_.rightUnit);
    valueUnit_->setText(xfer_.valueUnit);
}

void IntegralDialog::setDiagramActive(bool active) {
    compute_->setEnabled(active);
}

bool IntegralDialog::check(float xLimit1, float xLimit2) {
    xfer_.left = left_->text();
    xfer_.right = right_->text();
    const float xmin = std::min(xLimit1, xLimit2);
    const float xmax = std::max(xLimit1, xLimit2);
    const auto outside = [xmin, xmax](const QLineEdit* field) {
        return [field, xmin, xmax] {
            const float v = numberfield::read(field).value_or(0.0f);
            return v < xmin || v > xmax;
        };
    };
    using numberfield::missing;
    return numberfield::check(
        messages_, this,
        {{left_, missing(left_), QStringLiteral("Geben Sie die linke Integralgrenze an!")},
         {right_, missing(right_), QStringLiteral("Geben Sie die rechte Integralgrenze an!")},
         {left_, outside(left_),
          QStringLiteral("Die linke Integralgrenze liegt nicht im Diagrammbereich!")},
         {right_, outside(right_),
          QStringLiteral("Die rechte Integralgrenze liegt nicht im Diagrammbereich!")}});
}
