// What the two modeless axis dialogs share ("Darstellung", "Skalierung"): two number fields
// for each axis under two column headings, the axes' labels and units beside them, and
// "Anwenden" and "Schließen". "Anwenden" checks and hands the numbers on only while the
// active window is a diagram; without one it is disabled.
#pragma once

#include <QDialog>
#include <array>

class MessageBox;
class QLabel;
class QLineEdit;
class QPushButton;

class AxisNumbersDialog : public QDialog {
    Q_OBJECT
  public:
    // The fields: first and second column of the x row, then of the y row.
    enum Field { X1, X2, Y1, Y2 };

    QLineEdit* field(Field f) const { return fields_[f]; }
    QPushButton* applyButton() const { return apply_; }
    // The row labels ("Wellenlänge:", "Signal:") and units as the diagram's axes name them.
    void setAxisTexts(const QString& xLabel, const QString& xUnit, const QString& yLabel,
                      const QString& yUnit);
    QString xLabel() const;
    QString xUnit() const;
    // Whether the active window is a diagram, whose values the dialog then edits.
    void setDiagramActive(bool active);
    bool diagramActive() const;

    // "Anwenden": checks the fields (only while a diagram is active) and hands them on. False
    // when a field was refused.
    bool apply();

  protected:
    AxisNumbersDialog(const QString& title, const QString& column1, const QString& column2,
                      MessageBox& messages, QWidget* parent);
    void setValues(const std::array<float, 4>& values);  // in Field order
    std::array<float, 4> values() const;
    MessageBox& messages() const { return messages_; }
    // The dialog's rules, in order; true when all pass.
    virtual bool check() = 0;
    // The checked values go to the diagram.
    virtual void applied() = 0;

  private:
    MessageBox& messages_;
    std::array<QLineEdit*, 4> fields_{};
    std::array<QLabel*, 2> labels_{};
    std::array<QLabel*, 2> units_{};
    QPushButton* apply_;
};
