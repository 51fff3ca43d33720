// Progress dialog with "Abbruch" for runs that pump the event queue between steps.
#include "services/SearchStatusDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

SearchStatusDialog::SearchStatusDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Status"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    process_ = new QLabel(this);
    phase_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    auto* abort = new QPushButton(QStringLiteral("Abbruch"), this);
    abort->setObjectName(QStringLiteral("abortButton"));
    layout->addWidget(process_);
    layout->addWidget(phase_);
    layout->addWidget(bar_);
    layout->addWidget(abort, 0, Qt::AlignHCenter);
    connect(abort, &QPushButton::clicked, this, [this] {
        abortRequested_ = true;
        emit aborted();
    });
    setMinimumWidth(320);
}

void SearchStatusDialog::refresh(const QString& process, const QString& phase, int lower,
                                 int upper) {
    process_->setText(process);
    phase_->setText(phase);
    bar_->setRange(lower, upper < lower ? lower : upper);
    bar_->setValue(lower);
}

void SearchStatusDialog::setPosition(int position) {
    bar_->setValue(qBound(bar_->minimum(), position, bar_->maximum()));
}

void SearchStatusDialog::reject() {
    abortRequested_ = true;
    emit aborted();
}

QString SearchStatusDialog::processText() const {
    return process_->text();
}
QString SearchStatusDialog::phaseText() const {
    return phase_->text();
}
int SearchStatusDialog::lower() const {
    return bar_->minimum();
}
int SearchStatusDialog::upper() const {
    return bar_->maximum();
}
int SearchStatusDialog::position() const {
    return bar_->value();
}
