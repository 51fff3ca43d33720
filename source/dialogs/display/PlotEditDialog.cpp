#include "dialogs/display/PlotEditDialog.h"

#include "dialogs/NumberField.h"

PlotEditDialog::PlotEditDialog(MessageBox& messages, QWidget* parent)
    : AxisNumbersDialog(QStringLiteral("Darstellung"), QStringLiteral("von"), QStringLiteral("bis"),
                        messages, parent) {}

bool PlotEditDialog::check() {
    using namespace numberfield;
    QLineEdit* lowerX = field(X1);
    QLineEdit* upperX = field(X2);
    QLineEdit* lowerY = field(Y1);
    QLineEdit* upperY = field(Y2);
    return numberfield::check(
        messages(), this,
        {{lowerX, missing(lowerX), QStringLiteral("Geben Sie die untere Wellenlängengrenze an!")},
         {upperX, missing(upperX), QStringLiteral("Geben Sie die obere Wellenlängengrenze an!")},
         {upperX, equal(lowerX, upperX),
          QStringLiteral("Die obere Wellenlängengrenze muß größer oder kleiner als die untere "
                         "Wellenlängengrenze sein!")},
         {lowerY, missing(lowerY), QStringLiteral("Geben Sie die untere Signalgrenze an!")},
         {upperY, missing(upperY), QStringLiteral("Geben Sie die obere Signalgrenze an!")},
         {upperY, equal(lowerY, upperY),
          QStringLiteral("Die obere Signalgrenze muß größer oder kleiner als die untere "
                         "Signalgrenze sein!")}});
}
