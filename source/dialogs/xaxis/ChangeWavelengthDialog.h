// "Wellenlänge": a new x value for one position of the spectrum (the reticle's or the
// selected line's), optionally keeping a second value, the fixed point, in its place. The
// window fills the texts from the x label and unit and reads the new value back.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class MessageBox;
class QCheckBox;
class QLabel;
class QLineEdit;

struct ChangeWavelengthDialogXfer {
    QString newValue;
    QString oldValue;
    QString oldLabel;  // "Alte Wellenlänge:"
    QString newLabel;  // "Neue Wellenlänge:"
    bool keepFixed = false;
    QString fixedLabel;  // the check box: "Wellenlänge:"
    QString fixedValue;
    QString unit;
    // The values the texts show, exactly: the fixed-point group is disabled when the fixed
    // point is 0 or the old value, and a new value equal to it is refused while it is kept.
    float oldNumber = 0.0f;
    float fixedNumber = 0.0f;
};

// The record every such dialog shows, kept from one opening to the next.
ChangeWavelengthDialogXfer& changeWavelengthDialogXfer();

class ChangeWavelengthDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kHelpTopic = "IDD_CHANGERETICLEWAVELENGTH";

    ChangeWavelengthDialog(ChangeWavelengthDialogXfer& xfer, MessageBox& messages,
                           std::function<void()> help, QWidget* parent = nullptr);

    QLineEdit* newField() const { return new_; }
    QCheckBox* keepBox() const { return keep_; }
    // The texts shown: old label, old value, new label, fixed label, fixed value, unit.
    QStringList texts() const;
    bool fixedPointEnabled() const;

    // Reads the fields and checks them: a new value is given and, while the fixed point is
    // kept, differs from it. A failure is told and the dialog stays open.
    void accept() override;

  private:
    ChangeWavelengthDialogXfer& xfer_;
    MessageBox& messages_;
    QLabel* oldLabel_;
    QLabel* old_;
    QLabel* newLabel_;
    QLineEdit* new_;
    QCheckBox* keep_;
    QLabel* fixed_;
    QLabel* unit_;
    QWidget* fixedGroup_;
};
