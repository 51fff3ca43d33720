// "Datenglättung": the filters a smoothing of the current spectrum applies (Wiener-Fourier
// with its cut-off and width or its standard values, polynomial with its degree and width)
// and whether only the displayed data are smoothed. OK checks the values against the number
// of points the smoothing will see: all of the spectrum's, or with "Nur dargestellte Daten
// bearbeiten" those in the displayed range.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class MessageBox;
class QCheckBox;
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

// The leading whole number of `text` (blanks before it and a sign allowed, the rest ignored),
// 0 when there is none; beyond the range of int it saturates, so a limit still rejects it.
int leadingInt(const QString& text);

class SmoothDataDialog : public QDialog {
    Q_OBJECT
  public:
    // Shows `xfer`, which must outlive the dialog; OK leaves the checked values in it.
    SmoothDataDialog(SmoothDataDialogXfer& xfer, MessageBox& messages, std::function<void()> help,
                     QWidget* parent = nullptr);

    QCheckBox* fourierBox() const { return fourier_; }
    QCheckBox* standardBox() const { return standard_; }
    QLineEdit* cutoffField() const { return cutoff_; }
    QLineEdit* fourierWidthField() const { return fourierWidth_; }
    QCheckBox* polynomialBox() const { return polynomial_; }
    QLineEdit* degreeField() const { return degree_; }
    QLineEdit* polynomialWidthField() const { return polynomialWidth_; }
    QCheckBox* displayedOnlyBox() const { return displayedOnly_; }

    // OK: the controls into the record, then the checks in order; closes only when all pass.
    void accept() override;

  private:
    void followBoxes();
    bool check(const SmoothDataDialogXfer& x);

    SmoothDataDialogXfer& xfer_;
    MessageBox& messages_;
    QCheckBox* fourier_;
    QCheckBox* standard_;
    QLineEdit* cutoff_;
    QLineEdit* fourierWidth_;
    QCheckBox* polynomial_;
    QLineEdit* degree_;
    QLineEdit* polynomialWidth_;
    QCheckBox* displayedOnly_;
};
