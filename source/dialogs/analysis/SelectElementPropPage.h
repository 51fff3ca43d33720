// "Linien identifizieren", the second page of the identification settings: the atoms and
// molecules to identify with (the periodic table and both element lists, writing into the
// window's identification list at once), the ionisation stages, the hit interval, the
// optional intensity interval and "Als Standard speichern". The sheet reads the page on OK
// and asks it to check the values.
#pragma once

#include <QString>
#include <QWidget>

#include "lumdb/Records.h"

class ElementSelectionPanel;
class MessageBox;
class QCheckBox;
class QLineEdit;

struct SelectElementPropPageXfer {
    bool neutrals = false;                         // "Neutrale"
    bool firstIons = false;                        // "Ionen (einfach)"
    bool higherIons = false;                       // "Ionen (höhere)"
    QString searchRange;                           // "Trefferintervall:" +/- ... nm
    bool intensityRange = false;                   // "Nur im Intensitätsintervall von"
    QString lowerIntensity = QStringLiteral("0");  // ... bis
    QString upperIntensity = QStringLiteral("10000");
    bool saveAsDefault = false;  // "Als Standard speichern"
};

class SelectElementPropPage : public QWidget {
    Q_OBJECT
  public:
    // `elements` must outlive the page.
    SelectElementPropPage(TElementArray& elements, MessageBox& messages, QWidget* parent = nullptr);

    void showXfer(const SelectElementPropPageXfer& x);
    void readXfer(SelectElementPropPageXfer& x) const;
    // The hit interval (a positive number), the stages (none: asked whether to go on; "Nein"
    // keeps the page) and, when it is on, the intensity interval (two numbers, the upper
    // above the lower). False after telling the first failure.
    bool check(const SelectElementPropPageXfer& x);

    ElementSelectionPanel* elements() const { return elements_; }
    QCheckBox* neutralsBox() const { return neutrals_; }
    QCheckBox* firstIonsBox() const { return firstIons_; }
    QCheckBox* higherIonsBox() const { return higherIons_; }
    QLineEdit* searchRangeField() const { return searchRange_; }
    QCheckBox* intensityRangeBox() const { return intensityRange_; }
    QLineEdit* lowerIntensityField() const { return lowerIntensity_; }
    QLineEdit* upperIntensityField() const { return upperIntensity_; }
    QCheckBox* saveAsDefaultBox() const { return saveAsDefault_; }

  private:
    MessageBox& messages_;
    ElementSelectionPanel* elements_;
    QCheckBox* neutrals_;
    QCheckBox* firstIons_;
    QCheckBox* higherIons_;
    QLineEdit* searchRange_;
    QCheckBox* intensityRange_;
    QLineEdit* lowerIntensity_;
    QLineEdit* upperIntensity_;
    QCheckBox* saveAsDefault_;
};
