// "Spektren kombinieren": two spectra of a diagram and the operation that joins them
// ("-", "+", "*", "/"). The diagram fills the file names and reads the chosen indices after
// OK; every choice is allowed.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QComboBox;

struct CombineSpectraDialogXfer {
    QStringList names;  // the file names of the diagram's spectra
    int first = 0;
    int operation = 0;  // 0 "-", 1 "+", 2 "*", 3 "/"
    int second = 0;
};

class CombineSpectraDialog : public QDialog {
    Q_OBJECT
  public:
    // Shows `xfer`, which must outlive the dialog; OK leaves the chosen indices in it.
    CombineSpectraDialog(CombineSpectraDialogXfer& xfer, std::function<void()> help,
                         QWidget* parent = nullptr);

    QComboBox* firstBox() const { return first_; }
    QComboBox* operationBox() const { return operation_; }
    QComboBox* secondBox() const { return second_; }

    void accept() override;

  private:
    CombineSpectraDialogXfer& xfer_;
    QComboBox* first_;
    QComboBox* operation_;
    QComboBox* second_;
};
