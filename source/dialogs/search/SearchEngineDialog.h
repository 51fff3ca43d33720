// "Datenbanksuche": which elements and molecules (the periodic table, "Moleküle:",
// "Ausgewählte Elemente:"), which ionisation stages, which wavelength and intensity range.
// It serves the database search window and a diagram's display of database line positions
// ("Einstellungen: Linienpostionen aus Datenbank anzeigen"). The selection goes into the
// caller's element list at once; everything else waits in the transfer record until OK, which
// checks the fields first. "Anzeigeoptionen ..." sets the intensity kind (and for the search
// the sort order, for a diagram whether values are shown); "Konfiguration laden ..." and
// "Konfiguration speichern ..." read and write a configuration file.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "lumdb/Records.h"

class AppContext;
class ElementSelectionPanel;
class QCheckBox;
class QLineEdit;
class QPushButton;

struct SearchEngineDialogXfer {
    bool neutrals = false;
    bool firstIons = false;
    bool higherIons = false;
    QString lowerWavelength;
    QString upperWavelength;
    QString lowerIntensity;
    QString upperIntensity;
    bool saveAsDefault = false;    // "Als Standard speichern"
    bool intensityValues = false;  // a diagram shows the lines' values
    int intensityOption = 0;       // 0 relative, 1 f-value, 2 Aik
    int sortOption = 0;            // 0 element, 1 wavelength, 2 intensity
};

// The record of `values` (the bounds as their shortest texts); saveAsDefault stays clear.
SearchEngineDialogXfer xferOf(const SSearchEngineVal& values);
// The record's stages, bounds and options into `values`; the texts are read as the number
// fields read them ("1d5" is 100000), a text that is no number as 0. `text` and
// `decipherMode` stay.
void takeXfer(const SearchEngineDialogXfer& xfer, SSearchEngineVal& values);

class SearchEngineDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Use { DatabaseSearch, DatabaseLines };
    enum Field { LowerWavelength, UpperWavelength, LowerIntensity, UpperIntensity };

    // Shows `xfer` and `elements`; both must outlive the dialog. OK leaves the checked
    // values in `xfer`; cancelling leaves it as it was (the element selection stays changed).
    SearchEngineDialog(AppContext& context, Use use, TElementArray& elements,
                       SearchEngineDialogXfer& xfer, QWidget* parent = nullptr);
    ~SearchEngineDialog() override;

    Use use() const { return use_; }
    QLineEdit* field(Field f) const { return fields_[f]; }
    QCheckBox* neutrals() const { return neutrals_; }
    QCheckBox* firstIons() const { return firstIons_; }
    QCheckBox* higherIons() const { return higherIons_; }
    QCheckBox* saveAsDefault() const { return saveAsDefault_; }
    QPushButton* displayOptionsButton() const { return displayOptions_; }
    QPushButton* loadButton() const { return load_; }
    QPushButton* saveButton() const { return save_; }

    // The controls from the record (and the element lists from the element list), and back.
    void showXfer();
    void readXfer();

    // "Konfiguration laden ..." and "Konfiguration speichern ...". Unless a loader or saver
    // is set, the dialog asks for a ".lmc" file (from and into "LastConfigDir") and reads or
    // writes its "Element Selection" with the search's keys. A loader fills the element list
    // and the record itself (true when it did); a saver is handed the record read from the
    // controls. False when nothing was loaded or written.
    bool loadConfiguration();
    bool saveConfiguration();
    std::function<bool(SearchEngineDialogXfer&)> configurationLoader;
    std::function<bool(const SearchEngineDialogXfer&)> configurationSaver;
    // "Anzeigeoptionen ...": the options dialog through the modal runner; OK takes its
    // values into the record.
    void displayOptions();

    // OK: reads the controls, runs the checks in order and closes only when all pass.
    void accept() override;

  private:
    bool check();

    AppContext& context_;
    Use use_;
    TElementArray& elements_;
    SearchEngineDialogXfer& xfer_;
    SearchEngineDialogXfer edited_;  // what OK hands back
    std::array<QLineEdit*, 4> fields_{};
    QCheckBox* neutrals_;
    QCheckBox* firstIons_;
    QCheckBox* higherIons_;
    QCheckBox* saveAsDefault_;
    QPushButton* displayOptions_;
    QPushButton* load_;
    QPushButton* save_;
    ElementSelectionPanel* panel_;
};
