#include "dialogs/analysis/SmoothDataDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Profile.h"
#include "dialogs/NumberField.h"
#include "services/DialogButtons.h"

namespace {

QLineEdit* digitsField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    field->setMaxLength(255);
    return field;
}

}  // namespace

SmoothDataDialogXfer smoothingXferOf(const SLineSearchVal& values) {
    SmoothDataDialogXfer x;
    x.fourier = values.FTFilter;
    x.standardValues = values.SetFTValues;
    x.cutoff = QString::number(values.FreqNumber);
    x.fourierWidth = QString::number(values.FreqCutoff);
    x.polynomial = values.SGFilter;
    x.degree = QString::number(values.PolynomOrder);
    x.polynomialWidth = QString::number(values.FilterWidth);
    x.displayedOnly = values.ZoomData;
    return x;
}

void takeSmoothing(const SmoothDataDialogXfer& xfer, SLineSearchVal& values) {
    values.FTFilter = xfer.fourier;
    values.SetFTValues = xfer.standardValues;
    values.FreqNumber = Profile::toInt(xfer.cutoff);
    values.FreqCutoff = Profile::toInt(xfer.fourierWidth);
    values.SGFilter = xfer.polynomial;
    values.PolynomOrder = Profile::toInt(xfer.degree);
    values.FilterWidth = Profile::toInt(xfer.polynomialWidth);
    values.ZoomData = xfer.displayedOnly;
}

SmoothingControls::SmoothingControls(QWidget* parent, QGridLayout* grid, int row, bool colons)
    : fourier(new QCheckBox(colons ? QStringLiteral("Wiener-Fourierglättung:")
                                   : QStringLiteral("Wiener-Fourierglättung"),
                            parent)),
      standard(new QCheckBox(QStringLiteral("Standardwerte benutzen"), parent)),
      cutoff(digitsField(parent)),
      fourierWidth(digitsField(parent)),
      polynomial(new QCheckBox(
          colons ? QStringLiteral("Polynomglättung:") : QStringLiteral("Polynomglättung"), parent)),
      degree(digitsField(parent)),
      polynomialWidth(digitsField(parent)),
      displayedOnly(new QCheckBox(QStringLiteral("Nur dargestellte Daten bearbeiten"), parent)) {
    const auto label = [parent](const char* text) {
        return new QLabel(QString::fromUtf8(text), parent);
    };
    grid->addWidget(fourier, row, 0, 1, 3);
    grid->addWidget(standard, row + 1, 1, 1, 2);
    grid->addWidget(label("Grenzfrequenz:"), row + 2, 0);
    grid->addWidget(cutoff, row + 2, 1);
    grid->addWidget(label("Pkt."), row + 2, 2);
    grid->addWidget(label("Filterbreite:"), row + 3, 0);
    grid->addWidget(fourierWidth, row + 3, 1);
    grid->addWidget(label("Pkt."), row + 3, 2);
    grid->addWidget(polynomial, row + 4, 0, 1, 3);
    grid->addWidget(label("Polynomgrad:"), row + 5, 0);
    grid->addWidget(degree, row + 5, 1);
    grid->addWidget(label("Filterbreite:"), row + 6, 0);
    grid->addWidget(polynomialWidth, row + 6, 1);
    for (QCheckBox* box : {fourier, standard, polynomial})
        QObject::connect(box, &QCheckBox::toggled, parent, [this] { followBoxes(); });
}

void SmoothingControls::show(const SmoothDataDialogXfer& x) {
    fourier->setChecked(x.fourier);
    standard->setChecked(x.standardValues);
    cutoff->setText(x.cutoff);
    fourierWidth->setText(x.fourierWidth);
    polynomial->setChecked(x.polynomial);
    degree->setText(x.degree);
    polynomialWidth->setText(x.polynomialWidth);
    displayedOnly->setChecked(x.displayedOnly);
    followBoxes();
}

void SmoothingControls::read(SmoothDataDialogXfer& x) const {
    x.fourier = fourier->isChecked();
    x.standardValues = standard->isChecked();
    x.cutoff = cutoff->text();
    x.fourierWidth = fourierWidth->text();
    x.polynomial = polynomial->isChecked();
    x.degree = degree->text();
    x.polynomialWidth = polynomialWidth->text();
    x.displayedOnly = displayedOnly->isChecked();
}

void SmoothingControls::followBoxes() {
    const bool on = fourier->isChecked();
    standard->setEnabled(on);
    cutoff->setEnabled(on && !standard->isChecked());
    fourierWidth->setEnabled(on && !standard->isChecked());
    degree->setEnabled(polynomial->isChecked());
    polynomialWidth->setEnabled(polynomial->isChecked());
}

bool SmoothingControls::check(const SmoothDataDialogXfer& x, MessageBox& messages,
                              QWidget* owner) const {
    using numberfield::Rule;
    const int n = Profile::toInt(x.displayedOnly ? x.displayedPoints : x.points);
    const QString tooMany = QStringLiteral("muß kleiner als die Anzahl der Datenpunkte(%1) sein!")
                                .arg(unsigned(std::max(n, 0)));
    const QString widthMissing = QStringLiteral(
        "Geben Sie die Filterbreite für die Filterfunktion an!\nEine ungerade Anzahl von "
        "Datenpunkten.");
    const bool fourierOn = x.fourier && !x.standardValues;
    const auto empty = [](const QString& text) { return [text] { return text.isEmpty(); }; };
    const auto when = [](bool on, std::function<bool()> fails) {
        return [on, fails = std::move(fails)] { return on && fails(); };
    };
    const int cut = Profile::toInt(x.cutoff);
    const int fourierW = Profile::toInt(x.fourierWidth);
    const int deg = Profile::toInt(x.degree);
    const int polynomialW = Profile::toInt(x.polynomialWidth);
    return numberfield::check(
        messages, owner,
        {Rule{cutoff, when(fourierOn, empty(x.cutoff)),
              QStringLiteral("Geben Sie Grenzfrequenz für die Filterfunktion an!")},
         Rule{fourierWidth, when(fourierOn, empty(x.fourierWidth)), widthMissing},
         Rule{fourierWidth, when(fourierOn, [=] { return fourierW < 8; }),
              QStringLiteral("Die Filterbreite muß mindestens 8 Datenpunkte sein!")},
         Rule{cutoff, when(fourierOn, [=] { return cut > n; }),
              QStringLiteral("Die Filterfrequenz ") + tooMany},
         Rule{cutoff, when(fourierOn, [=] { return cut <= fourierW; }),
              QStringLiteral("Die Grenzfrequenz muß größer als die Filterbreite sein!")},
         Rule{degree, when(x.polynomial, empty(x.degree)),
              QStringLiteral("Geben Sie den Polynomgrad für die Filterfunktion an!")},
         Rule{polynomialWidth, when(x.polynomial, empty(x.polynomialWidth)), widthMissing},
         Rule{polynomialWidth, when(x.polynomial, [=] { return polynomialW > n; }),
              QStringLiteral("Die Filterbreite ") + tooMany},
         Rule{polynomialWidth, when(x.polynomial, [=] { return polynomialW <= deg; }),
              QStringLiteral("Die Filterbreite muß größer als der Polynomgrad sein!")}});
}

SmoothDataDialog::SmoothDataDialog(SmoothDataDialogXfer& xfer, MessageBox& messages,
                                   std::function<void()> help, QWidget* parent)
    : QDialog(parent),
      xfer_(xfer),
      messages_(messages),
      grid_(new QGridLayout),
      controls_(this, grid_, 0, true) {
    setWindowTitle(QStringLiteral("Datenglättung"));
    auto* layout = new QVBoxLayout(this);
    grid_->addWidget(controls_.displayedOnly, 7, 0, 1, 3);
    layout->addLayout(grid_);
    addDialogButtons(this, layout, std::move(help));
    controls_.show(xfer);
}

void SmoothDataDialog::accept() {
    SmoothDataDialogXfer x = xfer_;
    controls_.read(x);
    if (!controls_.check(x, messages_, this)) return;
    xfer_ = x;
    QDialog::accept();
}
