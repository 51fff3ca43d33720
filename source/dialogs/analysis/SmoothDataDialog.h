// "Datenglättung": the filters a smoothing of the current spectrum applies (Wiener-Fourier
// with its cut-off and width or its standard values, polynomial with its degree and width)
// and whether only the displayed data are smoothed. OK checks the values against the number
// of points the smoothing will see: all of the spectrum's, or with "Nur dargestellte Daten
// bearbeiten" those in the displayed range. The line search's settings page shows the same
// filter controls with the same enabling and checks (SmoothingControls).
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "lumdb/Records.h"

class MessageBox;
class QCheckBox;
class QGridLayout;
class QLineEdit;

struct SmoothDataDialogXfer {
    bool fourier = false;         // "Wiener-Fourierglättung:"
    bool standardValues = false;  // "Standardwerte benutzen"
    QString cutoff;               // "Grenzfrequenz:" (the window's FreqNumber)
    QString fourierWidth;         // "Filterbreite:" (the window's FreqCutoff)
    bool polynomial = false;      // "Polynomglättung:"
    QString degree;               // "Polynomgrad:"
    QString polynomialWidth;      // "Filterbreite:"
    bool displayedOnly = false;   // "Nur dargestellte Daten bearbeiten"
    QString points;               // the spectrum's number of points, written by the caller
    QString displayedPoints;      // the number within the displayed range
};

// The filter fields of `values` as the dialogs show them; the point counts are the caller's.
SmoothDataDialogXfer smoothingXferOf(const SLineSearchVal& values);
// The record's filter fields into `values`, the texts read with Profile::toInt.
void takeSmoothing(const SmoothDataDialogXfer& xfer, SLineSearchVal& values);

// The smoothing filters' controls: "Wiener-Fourierglättung" with "Standardwerte benutzen",
// "Grenzfrequenz:" and "Filterbreite:", "Polynomglättung" with "Polynomgrad:" and
// "Filterbreite:" (digits only), and "Nur dargestellte Daten bearbeiten". Its owner keeps it
// as a member; the controls are children of the owner's widget.
class SmoothingControls {
  public:
    // Lays the filter rows out in `grid` from `row` on (seven rows); the box "Nur
    // dargestellte Daten bearbeiten" is left for the caller to place. The filter boxes'
    // captions end in ":" when `colons` is set.
    SmoothingControls(QWidget* parent, QGridLayout* grid, int row, bool colons);
    SmoothingControls(const SmoothingControls&) = delete;
    SmoothingControls& operator=(const SmoothingControls&) = delete;

    // The record's fields into the controls and back (the point counts stay).
    void show(const SmoothDataDialogXfer& x);
    void read(SmoothDataDialogXfer& x) const;
    // The Fourier values count only with the filter on and the standard values off; the
    // polynomial's only with its filter on. Runs on every click of the three boxes.
    void followBoxes();
    // The checks in order, against the points the smoothing will see (all, or the displayed
    // ones with "Nur dargestellte Daten bearbeiten"); the values are compared as integers, a
    // count itself passes. False after telling the first failure.
    bool check(const SmoothDataDialogXfer& x, MessageBox& messages, QWidget* owner) const;

    QCheckBox* fourier;
    QCheckBox* standard;
    QLineEdit* cutoff;
    QLineEdit* fourierWidth;
    QCheckBox* polynomial;
    QLineEdit* degree;
    QLineEdit* polynomialWidth;
    QCheckBox* displayedOnly;
};

class SmoothDataDialog : public QDialog {
    Q_OBJECT
  public:
    // Shows `xfer`, which must outlive the dialog; OK leaves the checked values in it.
    SmoothDataDialog(SmoothDataDialogXfer& xfer, MessageBox& messages, std::function<void()> help,
                     QWidget* parent = nullptr);

    QCheckBox* fourierBox() const { return controls_.fourier; }
    QCheckBox* standardBox() const { return controls_.standard; }
    QLineEdit* cutoffField() const { return controls_.cutoff; }
    QLineEdit* fourierWidthField() const { return controls_.fourierWidth; }
    QCheckBox* polynomialBox() const { return controls_.polynomial; }
    QLineEdit* degreeField() const { return controls_.degree; }
    QLineEdit* polynomialWidthField() const { return controls_.polynomialWidth; }
    QCheckBox* displayedOnlyBox() const { return controls_.displayedOnly; }

    // OK: the controls into the record, then the checks in order; closes only when all pass.
    void accept() override;

  private:
    SmoothDataDialogXfer& xfer_;
    MessageBox& messages_;
    QGridLayout* grid_;
    SmoothingControls controls_;
};
