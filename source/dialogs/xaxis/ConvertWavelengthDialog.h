// "Wellenlängenformat": the unit of a spectrum's x values, to be converted into nanometres
// ("Angstrom", "Punkte", "Wellenzahlen" or "Keine Konvertierung"), and whether the question
// is asked whenever a file is opened.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QRadioButton;

struct ConvertWavelengthDialogXfer {
    enum Option { Angstrom, Pixels, None, Wavenumbers };
    Option option = None;
    bool propose = true;  // "Konvertierung automatisch vorschlagen"
    QString fileName;     // the full path; shown shortened
};

// The record every such dialog shows, kept from one opening to the next.
ConvertWavelengthDialogXfer& convertWavelengthDialogXfer();

class ConvertWavelengthDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kHelpTopic = "IDD_CONVERTWAVELENGTH";

    ConvertWavelengthDialog(ConvertWavelengthDialogXfer& xfer, std::function<void()> help,
                            QWidget* parent = nullptr);

    QRadioButton* radio(ConvertWavelengthDialogXfer::Option option) const {
        return radios_[std::size_t(option)];
    }
    QCheckBox* proposeBox() const { return propose_; }
    QString shownName() const;

    void accept() override;

  private:
    ConvertWavelengthDialogXfer& xfer_;
    std::array<QRadioButton*, 4> radios_{};
    QCheckBox* propose_;
    QLabel* name_;
};
