#include "dialogs/xaxis/ConvertPtoWDialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "dialogs/NumberField.h"
#include "dialogs/xaxis/ShortFileName.h"
#include "lumcore/Printf.h"
#include "services/DialogButtons.h"

ConvertPtoWDialogXfer& convertPtoWDialogXfer() {
    static ConvertPtoWDialogXfer kept;
    return kept;
}

namespace {

// Point numbers take digits and the decimal point only.
QLineEdit* pointField(QWidget* parent) {
    QLineEdit* field = numberfield::make(parent);
    static const QRegularExpression allowed(QStringLiteral("[0-9.]*"));
    field->setValidator(new QRegularExpressionValidator(allowed, field));
    return field;
}

}  // namespace

ConvertPtoWDialog::ConvertPtoWDialog(ConvertPtoWDialogXfer& xfer, MessageBox& messages,
                                     std::function<std::optional<float>()> reticle,
                                     std::function<void()> help, QWidget* parent)
    : QDialog(parent), xfer_(xfer), messages_(messages), reticle_(std::move(reticle)) {
    using X = ConvertPtoWDialogXfer;
    setWindowTitle(QStringLiteral("Wellenlängenzuordnung"));
    // "name;n;flag", split at the last two ";" (the name may hold some itself).
    QString name = xfer.label;
    const qsizetype flagAt = name.lastIndexOf(';');
    const qsizetype countAt = flagAt > 0 ? name.lastIndexOf(';', flagAt - 1) : -1;
    if (countAt >= 0) {
        pointCount_ = name.mid(countAt + 1, flagAt - countAt - 1).toInt();
        reticleAvailable_ = name.mid(flagAt + 1).trimmed() == QStringLiteral("1");
        name = name.left(countAt);
    }
    auto* layout = new QVBoxLayout(this);
    name_ = new QLabel(shortFileName(name.left(255)), this);
    layout->addWidget(name_);
    auto* grid = new QGridLayout;
    for (Field f : {Point1, Point2, Point}) fields_[f] = pointField(this);
    for (Field f : {Wavelength1, Wavelength2, Wavelength, Dispersion})
        fields_[f] = numberfield::make(this);
    radios_[X::TwoPoints] = new QRadioButton(QStringLiteral("2 Punkte:"), this);
    radios_[X::PointAndDispersion] =
        new QRadioButton(QStringLiteral("Punkt und Dispersion:"), this);
    radios_[X::None] = new QRadioButton(QStringLiteral("Keine Wellenlängenzuordnung"), this);
    const auto label = [this](const char* text) {
        return new QLabel(QString::fromUtf8(text), this);
    };
    grid->addWidget(radios_[X::TwoPoints], 0, 0, 1, 4);
    grid->addWidget(label("Punkt"), 1, 1);
    grid->addWidget(label("Wellenlänge"), 1, 2);
    grid->addWidget(fields_[Point1], 2, 1);
    grid->addWidget(fields_[Wavelength1], 2, 2);
    grid->addWidget(label("nm"), 2, 3);
    grid->addWidget(fields_[Point2], 3, 1);
    grid->addWidget(fields_[Wavelength2], 3, 2);
    grid->addWidget(label("nm"), 3, 3);
    grid->addWidget(radios_[X::PointAndDispersion], 4, 0, 1, 4);
    grid->addWidget(label("Punkt"), 5, 1);
    grid->addWidget(label("Wellenlänge"), 5, 2);
    grid->addWidget(fields_[Point], 6, 1);
    grid->addWidget(fields_[Wavelength], 6, 2);
    grid->addWidget(label("nm"), 6, 3);
    grid->addWidget(label("Dispersion:"), 7, 0);
    grid->addWidget(fields_[Dispersion], 7, 1);
    grid->addWidget(label("nm/Punkt"), 7, 2);
    grid->addWidget(radios_[X::None], 8, 0, 1, 4);
    layout->addLayout(grid);
    take_ = new QPushButton(QStringLiteral("Fadenkreuzwert übernehmen"), this);
    take_->setAutoDefault(false);
    layout->addWidget(take_);
    propose_ = new QCheckBox(QStringLiteral("Konvertierung automatisch vorschlagen"), this);
    layout->addWidget(propose_);
    addDialogButtons(this, layout, std::move(help));

    const std::pair<Field, const QString*> texts[] = {
        {Point1, &xfer.point1},           {Point2, &xfer.point2}, {Wavelength1, &xfer.wavelength1},
        {Wavelength2, &xfer.wavelength2}, {Point, &xfer.point},   {Wavelength, &xfer.wavelength},
        {Dispersion, &xfer.dispersion}};
    for (const auto& [f, text] : texts) fields_[f]->setText(*text);
    radios_[xfer.method]->setChecked(true);
    propose_->setChecked(xfer.propose);
    for (QRadioButton* radio : radios_)
        connect(radio, &QRadioButton::toggled, this, &ConvertPtoWDialog::enableMethod);
    for (Field f : {Point1, Point2, Point}) fields_[f]->installEventFilter(this);
    connect(take_, &QPushButton::clicked, this, &ConvertPtoWDialog::takeReticle);
    take_->setEnabled(reticleAvailable_);
    enableMethod();
}

QString ConvertPtoWDialog::shownName() const {
    return name_->text();
}

void ConvertPtoWDialog::enableMethod() {
    using X = ConvertPtoWDialogXfer;
    const bool two = radios_[X::TwoPoints]->isChecked();
    const bool one = radios_[X::PointAndDispersion]->isChecked();
    for (Field f : {Point1, Point2, Wavelength1, Wavelength2}) fields_[f]->setEnabled(two);
    for (Field f : {Point, Wavelength, Dispersion}) fields_[f]->setEnabled(one);
}

// A point field got the focus: it is the one the reticle's value goes into, and a value may
// be taken again.
bool ConvertPtoWDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        for (Field f : {Point1, Point2, Point})
            if (watched == fields_[f]) {
                if (!pointFocused_ || lastPoint_ != f) take_->setEnabled(reticleAvailable_);
                lastPoint_ = f;
                pointFocused_ = true;
            }
    return QDialog::eventFilter(watched, event);
}

void ConvertPtoWDialog::reticleMoved() {
    take_->setEnabled(reticleAvailable_);
}

void ConvertPtoWDialog::takeReticle() {
    const std::optional<float> value = reticle_ ? reticle_() : std::nullopt;
    if (!value) return;
    QLineEdit* target = fields_[lastPoint_];
    if (!pointFocused_ || !target->isEnabled())
        target = fields_[Point1]->isEnabled() ? fields_[Point1] : fields_[Point];
    target->setText(QString::fromStdString(lumcore::strprintf("%g", double(*value))));
    target->setFocus();
    take_->setEnabled(false);
}

bool ConvertPtoWDialog::check() {
    using X = ConvertPtoWDialogXfer;
    using numberfield::missing;
    const auto atMost0 = [](const QLineEdit* f) {
        return [f] { return numberfield::read(f).value_or(0.0f) <= 0.0f; };
    };
    const auto is0 = [](const QLineEdit* f) {
        return [f] { return numberfield::read(f) == 0.0f; };
    };
    const QString positivePoints = QStringLiteral("Punkte müssen größer Null sein!");
    const QString positiveWavelengths = QStringLiteral("Wellenlängen müssen größer Null sein!");
    QLineEdit* p1 = fields_[Point1];
    QLineEdit* p2 = fields_[Point2];
    QLineEdit* w1 = fields_[Wavelength1];
    QLineEdit* w2 = fields_[Wavelength2];
    QLineEdit* p = fields_[Point];
    QLineEdit* w = fields_[Wavelength];
    QLineEdit* d = fields_[Dispersion];
    if (radios_[X::TwoPoints]->isChecked())
        return numberfield::check(
            messages_, this,
            {{p1, missing(p1), QStringLiteral("Geben Sie den 1.Punkt an!")},
             {p1, atMost0(p1), positivePoints},
             {p2, missing(p2), QStringLiteral("Geben Sie den 2.Punkt an!")},
             {p2, atMost0(p2), positivePoints},
             {p2, numberfield::equal(p1, p2),
              QStringLiteral("Die Punkte dürfen nicht gleich sein!")},
             {w1, missing(w1), QStringLiteral("Geben Sie die 1.Wellenlänge an!")},
             {w1, atMost0(w1), positiveWavelengths},
             {w2, missing(w2), QStringLiteral("Geben Sie die 2.Wellenlänge an!")},
             {w2, atMost0(w2), positiveWavelengths},
             {w2, numberfield::equal(w1, w2),
              QStringLiteral("Die Wellenlängen dürfen nicht gleich sein!")}});
    if (radios_[X::PointAndDispersion]->isChecked())
        return numberfield::check(
            messages_, this,
            {{p, missing(p), QStringLiteral("Geben Sie den Punkt an!")},
             {p, atMost0(p), positivePoints},
             {w, missing(w), QStringLiteral("Geben Sie die Wellenlänge an!")},
             {w, atMost0(w), positiveWavelengths},
             {d, missing(d), QStringLiteral("Geben Sie die Dispersion an!")},
             {d, is0(d), QStringLiteral("Die Dispersion muß ungleich Null sein!")}});
    return true;
}

void ConvertPtoWDialog::accept() {
    using X = ConvertPtoWDialogXfer;
    for (std::size_t m = 0; m < radios_.size(); ++m)
        if (radios_[m]->isChecked()) xfer_.method = X::Method(m);
    const std::pair<Field, QString*> texts[] = {{Point1, &xfer_.point1},
                                                {Point2, &xfer_.point2},
                                                {Wavelength1, &xfer_.wavelength1},
                                                {Wavelength2, &xfer_.wavelength2},
                                                {Point, &xfer_.point},
                                                {Wavelength, &xfer_.wavelength},
                                                {Dispersion, &xfer_.dispersion}};
    for (const auto& [f, text] : texts) *text = fields_[f]->text();
    xfer_.propose = propose_->isChecked();
    if (!check()) return;
    QDialog::accept();
}
