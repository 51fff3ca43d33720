// "Integral": the modeless dialog that takes two x bounds ("von", "bis") and shows the
// integral of the current spectrum between them. The diagram window computes; the dialog
// checks the bounds against the displayed x range and shows what the window wrote back.
// "Berechnen" works only while a diagram is the active window.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class MessageBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The dialog's texts: the bounds and the result, each with its unit.
struct IntegralDialogXfer {
    QString left;
    QString leftUnit;
    QString right;
    QString rightUnit;
    QString value;
    QString valueUnit;
};

// The record every integral dialog shows, kept from one opening to the next.
IntegralDialogXfer& integralDialogXfer();

class IntegralDialog : public QDialog {
    Q_OBJECT
  public:
    IntegralDialog(IntegralDialogXfer& xfer, MessageBox& messages, std::function<void()> help,
                   QWidget* parent = nullptr);

    IntegralDialogXfer& xfer() { return xfer_; }
    QLineEdit* leftField() const { return left_; }
    QLineEdit* rightField() const { return right_; }
    QLineEdit* valueField() const { return value_; }
    QPushButton* computeButton() const { return compute_; }
    QPushButton* closeButton() const { return close_; }
    QString leftUnit() const;
    QString valueUnit() const;

    // Shows the record as it is now.
    void showXfer();
    // The units of the bounds and of the result ("y x"), into the record and the labels.
    void setUnits(const QString& xUnit, const QString& yUnit);
    void setDiagramActive(bool active);

    // Reads the fields into the record and checks the bounds against the displayed x range
    // (its limits in either order): both given, both inside. The first failing rule is told
    // and gets the focus; true when none fails.
    bool check(float xLimit1, float xLimit2);

  signals:
    // "Berechnen" while a diagram is active: the window checks and computes.
    void computeRequested();

  private:
    IntegralDialogXfer& xfer_;
    MessageBox& messages_;
    QLineEdit* left_;
    QLineEdit* right_;
    QLineEdit* value_;
    QLabel* leftUnit_;
    QLabel* rightUnit_;
    QLabel* valueUnit_;
    QPushButton* compute_;
    QPushButton* close_;
};
