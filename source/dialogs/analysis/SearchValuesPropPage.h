// "Linien suchen", the first page of the identification settings: the smoothing filters the
// line search applies (the controls, enabling and checks of "Datenglättung"), the noise value
// it takes instead of estimating one, whether the window shows the smoothed data, and
// "Als Standard speichern". The sheet reads the page on OK and asks it to check the values.
#pragma once

#include <QString>
#include <QWidget>

#include "dialogs/analysis/SmoothDataDialog.h"

class MessageBox;
class QCheckBox;
class QGridLayout;
class QLineEdit;

struct SearchValuesPropPageXfer {
    // "Wiener-Fourierglättung" to the polynomial's "Filterbreite:", "Nur dargestellte Daten
    // bearbeiten" and the point counts the caller writes.
    SmoothDataDialogXfer smoothing;
    bool noise = false;          // "Rauschwert setzen:"
    QString noiseValue;          // "Rauschen:"
    bool filterData = false;     // "Geglätte Daten anzeigen"
    bool saveAsDefault = false;  // "Als Standard speichern"
};

class SearchValuesPropPage : public QWidget {
    Q_OBJECT
  public:
    explicit SearchValuesPropPage(MessageBox& messages, QWidget* parent = nullptr);

    void showXfer(const SearchValuesPropPageXfer& x);
    void readXfer(SearchValuesPropPageXfer& x) const;
    // "Geben Sie einen Rauschwert an!" when the noise is to be set and the field holds no
    // number, then the smoothing checks. False after telling the first failure.
    bool check(const SearchValuesPropPageXfer& x);

    SmoothingControls& smoothing() { return smoothing_; }
    QCheckBox* noiseBox() const { return noise_; }
    QLineEdit* noiseField() const { return noiseValue_; }
    QCheckBox* filterDataBox() const { return filterData_; }
    QCheckBox* saveAsDefaultBox() const { return saveAsDefault_; }

  private:
    void followBoxes();

    MessageBox& messages_;
    QGridLayout* grid_;
    SmoothingControls smoothing_;
    QCheckBox* noise_;
    QLineEdit* noiseValue_;
    QCheckBox* filterData_;
    QCheckBox* saveAsDefault_;
};
