#include "dialogs/display/ViewOptionsDialog.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "services/DialogButtons.h"
#include "services/ModalRunner.h"

ViewOptionsDialog::ViewOptionsDialog(const ViewOptionsXfer& xfer, ModalRunner& fonts,
                                     std::function<void()> help, QWidget* parent)
    : QDialog(parent),
      fonts_(fonts),
      type_(LabelFontType::parse(xfer.fontType.toStdString())),
      fontName_(xfer.fontName),
      typeText_(xfer.fontType) {
    setWindowTitle(QStringLiteral("Beschriftung"));
    auto* layout = new QVBoxLayout(this);
    auto* texts = new QGridLayout;
    const QString initial[5] = {xfer.title, xfer.xLabel, xfer.xUnit, xfer.yLabel, xfer.yUnit};
    for (int k = 0; k < 5; ++k) {
        fields_[k] = new QLineEdit(initial[k], this);
        fields_[k]->setMaxLength(k == 0 ? 254 : 99);
    }
    texts->addWidget(new QLabel(QStringLiteral("Titel:"), this), 0, 0);
    texts->addWidget(fields_[0], 0, 1, 1, 4);
    texts->addWidget(new QLabel(QStringLiteral("Beschriftung:"), this), 1, 1);
    texts->addWidget(new QLabel(QStringLiteral("Einheit:"), this), 1, 3);
    texts->addWidget(new QLabel(QStringLiteral("x-Achse:"), this), 2, 0);
    texts->addWidget(fields_[1], 2, 1, 1, 2);
    texts->addWidget(fields_[2], 2, 3, 1, 2);
    texts->addWidget(new QLabel(QStringLiteral("y-Achse:"), this), 3, 0);
    texts->addWidget(fields_[3], 3, 1, 1, 2);
    texts->addWidget(fields_[4], 3, 3, 1, 2);
    layout->addLayout(texts);

    auto* legend = new QGroupBox(QStringLiteral("Legende"), this);
    auto* legendRows = new QGridLayout(legend);
    fileNames_ = new QCheckBox(QStringLiteral("Dateinamen"), legend);
    lineSearch_ = new QCheckBox(QStringLiteral("Information zur Liniensuche"), legend);
    identification_ =
        new QCheckBox(QStringLiteral("Information zur Linienidentifizierung"), legend);
    fileNames_->setChecked(xfer.fileNames);
    lineSearch_->setChecked(xfer.lineSearch);
    identification_->setChecked(xfer.identification);
    legendRows->addWidget(fileNames_, 0, 0);
    legendRows->addWidget(lineSearch_, 1, 0);
    legendRows->addWidget(identification_, 2, 0);
    const QString corners[3] = {QStringLiteral("Oben links"), QStringLiteral("Oben rechts"),
                                QStringLiteral("Keine Legende")};
    for (int k = 0; k < 3; ++k) {
        legend_[k] = new QRadioButton(corners[k], legend);
        legendRows->addWidget(legend_[k], k, 1);
    }
    legend_[static_cast<int>(xfer.legend)]->setChecked(true);
    layout->addWidget(legend);

    auto* font = new QGroupBox(QStringLiteral("Schrift:"), this);
    auto* fontRow = new QGridLayout(font);
    fontNameShown_ = new QLineEdit(font);
    fontSizeShown_ = new QLineEdit(font);
    fontNameShown_->setReadOnly(true);
    fontSizeShown_->setReadOnly(true);
    auto* change = new QPushButton(QStringLiteral("Ändern"), font);
    fontRow->addWidget(fontNameShown_, 0, 0);
    fontRow->addWidget(new QLabel(QStringLiteral("Größe:"), font), 0, 1);
    fontRow->addWidget(fontSizeShown_, 0, 2);
    fontRow->addWidget(change, 0, 3);
    connect(change, &QPushButton::clicked, this, &ViewOptionsDialog::chooseFont);
    layout->addWidget(font);
    showFont();

    addDialogButtons(this, layout, std::move(help));
}

QLineEdit* ViewOptionsDialog::field(int index) const {
    return fields_[index];
}

void ViewOptionsDialog::showFont() {
    fontNameShown_->setText(fontName_);
    fontSizeShown_->setText(QString::number(type_.points));
}

void ViewOptionsDialog::chooseFont() {
    // The point size rather than the cell height: a font dialog sizes by the em, which the
    // cell height would overstate.
    QFont initial(fontName_);
    initial.setPointSize(type_.points);
    initial.setWeight(type_.bold ? QFont::Bold : QFont::Normal);
    initial.setItalic(type_.italic);
    QFontDialog dialog(initial, this);
    dialog.setWindowTitle(QStringLiteral("Schriftart"));
    if (fonts_.run(dialog) != QDialog::Accepted) return;
    const QFont chosen = dialog.currentFont();
    fontName_ = chosen.family();
    type_.height = QFontMetrics(chosen).height();
    type_.points = chosen.pointSize() > 0
                       ? chosen.pointSize()
                       : static_cast<int>(std::lround(chosen.pixelSize() * 72.0 / 96.0));
    if (type_.points <= 0) type_.points = 11;
    type_.bold = chosen.weight() >= QFont::Bold;
    type_.italic = chosen.italic();
    showFont();
}

void ViewOptionsDialog::accept() {
    typeText_ = QString::fromStdString(type_.text());
    QDialog::accept();
}

ViewOptionsXfer ViewOptionsDialog::xfer() const {
    ViewOptionsXfer x;
    x.title = fields_[0]->text();
    x.xLabel = fields_[1]->text();
    x.xUnit = fields_[2]->text();
    x.yLabel = fields_[3]->text();
    x.yUnit = fields_[4]->text();
    x.fileNames = fileNames_->isChecked();
    x.identification = identification_->isChecked();
    x.lineSearch = lineSearch_->isChecked();
    x.legend = legend_[0]->isChecked()   ? ViewOptionsXfer::Legend::TopLeft
               : legend_[1]->isChecked() ? ViewOptionsXfer::Legend::TopRight
                                         : ViewOptionsXfer::Legend::None;
    x.fontName = fontName_;
    x.fontSize = fontSizeShown_->text();
    x.fontType = typeText_;
    return x;
}
