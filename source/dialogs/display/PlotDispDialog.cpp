#include "dialogs/display/PlotDispDialog.h"

#include <QLineEdit>

#include "dialogs/NumberField.h"

PlotDispDialog::PlotDispDialog(MessageBox& messages, QWidget* parent)
    : AxisNumbersDialog(QStringLiteral("Skalierung"), QStringLiteral("Verschiebung"),
                        QStringLiteral("Streckung"), messages, parent) {
    setScaling({});
}

bool PlotDispDialog::check() {
    using namespace numberfield;
    QLineEdit* xShift = field(X1);
    QLineEdit* xStretch = field(X2);
    QLineEdit* yShift = field(Y1);
    QLineEdit* yStretch = field(Y2);
    const auto zero = [](const QLineEdit* f) { return [f] { return read(f) == 0.0f; }; };
    return numberfield::check(
        messages(), this,
        {{xShift, missing(xShift),
          QStringLiteral("Geben Sie die Verschiebung der Wellenlänge an!")},
         {yShift, missing(yShift), QStringLiteral("Geben Sie die Verschiebung des Signals an!")},
         {xStretch, missing(xStretch),
          QStringLiteral("Geben Sie die Dispersion für die Wellenlänge an!")},
         {xStretch, zero(xStretch),
          QStringLiteral("Die Dispersion für die Wellenlänge muß ungleich Null sein!")},
         {yStretch, missing(yStretch),
          QStringLiteral("Geben Sie die Dispersion für das Signal an!")},
         {yStretch, zero(yStretch),
          QStringLiteral("Die Dispersion für das Signal muß ungleich Null sein!")}});
}

void PlotDispDialog::applied() {
    const std::array<float, 4> v = values();
    emit scalingApplied({v[0], v[1], v[2], v[3]});
}
