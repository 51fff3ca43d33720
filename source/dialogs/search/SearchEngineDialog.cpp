#include "dialogs/search/SearchEngineDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "dialogs/NumberField.h"
#include "dialogs/display/DisplayOptionDialogs.h"
#include "dialogs/elements/ElementArrayHost.h"
#include "dialogs/elements/ElementSelectionPanel.h"
#include "dialogs/search/SearchSettings.h"
#include "services/DialogButtons.h"
#include "services/MessageBox.h"
#include "services/ModalRunner.h"
#include "services/StringTable.h"
#include "services/WaitCursor.h"

namespace {

float number(const QString& text) {
    return numberfield::read(text).value_or(0.0f);
}

// A wavelength takes digits and the point only.
QLineEdit* wavelengthField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    static const QRegularExpression allowed(QStringLiteral("[0-9.]*"));
    field->setValidator(new QRegularExpressionValidator(allowed, field));
    field->setMaxLength(255);
    return field;
}

}  // namespace

SearchEngineDialogXfer xferOf(const SSearchEngineVal& values) {
    SearchEngineDialogXfer x;
    x.neutrals = values.Neutrals;
    x.firstIons = values.FirstIons;
    x.higherIons = values.HigherIons;
    x.lowerWavelength = numberfield::text(values.LowerWavelength);
    x.upperWavelength = numberfield::text(values.UpperWavelength);
    x.lowerIntensity = numberfield::text(values.LowerIntensity);
    x.upperIntensity = numberfield::text(values.UpperIntensity);
    x.intensityValues = values.IntensityValues;
    x.intensityOption = values.IntensityOption;
    x.sortOption = values.SortOption;
    return x;
}

void takeXfer(const SearchEngineDialogXfer& xfer, SSearchEngineVal& values) {
    values.Neutrals = xfer.neutrals;
    values.FirstIons = xfer.firstIons;
    values.HigherIons = xfer.higherIons;
    values.LowerWavelength = number(xfer.lowerWavelength);
    values.UpperWavelength = number(xfer.upperWavelength);
    values.LowerIntensity = number(xfer.lowerIntensity);
    values.UpperIntensity = number(xfer.upperIntensity);
    values.IntensityValues = xfer.intensityValues;
    values.IntensityOption = xfer.intensityOption;
    values.SortOption = xfer.sortOption;
}

SearchEngineDialog::SearchEngineDialog(AppContext& context, Use use, TElementArray& elements,
                                       SearchEngineDialogXfer& xfer, QWidget* parent)
    : QDialog(parent),
      context_(context),
      use_(use),
      elements_(elements),
      xfer_(xfer),
      edited_(xfer) {
    setWindowTitle(use == Use::DatabaseSearch
                       ? QStringLiteral("Datenbanksuche")
                       : QStringLiteral("Einstellungen: Linienpostionen aus Datenbank anzeigen"));
    auto* layout = new QVBoxLayout(this);
    panel_ = new ElementSelectionPanel(elements_, this);
    layout->addWidget(panel_);

    auto* stages = new QHBoxLayout;
    neutrals_ = new QCheckBox(QStringLiteral("Neutrale"), this);
    firstIons_ = new QCheckBox(QStringLiteral("Ionen (einfach)"), this);
    higherIons_ = new QCheckBox(QStringLiteral("Ionen (höhere)"), this);
    for (QCheckBox* box : {neutrals_, firstIons_, higherIons_}) stages->addWidget(box);
    stages->addStretch();
    layout->addLayout(stages);

    auto* ranges = new QGridLayout;
    fields_[LowerWavelength] = wavelengthField(this);
    fields_[UpperWavelength] = wavelengthField(this);
    fields_[LowerIntensity] = numberfield::make(this);
    fields_[UpperIntensity] = numberfield::make(this);
    ranges->addWidget(new QLabel(QStringLiteral("Wellenlängenbreich:"), this), 0, 0);
    ranges->addWidget(new QLabel(QStringLiteral("von"), this), 0, 1);
    ranges->addWidget(fields_[LowerWavelength], 0, 2);
    ranges->addWidget(new QLabel(QStringLiteral("nm   bis"), this), 0, 3);
    ranges->addWidget(fields_[UpperWavelength], 0, 4);
    ranges->addWidget(new QLabel(QStringLiteral("nm"), this), 0, 5);
    ranges->addWidget(new QLabel(QStringLiteral("Intensitätsbereich:"), this), 1, 0);
    ranges->addWidget(new QLabel(QStringLiteral("von"), this), 1, 1);
    ranges->addWidget(fields_[LowerIntensity], 1, 2);
    ranges->addWidget(new QLabel(QStringLiteral("bis"), this), 1, 3);
    ranges->addWidget(fields_[UpperIntensity], 1, 4);
    ranges->setColumnStretch(6, 1);
    layout->addLayout(ranges);

    saveAsDefault_ = new QCheckBox(QStringLiteral("Als Standard speichern"), this);
    layout->addWidget(saveAsDefault_);
    auto* buttons = new QHBoxLayout;
    displayOptions_ = new QPushButton(QStringLiteral("Anzeigeoptionen ..."), this);
    load_ = new QPushButton(QStringLiteral("Konfiguration laden ..."), this);
    save_ = new QPushButton(QStringLiteral("Konfiguration speichern ..."), this);
    for (QPushButton* b : {displayOptions_, load_, save_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    addDialogButtons(this, layout, [this] {
        if (context_.showHelp) context_.showHelp();
    });
    connect(displayOptions_, &QPushButton::clicked, this, &SearchEngineDialog::displayOptions);
    connect(load_, &QPushButton::clicked, this, &SearchEngineDialog::loadConfiguration);
    connect(save_, &QPushButton::clicked, this, &SearchEngineDialog::saveConfiguration);

    showXfer();
}

SearchEngineDialog::~SearchEngineDialog() = default;

void SearchEngineDialog::showXfer() {
    neutrals_->setChecked(edited_.neutrals);
    firstIons_->setChecked(edited_.firstIons);
    higherIons_->setChecked(edited_.higherIons);
    fields_[LowerWavelength]->setText(edited_.lowerWavelength);
    fields_[UpperWavelength]->setText(edited_.upperWavelength);
    fields_[LowerIntensity]->setText(edited_.lowerIntensity);
    fields_[UpperIntensity]->setText(edited_.upperIntensity);
    saveAsDefault_->setChecked(edited_.saveAsDefault);
    panel_->host().RefillLists();
}

void SearchEngineDialog::readXfer() {
    edited_.neutrals = neutrals_->isChecked();
    edited_.firstIons = firstIons_->isChecked();
    edited_.higherIons = higherIons_->isChecked();
    edited_.lowerWavelength = fields_[LowerWavelength]->text();
    edited_.upperWavelength = fields_[UpperWavelength]->text();
    edited_.lowerIntensity = fields_[LowerIntensity]->text();
    edited_.upperIntensity = fields_[UpperIntensity]->text();
    edited_.saveAsDefault = saveAsDefault_->isChecked();
}

bool SearchEngineDialog::loadConfiguration() {
    readXfer();
    if (configurationLoader) {
        if (!configurationLoader(edited_)) return false;
        showXfer();
        return true;
    }
    const QString path = context_.chooseConfigurationFile(this, false);
    if (path.isEmpty()) return false;
    const WaitCursor wait;
    const SSearchEngineVal loaded =
        searchsettings::load(lumcore::IniFile::load(path.toStdString()),
                             searchsettings::kConfigurationSection, elements_);
    SearchEngineDialogXfer x = xferOf(loaded);
    x.saveAsDefault = edited_.saveAsDefault;
    x.intensityValues = edited_.intensityValues;
    edited_ = x;
    showXfer();
    return true;
}

bool SearchEngineDialog::saveConfiguration() {
    readXfer();
    if (configurationSaver) return configurationSaver(edited_);
    const QString path = context_.chooseConfigurationFile(this, true);
    if (path.isEmpty()) return false;
    const WaitCursor wait;
    SSearchEngineVal values;
    takeXfer(edited_, values);
    // Whatever else the file holds stays; the file is replaced whole or not at all.
    lumcore::IniFile ini = lumcore::IniFile::load(path.toStdString());
    searchsettings::save(ini, searchsettings::kConfigurationSection, elements_, values);
    if (ini.save(path.toStdString())) return true;
    context_.reportUnwritable(this, path);
    return false;
}

void SearchEngineDialog::displayOptions() {
    if (use_ == Use::DatabaseSearch) {
        SearchEngineDisplayOptionDialog options(edited_.intensityOption, edited_.sortOption, this);
        if (context_.dialogs().run(options) != QDialog::Accepted) return;
        edited_.intensityOption = options.intensityOption();
        edited_.sortOption = options.sortOption();
    } else {
        LineDisplayOptionDialog options(edited_.intensityOption, edited_.intensityValues, this);
        if (context_.dialogs().run(options) != QDialog::Accepted) return;
        edited_.intensityOption = options.intensityOption();
        edited_.intensityValues = options.showValues();
    }
}

bool SearchEngineDialog::check() {
    QLineEdit* lowerW = fields_[LowerWavelength];
    QLineEdit* upperW = fields_[UpperWavelength];
    QLineEdit* lowerI = fields_[LowerIntensity];
    QLineEdit* upperI = fields_[UpperIntensity];
    const auto below = [](const QLineEdit* upper, const QLineEdit* lower) {
        return [upper, lower] { return *numberfield::read(upper) < *numberfield::read(lower); };
    };
    MessageBox& messages = context_.messages();
    if (!numberfield::check(
            messages, this,
            {{lowerW, numberfield::missing(lowerW),
              QStringLiteral("Geben Sie die untere Wellenlänge an!")},
             {upperW, numberfield::missing(upperW),
              QStringLiteral("Geben Sie die obere Wellenlänge an!")},
             {lowerW, below(upperW, lowerW),
              QStringLiteral("Die untere Wellenlänge muß kleiner oder geich der oberen "
                             "Wellenlänge sein!")},
             {lowerI, numberfield::missing(lowerI),
              QStringLiteral("Geben Sie die untere Intensitätsgrenze an!")},
             {upperI, numberfield::missing(upperI),
              QStringLiteral("Geben Sie die obere Intensitätsgrenze an!")},
             {lowerI, below(upperI, lowerI),
              QStringLiteral("Die untere Intensitätsgrenze muß kleiner oder geich der oberen "
                             "Intensitätsgrenze sein!")}}))
        return false;
    if (edited_.neutrals || edited_.firstIons || edited_.higherIons) return true;
    const MessageBox::Answer answer = messages.show(
        this,
        QStringLiteral("Es wurden weder Neutrale noch Ionen zur Identifizierung ausgewählt!\n"
                       "Trotzdem fortfahren?"),
        strings::InputError, MessageBox::Icon::Exclamation, MessageBox::Buttons::YesNo, true);
    if (answer == MessageBox::Answer::Yes) return true;
    neutrals_->setFocus();
    return false;
}

void SearchEngineDialog::accept() {
    readXfer();
    if (!check()) return;
    xfer_ = edited_;
    QDialog::accept();
}
