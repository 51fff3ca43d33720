#include "dialogs/analysis/SearchValuesPropPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/NumberField.h"

SearchValuesPropPage::SearchValuesPropPage(MessageBox& messages, QWidget* parent)
    : QWidget(parent),
      messages_(messages),
      grid_(new QGridLayout),
      smoothing_(this, grid_, 0, false),
      noise_(new QCheckBox(QStringLiteral("Rauschwert setzen:"), this)),
      noiseValue_(numberfield::make(this)),
      filterData_(new QCheckBox(QStringLiteral("Geglätte Daten anzeigen"), this)),
      saveAsDefault_(new QCheckBox(QStringLiteral("Als Standard speichern"), this)) {
    auto* layout = new QVBoxLayout(this);
    grid_->addWidget(noise_, 7, 0, 1, 3);
    grid_->addWidget(new QLabel(QStringLiteral("Rauschen:"), this), 8, 0);
    grid_->addWidget(noiseValue_, 8, 1);
    grid_->addWidget(filterData_, 9, 0, 1, 3);
    grid_->addWidget(smoothing_.displayedOnly, 10, 0, 1, 3);
    grid_->setColumnStretch(3, 1);
    layout->addLayout(grid_);
    layout->addWidget(saveAsDefault_);
    layout->addStretch();
    for (QCheckBox* box : {smoothing_.fourier, smoothing_.polynomial, noise_})
        connect(box, &QCheckBox::toggled, this, &SearchValuesPropPage::followBoxes);
}

// Beyond the filters' own rules: the noise value counts only when it is set, and the
// smoothed data can be shown only when a filter is on.
void SearchValuesPropPage::followBoxes() {
    noiseValue_->setEnabled(noise_->isChecked());
    filterData_->setEnabled(smoothing_.fourier->isChecked() || smoothing_.polynomial->isChecked());
}

void SearchValuesPropPage::showXfer(const SearchValuesPropPageXfer& x) {
    smoothing_.show(x.smoothing);
    noise_->setChecked(x.noise);
    noiseValue_->setText(x.noiseValue);
    filterData_->setChecked(x.filterData);
    saveAsDefault_->setChecked(x.saveAsDefault);
    followBoxes();
}

void SearchValuesPropPage::readXfer(SearchValuesPropPageXfer& x) const {
    smoothing_.read(x.smoothing);
    x.noise = noise_->isChecked();
    x.noiseValue = noiseValue_->text();
    x.filterData = filterData_->isChecked();
    x.saveAsDefault = saveAsDefault_->isChecked();
}

bool SearchValuesPropPage::check(const SearchValuesPropPageXfer& x) {
    const bool noNoise = x.noise && !numberfield::read(x.noiseValue);
    return numberfield::check(messages_, this,
                              {{noiseValue_, [noNoise] { return noNoise; },
                                QStringLiteral("Geben Sie einen Rauschwert an!")}}) &&
           smoothing_.check(x.smoothing, messages_, this);
}
