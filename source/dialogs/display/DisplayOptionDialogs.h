// "Anzeigeoptionen": how line intensities are shown in reports and, for the database search,
// how its result table is sorted. The integer options map onto one radio of each group:
// IntensityOption 1 the f-value, 2 the transition probability, anything else relative
// values; SortOption 1 wavelength, 2 intensity, anything else the element. After OK the
// integers are set back from the checked radios the same way, so an unknown value comes back
// as 0.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QRadioButton;
class QVBoxLayout;

namespace displayoption {

enum class Intensity { Relative, FValue, Aik };
enum class Sort { Element, Wavelength, Intensity };

Intensity intensityOf(int option);
int intensityOption(Intensity intensity);
Sort sortOf(int option);
int sortOption(Sort sort);

}  // namespace displayoption

// What both dialogs share: the intensity radios on top; each adds its own rows below them
// and then the OK/Abbruch row.
class IntensityOptionDialog : public QDialog {
    Q_OBJECT
  public:
    int intensityOption() const;
    QRadioButton* intensityRadio(displayoption::Intensity i) const {
        return intensity_[static_cast<int>(i)];
    }

  protected:
    IntensityOptionDialog(int intensityOption, QWidget* parent);
    QVBoxLayout* column() const { return column_; }

  private:
    QVBoxLayout* column_;
    std::array<QRadioButton*, 3> intensity_{};
};

// Line display of a spectrum window and of the identification pages: the intensity radios
// and "Linienintensitätswerte im Spektrum anzeigen".
class LineDisplayOptionDialog : public IntensityOptionDialog {
    Q_OBJECT
  public:
    LineDisplayOptionDialog(int intensityOption, bool showValues, QWidget* parent = nullptr);
    bool showValues() const;

  private:
    QCheckBox* showValues_;
};

// The database search window's table: the intensity radios and the sort order.
class SearchEngineDisplayOptionDialog : public IntensityOptionDialog {
    Q_OBJECT
  public:
    SearchEngineDisplayOptionDialog(int intensityOption, int sortOption, QWidget* parent = nullptr);
    int sortOption() const;
    QRadioButton* sortRadio(displayoption::Sort s) const { return sort_[static_cast<int>(s)]; }

  private:
    std::array<QRadioButton*, 3> sort_{};
};
