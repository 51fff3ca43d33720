#include "dialogs/analysis/SmoothDataDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <climits>

#include "dialogs/NumberField.h"
#include "services/DialogButtons.h"

int leadingInt(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
    }
    return int(negative ? -value : value);
}

namespace {

QLineEdit* digitsField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    return field;
}

}  // namespace

SmoothDataDialog::SmoothDataDialog(SmoothDataDialogXfer& xfer, MessageBox& messages,
                                   std::function<void()> help, QWidget* parent)
    : QDialog(parent), xfer_(xfer), messages_(messages) {
    setWindowTitle(QStringLiteral("Datenglättung"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    fourier_ = new QCheckBox(QStringLiteral("Wiener-Fourierglättung:"), this);
    standard_ = new QCheckBox(QStringLiteral("Standardwerte benutzen"), this);
    cutoff_ = digitsField(this);
    fourierWidth_ = digitsField(this);
    polynomial_ = new QCheckBox(QStringLiteral("Polynomglättung:"), this);
    degree_ = digitsField(this);
    polynomialWidth_ = digitsField(this);
    displayedOnly_ = new QCheckBox(QStringLiteral("Nur dargestellte Daten bearbeiten"), this);
    const auto label = [this](const char* text) {
        return new QLabel(QString::fromUtf8(text), this);
    };
    grid->addWidget(fourier_, 0, 0, 1, 3);
    grid->addWidget(standard_, 1, 1, 1, 2);
    grid->addWidget(label("Grenzfrequenz:"), 2, 0);
    grid->addWidget(cutoff_, 2, 1);
    grid->addWidget(label("Pkt."), 2, 2);
    grid->addWidget(label("Filterbreite:"), 3, 0);
    grid->addWidget(fourierWidth_, 3, 1);
    grid->addWidget(label("Pkt."), 3, 2);
    grid->addWidget(polynomial_, 4, 0, 1, 3);
    grid->addWidget(label("Polynomgrad:"), 5, 0);
    grid->addWidget(degree_, 5, 1);
    grid->addWidget(label("Filterbreite:"), 6, 0);
    grid->addWidget(polynomialWidth_, 6, 1);
    grid->addWidget(displayedOnly_, 7, 0, 1, 3);
    layout->addLayout(grid);
    addDialogButtons(this, layout, std::move(help));

    fourier_->setChecked(xfer.fourier);
    standard_->setChecked(xfer.standardValues);
    cutoff_->setText(xfer.cutoff);
    fourierWidth_->setText(xfer.fourierWidth);
    polynomial_->setChecked(xfer.polynomial);
    degree_->setText(xfer.degree);
    polynomialWidth_->setText(xfer.polynomialWidth);
    displayedOnly_->setChecked(xfer.displayedOnly);
    for (QCheckBox* box : {fourier_, standard_, polynomial_})
        connect(box, &QCheckBox::toggled, this, &SmoothDataDialog::followBoxes);
    followBoxes();
}

// The Fourier values count only with the filter on and the standard values off; the
// polynomial's only with its filter on.
void SmoothDataDialog::followBoxes() {
    const bool fourier = fourier_->isChecked();
    standard_->setEnabled(fourier);
    cutoff_->setEnabled(fourier && !standard_->isChecked());
    fourierWidth_->setEnabled(fourier && !standard_->isChecked());
    degree_->setEnabled(polynomial_->isChecked());
    polynomialWidth_->setEnabled(polynomial_->isChecked());
}

void SmoothDataDialog::accept() {
    SmoothDataDialogXfer x = xfer_;
    x.fourier = fourier_->isChecked();
    x.standardValues = standard_->isChecked();
    x.cutoff = cutoff_->text();
    x.fourierWidth = fourierWidth_->text();
    x.polynomial = polynomial_->isChecked();
    x.degree = degree_->text();
    x.polynomialWidth = polynomialWidth_->text();
    x.displayedOnly = displayedOnly_->isChecked();
    if (!check(x)) return;
    xfer_ = x;
    QDialog::accept();
}

bool SmoothDataDialog::check(const SmoothDataDialogXfer& x) {
    using numberfield::Rule;
    const int n = leadingInt(x.displayedOnly ? x.displayedPoints : x.points);
    const QString tooMany = QStringLiteral("muß kleiner als die Anzahl der Datenpunkte(%1) sein!")
                                .arg(unsigned(std::max(n, 0)));
    const QString widthMissing = QStringLiteral(
        "Geben Sie die Filterbreite für die Filterfunktion an!\nEine ungerade Anzahl von "
        "Datenpunkten.");
    const bool fourier = x.fourier && !x.standardValues;
    const auto empty = [](const QString& text) { return [text] { return text.isEmpty(); }; };
    const auto when = [](bool on, std::function<bool()> fails) {
        return [on, fails = std::move(fails)] { return on && fails(); };
    };
    const int cutoff = leadingInt(x.cutoff);
    const int fourierWidth = leadingInt(x.fourierWidth);
    const int degree = leadingInt(x.degree);
    const int polynomialWidth = leadingInt(x.polynomialWidth);
    return numberfield::check(
        messages_, this,
        {Rule{cutoff_, when(fourier, empty(x.cutoff)),
              QStringLiteral("Geben Sie Grenzfrequenz für die Filterfunktion an!")},
         Rule{fourierWidth_, when(fourier, empty(x.fourierWidth)), widthMissing},
         Rule{fourierWidth_, when(fourier, [=] { return fourierWidth < 8; }),
              QStringLiteral("Die Filterbreite muß mindestens 8 Datenpunkte sein!")},
         Rule{cutoff_, when(fourier, [=] { return cutoff > n; }),
              QStringLiteral("Die Filterfrequenz ") + tooMany},
         Rule{cutoff_, when(fourier, [=] { return cutoff <= fourierWidth; }),
              QStringLiteral("Die Grenzfrequenz muß größer als die Filterbreite sein!")},
         Rule{degree_, when(x.polynomial, empty(x.degree)),
              QStringLiteral("Geben Sie den Polynomgrad für die Filterfunktion an!")},
         Rule{polynomialWidth_, when(x.polynomial, empty(x.polynomialWidth)), widthMissing},
         Rule{polynomialWidth_, when(x.polynomial, [=] { return polynomialWidth > n; }),
              QStringLiteral("Die Filterbreite ") + tooMany},
         Rule{polynomialWidth_, when(x.polynomial, [=] { return polynomialWidth <= degree; }),
              QStringLiteral("Die Filterbreite muß größer als der Polynomgrad sein!")}});
}
