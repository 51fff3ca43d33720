#include "dialogs/analysis/SelectElementPropPage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/NumberField.h"
#include "dialogs/elements/ElementArrayHost.h"
#include "dialogs/elements/ElementSelectionPanel.h"
#include "services/MessageBox.h"
#include "services/StringTable.h"

SelectElementPropPage::SelectElementPropPage(TElementArray& elements, MessageBox& messages,
                                             QWidget* parent)
    : QWidget(parent),
      messages_(messages),
      elements_(new ElementSelectionPanel(elements, this)),
      neutrals_(new QCheckBox(QStringLiteral("Neutrale"), this)),
      firstIons_(new QCheckBox(QStringLiteral("Ionen (einfach)"), this)),
      higherIons_(new QCheckBox(QStringLiteral("Ionen (höhere)"), this)),
      searchRange_(numberfield::make(this)),
      intensityRange_(new QCheckBox(QStringLiteral("Nur im Intensitätsintervall von"), this)),
      lowerIntensity_(numberfield::make(this)),
      upperIntensity_(numberfield::make(this)),
      saveAsDefault_(new QCheckBox(QStringLiteral("Als Standard speichern"), this)) {
    // The numbers need no more room than a dozen digits.
    for (QLineEdit* field : {searchRange_, lowerIntensity_, upperIntensity_})
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(elements_);
    auto* stages = new QHBoxLayout;
    for (QCheckBox* box : {neutrals_, firstIons_, higherIons_}) stages->addWidget(box);
    stages->addStretch();
    layout->addLayout(stages);
    const auto label = [this](const char* text) {
        return new QLabel(QString::fromUtf8(text), this);
    };
    auto* range = new QHBoxLayout;
    range->addWidget(label("Trefferintervall:"));
    range->addWidget(label("+/-"));
    range->addWidget(searchRange_);
    range->addWidget(label("nm"));
    range->addStretch();
    layout->addLayout(range);
    auto* intensity = new QHBoxLayout;
    intensity->addWidget(intensityRange_);
    intensity->addWidget(lowerIntensity_);
    intensity->addWidget(label("bis"));
    intensity->addWidget(upperIntensity_);
    intensity->addWidget(label("suchen"));
    intensity->addStretch();
    layout->addLayout(intensity);
    layout->addWidget(saveAsDefault_);
}

void SelectElementPropPage::showXfer(const SelectElementPropPageXfer& x) {
    neutrals_->setChecked(x.neutrals);
    firstIons_->setChecked(x.firstIons);
    higherIons_->setChecked(x.higherIons);
    searchRange_->setText(x.searchRange);
    intensityRange_->setChecked(x.intensityRange);
    lowerIntensity_->setText(x.lowerIntensity);
    upperIntensity_->setText(x.upperIntensity);
    saveAsDefault_->setChecked(x.saveAsDefault);
    elements_->host().RefillLists();
}

void SelectElementPropPage::readXfer(SelectElementPropPageXfer& x) const {
    x.neutrals = neutrals_->isChecked();
    x.firstIons = firstIons_->isChecked();
    x.higherIons = higherIons_->isChecked();
    x.searchRange = searchRange_->text();
    x.intensityRange = intensityRange_->isChecked();
    x.lowerIntensity = lowerIntensity_->text();
    x.upperIntensity = upperIntensity_->text();
    x.saveAsDefault = saveAsDefault_->isChecked();
}

bool SelectElementPropPage::check(const SelectElementPropPageXfer& x) {
    using numberfield::read;
    const std::optional<float> range = read(x.searchRange);
    if (!numberfield::check(messages_, this,
                            {{searchRange_, [range] { return !range; },
                              QStringLiteral("Geben Sie das Suchintervall an!")},
                             {searchRange_, [range] { return *range <= 0.0f; },
                              QStringLiteral("Das Suchintervall muß größer Null sein!")}}))
        return false;
    if (!x.neutrals && !x.firstIons && !x.higherIons &&
        messages_.show(this,
                       QStringLiteral("Es wurden weder Neutrale noch Ionen zur Identifizierung "
                                      "ausgewählt!\nTrotzdem fortfahren?"),
                       strings::InputError, MessageBox::Icon::Exclamation,
                       MessageBox::Buttons::YesNo, true) != MessageBox::Answer::Yes) {
        neutrals_->setFocus();
        return false;
    }
    const std::optional<float> lower = read(x.lowerIntensity);
    const std::optional<float> upper = read(x.upperIntensity);
    const bool on = x.intensityRange;
    return numberfield::check(
        messages_, this,
        {{lowerIntensity_, [=] { return on && !lower; },
          QStringLiteral("Geben Sie die untere Intensitätsgrenze an!")},
         {upperIntensity_, [=] { return on && !upper; },
          QStringLiteral("Geben Sie die obere Intensitätsgrenze an!")},
         {upperIntensity_, [=] { return on && *upper <= *lower; },
          QStringLiteral("Die obere Intensitätsgrenze muß größer als die untere "
                         "Intensitätsgrenze sein!")}});
}
