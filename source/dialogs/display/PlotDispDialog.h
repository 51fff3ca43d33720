// "Skalierung": shift ("Verschiebung") and stretch ("Streckung") of the current spectrum's
// wavelength and signal. "Anwenden" hands checked values on; a stretch of 0 is refused, a
// negative one (which mirrors the axis) is taken.
#pragma once

#include "dialogs/display/AxisNumbersDialog.h"

class PlotDispDialog : public AxisNumbersDialog {
    Q_OBJECT
  public:
    struct Scaling {
        float xShift = 0.0f;
        float xStretch = 1.0f;
        float yShift = 0.0f;
        float yStretch = 1.0f;
    };

    explicit PlotDispDialog(MessageBox& messages, QWidget* parent = nullptr);

    void setScaling(const Scaling& s) { setValues({s.xShift, s.xStretch, s.yShift, s.yStretch}); }

  signals:
    void scalingApplied(const PlotDispDialog::Scaling& scaling);

  protected:
    bool check() override;
    void applied() override;
};
