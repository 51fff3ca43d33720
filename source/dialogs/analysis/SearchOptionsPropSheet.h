// "Einstellungen: Spektrum identifizieren": the settings of a diagram's line search and
// identification on two pages, "Linien suchen" and "Linien identifizieren". Each page has
// "Anzeigeoptionen ..." (how the identified lines' strengths are shown), "Konfiguration
// laden ..." and "Konfiguration speichern ...". OK reads both pages and checks "Linien
// suchen" first; a page whose check fails comes forward and the sheet stays open. The element
// selection goes into the diagram's list at once, everything else waits in the record until
// OK. The sheet is centred over the main window, its parent's window.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "dialogs/analysis/SearchValuesPropPage.h"
#include "dialogs/analysis/SelectElementPropPage.h"
#include "lumdb/AnalysisSettings.h"

class AppContext;
class QPushButton;
class QTabWidget;

struct SearchOptionsPropSheetXfer {
    SearchValuesPropPageXfer search;
    SelectElementPropPageXfer select;
    int intensityOption = 0;       // "Anzeigeoptionen ...": 0 relative, 1 f-value, 2 Aik
    bool intensityValues = false;  // the diagram shows the lines' values
};

// The record of `settings` (the numbers as their shortest texts); the point counts and
// "Als Standard speichern" are the caller's.
SearchOptionsPropSheetXfer xferOf(const lumdb::AnalysisSettings& settings);
// The record into `settings`: the filter integers read with Profile::toInt, the other numbers
// as the number fields read them (a text that is no number as 0). What the sheet does not
// show stays.
void takeXfer(const SearchOptionsPropSheetXfer& xfer, lumdb::AnalysisSettings& settings);

class SearchOptionsPropSheet : public QDialog {
    Q_OBJECT
  public:
    enum PageButton { DisplayOptions, LoadConfiguration, SaveConfiguration };

    // Shows `xfer` and `elements`; both must outlive the sheet. OK leaves the checked values
    // in `xfer`; cancelling leaves it as it was (the element selection stays changed).
    SearchOptionsPropSheet(AppContext& context, TElementArray& elements,
                           SearchOptionsPropSheetXfer& xfer, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    SearchValuesPropPage* searchPage() const { return searchPage_; }
    SelectElementPropPage* selectPage() const { return selectPage_; }
    // The buttons of page 0 ("Linien suchen") or 1 ("Linien identifizieren").
    QPushButton* button(int page, PageButton which) const { return buttons_[page][which]; }

    // The controls of both pages from the record (and the element lists from the element
    // list), and back.
    void showXfer();
    void readXfer();

    // "Konfiguration laden ...": the loader fills the element list and the record (true when
    // it did), and both pages show them. "Konfiguration speichern ...": the saver is handed
    // the record read from the controls. False when nothing was loaded or written.
    bool loadConfiguration();
    bool saveConfiguration();
    std::function<bool(SearchOptionsPropSheetXfer&)> configurationLoader;
    std::function<bool(const SearchOptionsPropSheetXfer&)> configurationSaver;
    // "Anzeigeoptionen ...": the options dialog through the modal runner; OK takes its values
    // into the record.
    void displayOptions();

    void accept() override;

  private:
    void addPageButtons(int page, QWidget* widget);

    AppContext& context_;
    SearchOptionsPropSheetXfer& xfer_;
    SearchOptionsPropSheetXfer edited_;  // what OK hands back
    QTabWidget* tabs_;
    SearchValuesPropPage* searchPage_;
    SelectElementPropPage* selectPage_;
    std::array<std::array<QPushButton*, 3>, 2> buttons_{};
};
