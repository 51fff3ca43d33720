// "Darstellung": the displayed range of the active diagram, wavelength and signal from/to.
// "Anwenden" hands a checked range on; a lower limit above the upper one is taken as given
// (it shows the axis inverted).
#pragma once

#include "dialogs/display/AxisNumbersDialog.h"

class PlotEditDialog : public AxisNumbersDialog {
    Q_OBJECT
  public:
    explicit PlotEditDialog(MessageBox& messages, QWidget* parent = nullptr);

    // x min, x max, y min, y max.
    void setRange(const std::array<float, 4>& range) { setValues(range); }

  signals:
    void rangeApplied(const std::array<float, 4>& range);

  protected:
    bool check() override;
    void applied() override { emit rangeApplied(values()); }
};
