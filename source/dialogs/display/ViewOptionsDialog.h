// "Beschriftung": the diagram's title, axis labels and units, what the legend lists and
// where it sits, and the label font. The font is chosen in the system font dialog
// ("Ändern"), run through the modal runner; the font text is kept as
// "height,points,bold,italic" and rewritten so on OK.
#pragma once

#include <QDialog>
#include <functional>

#include "dialogs/display/LabelFontType.h"

class ModalRunner;
class QCheckBox;
class QLineEdit;
class QRadioButton;

struct ViewOptionsXfer {
    enum class Legend { TopLeft, TopRight, None };
    QString title;
    QString xLabel;
    QString xUnit;
    QString yLabel;
    QString yUnit;
    bool fileNames = false;
    bool identification = false;
    bool lineSearch = false;
    Legend legend = Legend::TopLeft;
    QString fontName = QStringLiteral("Arial");
    QString fontSize;  // "%d" of the point size
    QString fontType = QStringLiteral("15,11,0,0");
};

class ViewOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    // `fonts` runs the font dialog; `help` runs on "Hilfe" (may be empty).
    ViewOptionsDialog(const ViewOptionsXfer& xfer, ModalRunner& fonts, std::function<void()> help,
                      QWidget* parent = nullptr);

    // The values as the controls hold them; after OK the font text is "%d,%d,%d,%d".
    ViewOptionsXfer xfer() const;
    LabelFontType fontType() const { return type_; }
    QLineEdit* field(int index) const;  // 0 title, 1 x label, 2 x unit, 3 y label, 4 y unit

    // "Ändern": the font dialog, started from the current font; OK takes its font over.
    void chooseFont();

  public slots:
    void accept() override;

  private:
    void showFont();

    ModalRunner& fonts_;
    LabelFontType type_;
    QString fontName_;
    QString typeText_;
    QLineEdit* fields_[5] = {};
    QCheckBox* fileNames_;
    QCheckBox* identification_;
    QCheckBox* lineSearch_;
    QRadioButton* legend_[3] = {};
    QLineEdit* fontNameShown_;
    QLineEdit* fontSizeShown_;
};
