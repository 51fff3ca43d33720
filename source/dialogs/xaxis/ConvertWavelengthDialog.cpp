#include "dialogs/xaxis/ConvertWavelengthDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/xaxis/ShortFileName.h"
#include "services/DialogButtons.h"

ConvertWavelengthDialogXfer& convertWavelengthDialogXfer() {
    static ConvertWavelengthDialogXfer kept;
    return kept;
}

ConvertWavelengthDialog::ConvertWavelengthDialog(ConvertWavelengthDialogXfer& xfer,
                                                 std::function<void()> help, QWidget* parent)
    : QDialog(parent), xfer_(xfer) {
    using X = ConvertWavelengthDialogXfer;
    setWindowTitle(QStringLiteral("Wellenlängenformat"));
    auto* layout = new QVBoxLayout(this);
    name_ = new QLabel(shortFileName(xfer.fileName.left(255)), this);
    layout->addWidget(name_);
    auto* group = new QGroupBox(QStringLiteral("Konvertierung der Wellenlängeneinheit von"), this);
    auto* inGroup = new QVBoxLayout(group);
    const std::pair<X::Option, const char*> radios[] = {{X::Angstrom, "Angstrom"},
                                                        {X::Pixels, "Punkte"},
                                                        {X::Wavenumbers, "Wellenzahlen"},
                                                        {X::None, "Keine Konvertierung"}};
    for (const auto& [option, text] : radios) {
        radios_[std::size_t(option)] = new QRadioButton(QString::fromUtf8(text), group);
        inGroup->addWidget(radios_[std::size_t(option)]);
    }
    inGroup->addWidget(new QLabel(QStringLiteral("in Nanometer."), group));
    layout->addWidget(group);
    propose_ = new QCheckBox(QStringLiteral("Konvertierung automatisch vorschlagen"), this);
    layout->addWidget(propose_);
    addDialogButtons(this, layout, std::move(help));
    radios_[std::size_t(xfer.option)]->setChecked(true);
    propose_->setChecked(xfer.propose);
}

QString ConvertWavelengthDialog::shownName() const {
    return name_->text();
}

void ConvertWavelengthDialog::accept() {
    for (std::size_t i = 0; i < radios_.size(); ++i)
        if (radios_[i]->isChecked()) xfer_.option = ConvertWavelengthDialogXfer::Option(i);
    xfer_.propose = propose_->isChecked();
    QDialog::accept();
}
