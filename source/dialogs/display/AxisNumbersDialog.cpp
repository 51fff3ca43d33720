#include "dialogs/display/AxisNumbersDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/NumberField.h"

AxisNumbersDialog::AxisNumbersDialog(const QString& title, const QString& column1,
                                     const QString& column2, MessageBox& messages, QWidget* parent)
    : QDialog(parent, Qt::Tool), messages_(messages) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(column1, this), 0, 1);
    grid->addWidget(new QLabel(column2, this), 0, 2);
    for (int row = 0; row < 2; ++row) {
        labels_[row] = new QLabel(this);
        units_[row] = new QLabel(this);
        grid->addWidget(labels_[row], row + 1, 0);
        for (int column = 0; column < 2; ++column) {
            QLineEdit* f = numberfield::make(this);
            fields_[2 * row + column] = f;
            grid->addWidget(f, row + 1, column + 1);
        }
        grid->addWidget(units_[row], row + 1, 3);
    }
    setAxisTexts(QStringLiteral("Wellenlänge:"), QStringLiteral("nm"), QStringLiteral("Signal:"),
                 QStringLiteral("V"));
    layout->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    apply_ = new QPushButton(QStringLiteral("Anwenden"), this);
    apply_->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    buttons->addStretch();
    buttons->addWidget(apply_);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(apply_, &QPushButton::clicked, this, &AxisNumbersDialog::apply);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void AxisNumbersDialog::setAxisTexts(const QString& xLabel, const QString& xUnit,
                                     const QString& yLabel, const QString& yUnit) {
    labels_[0]->setText(xLabel);
    units_[0]->setText(xUnit);
    labels_[1]->setText(yLabel);
    units_[1]->setText(yUnit);
}

QString AxisNumbersDialog::xLabel() const {
    return labels_[0]->text();
}

QString AxisNumbersDialog::xUnit() const {
    return units_[0]->text();
}

void AxisNumbersDialog::setDiagramActive(bool active) {
    apply_->setEnabled(active);
}

// The apply button's own state: the dialog as a whole is disabled while the about box is
// open, which does not make the diagram inactive.
bool AxisNumbersDialog::diagramActive() const {
    return apply_->isEnabledTo(this);
}

bool AxisNumbersDialog::apply() {
    if (!diagramActive()) return true;
    if (!check()) return false;
    applied();
    return true;
}

void AxisNumbersDialog::setValues(const std::array<float, 4>& values) {
    for (std::size_t k = 0; k < fields_.size(); ++k)
        fields_[k]->setText(numberfield::text(values[k]));
}

std::array<float, 4> AxisNumbersDialog::values() const {
    std::array<float, 4> v{};
    for (std::size_t k = 0; k < fields_.size(); ++k)
        v[k] = numberfield::read(fields_[k]).value_or(0.0f);
    return v;
}
