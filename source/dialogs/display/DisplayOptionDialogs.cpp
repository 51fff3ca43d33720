#include "dialogs/display/DisplayOptionDialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "services/DialogButtons.h"

namespace displayoption {

Intensity intensityOf(int option) {
    return option == 1 ? Intensity::FValue : option == 2 ? Intensity::Aik : Intensity::Relative;
}

int intensityOption(Intensity intensity) {
    return static_cast<int>(intensity);
}

Sort sortOf(int option) {
    return option == 1 ? Sort::Wavelength : option == 2 ? Sort::Intensity : Sort::Element;
}

int sortOption(Sort sort) {
    return static_cast<int>(sort);
}

}  // namespace displayoption

namespace {

// A titled group of three radios, the one at `checked` on.
std::array<QRadioButton*, 3> radioGroup(QVBoxLayout* layout, const QString& title,
                                        const std::array<const char*, 3>& texts, int checked,
                                        QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* rows = new QVBoxLayout(group);
    std::array<QRadioButton*, 3> radios{};
    for (int k = 0; k < 3; ++k) {
        radios[k] = new QRadioButton(QString::fromUtf8(texts[k]), group);
        rows->addWidget(radios[k]);
    }
    radios[checked]->setChecked(true);
    layout->addWidget(group);
    return radios;
}

int checkedIndex(const std::array<QRadioButton*, 3>& radios) {
    for (int k = 0; k < 3; ++k)
        if (radios[k]->isChecked()) return k;
    return 0;
}

}  // namespace

IntensityOptionDialog::IntensityOptionDialog(int intensityOption, QWidget* parent)
    : QDialog(parent), column_(new QVBoxLayout(this)) {
    setWindowTitle(QStringLiteral("Anzeigeoptionen"));
    intensity_ = radioGroup(
        column_, QStringLiteral("Linienintensitäten anzeigen als:"),
        {"relative Werte", "Oszillatorstärke (f-Wert)", "Übergangswahrscheinlichkeit (Aik)"},
        static_cast<int>(displayoption::intensityOf(intensityOption)), this);
}

int IntensityOptionDialog::intensityOption() const {
    return displayoption::intensityOption(
        static_cast<displayoption::Intensity>(checkedIndex(intensity_)));
}

LineDisplayOptionDialog::LineDisplayOptionDialog(int intensityOption, bool showValues,
                                                 QWidget* parent)
    : IntensityOptionDialog(intensityOption, parent) {
    showValues_ =
        new QCheckBox(QStringLiteral("Linienintensitätswerte im Spektrum anzeigen"), this);
    showValues_->setChecked(showValues);
    column()->addWidget(showValues_);
    addDialogButtons(this, column());
}

bool LineDisplayOptionDialog::showValues() const {
    return showValues_->isChecked();
}

SearchEngineDisplayOptionDialog::SearchEngineDisplayOptionDialog(int intensityOption,
                                                                 int sortOption, QWidget* parent)
    : IntensityOptionDialog(intensityOption, parent) {
    sort_ = radioGroup(column(), QStringLiteral("Ergebnistabelle sortieren nach:"),
                       {"Element", "Wellenlänge", "Intensität"},
                       static_cast<int>(displayoption::sortOf(sortOption)), this);
    addDialogButtons(this, column());
}

int SearchEngineDisplayOptionDialog::sortOption() const {
    return displayoption::sortOption(static_cast<displayoption::Sort>(checkedIndex(sort_)));
}
