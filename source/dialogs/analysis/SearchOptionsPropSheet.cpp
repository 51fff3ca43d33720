#include "dialogs/analysis/SearchOptionsPropSheet.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>

#include "app/AppContext.h"
#include "dialogs/NumberField.h"
#include "dialogs/display/DisplayOptionDialogs.h"
#include "services/DialogButtons.h"
#include "services/ModalRunner.h"

namespace {

float number(const QString& text) {
    return numberfield::read(text).value_or(0.0f);
}

}  // namespace

SearchOptionsPropSheetXfer xferOf(const lumdb::AnalysisSettings& settings) {
    const SLineSearchVal& search = settings.search;
    const SSelectElVal& select = settings.select;
    SearchOptionsPropSheetXfer x;
    x.search.smoothing = smoothingXferOf(search);
    x.search.noise = search.Noise;
    x.search.noiseValue = numberfield::text(search.NoiseValue);
    x.search.filterData = settings.filterData;
    x.select.neutrals = select.Neutrals;
    x.select.firstIons = select.FirstIons;
    x.select.higherIons = select.HigherIons;
    x.select.searchRange = numberfield::text(select.SearchRange);
    x.select.intensityRange = select.IntensityRange;
    x.select.lowerIntensity = numberfield::text(select.LowerIntensity);
    x.select.upperIntensity = numberfield::text(select.UpperIntensity);
    x.intensityOption = select.IntensityOption;
    x.intensityValues = select.IntensityValues;
    return x;
}

void takeXfer(const SearchOptionsPropSheetXfer& xfer, lumdb::AnalysisSettings& settings) {
    SLineSearchVal& search = settings.search;
    SSelectElVal& select = settings.select;
    takeSmoothing(xfer.search.smoothing, search);
    search.Noise = xfer.search.noise;
    search.NoiseValue = number(xfer.search.noiseValue);
    settings.filterData = xfer.search.filterData;
    select.Neutrals = xfer.select.neutrals;
    select.FirstIons = xfer.select.firstIons;
    select.HigherIons = xfer.select.higherIons;
    select.SearchRange = number(xfer.select.searchRange);
    select.IntensityRange = xfer.select.intensityRange;
    select.LowerIntensity = number(xfer.select.lowerIntensity);
    select.UpperIntensity = number(xfer.select.upperIntensity);
    select.IntensityOption = xfer.intensityOption;
    select.IntensityValues = xfer.intensityValues;
}

SearchOptionsPropSheet::SearchOptionsPropSheet(AppContext& context, TElementArray& elements,
                                               SearchOptionsPropSheetXfer& xfer, QWidget* parent)
    : QDialog(parent),
      context_(context),
      xfer_(xfer),
      edited_(xfer),
      tabs_(new QTabWidget(this)),
      searchPage_(new SearchValuesPropPage(context.messages())),
      selectPage_(new SelectElementPropPage(elements, context.messages())) {
    setWindowTitle(QStringLiteral("Einstellungen: Spektrum identifizieren"));
    auto* layout = new QVBoxLayout(this);
    tabs_->addTab(searchPage_, QStringLiteral("Linien suchen"));
    tabs_->addTab(selectPage_, QStringLiteral("Linien identifizieren"));
    addPageButtons(0, searchPage_);
    addPageButtons(1, selectPage_);
    layout->addWidget(tabs_);
    // One choice shown on both pages.
    QCheckBox* searchDefault = searchPage_->saveAsDefaultBox();
    QCheckBox* selectDefault = selectPage_->saveAsDefaultBox();
    connect(searchDefault, &QCheckBox::toggled, selectDefault, &QCheckBox::setChecked);
    connect(selectDefault, &QCheckBox::toggled, searchDefault, &QCheckBox::setChecked);
    addDialogButtons(this, layout, [this] {
        if (context_.showHelp) context_.showHelp();
    });
    showXfer();
}

void SearchOptionsPropSheet::addPageButtons(int page, QWidget* widget) {
    auto* row = new QHBoxLayout;
    const char* texts[] = {"Anzeigeoptionen ...", "Konfiguration laden ...",
                           "Konfiguration speichern ..."};
    for (int b = 0; b < 3; ++b) {
        auto* button = new QPushButton(QString::fromUtf8(texts[b]), widget);
        button->setAutoDefault(false);
        row->addWidget(button);
        buttons_[page][b] = button;
    }
    row->addStretch();
    static_cast<QBoxLayout*>(widget->layout())->addLayout(row);
    connect(buttons_[page][DisplayOptions], &QPushButton::clicked, this,
            &SearchOptionsPropSheet::displayOptions);
    connect(buttons_[page][LoadConfiguration], &QPushButton::clicked, this,
            &SearchOptionsPropSheet::loadConfiguration);
    connect(buttons_[page][SaveConfiguration], &QPushButton::clicked, this,
            &SearchOptionsPropSheet::saveConfiguration);
}

void SearchOptionsPropSheet::showXfer() {
    searchPage_->showXfer(edited_.search);
    selectPage_->showXfer(edited_.select);
}

void SearchOptionsPropSheet::readXfer() {
    searchPage_->readXfer(edited_.search);
    selectPage_->readXfer(edited_.select);
}

bool SearchOptionsPropSheet::loadConfiguration() {
    readXfer();
    if (!configurationLoader || !configurationLoader(edited_)) return false;
    showXfer();
    return true;
}

bool SearchOptionsPropSheet::saveConfiguration() {
    readXfer();
    return configurationSaver && configurationSaver(edited_);
}

void SearchOptionsPropSheet::displayOptions() {
    LineDisplayOptionDialog options(edited_.intensityOption, edited_.intensityValues, this);
    if (context_.dialogs().run(options) != QDialog::Accepted) return;
    edited_.intensityOption = options.intensityOption();
    edited_.intensityValues = options.showValues();
}

void SearchOptionsPropSheet::accept() {
    readXfer();
    // The page being checked is in front, so that its message and focus point at it.
    tabs_->setCurrentWidget(searchPage_);
    if (!searchPage_->check(edited_.search)) return;
    tabs_->setCurrentWidget(selectPage_);
    if (!selectPage_->check(edited_.select)) return;
    xfer_ = edited_;
    QDialog::accept();
}
