#include "diagram/DisplayValueDialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

DisplayValueDialog::DisplayValueDialog(QWidget* parent)
    : QWidget(parent), x_(new QLabel(this)), y_(new QLabel(this)) {
    setObjectName(QStringLiteral("DisplayValueDialog"));
    setFont(QFont(QStringLiteral("Arial"), 12));
    setAutoFillBackground(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    x_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    y_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(x_, 1);
    row->addWidget(y_, 1);
    // 100 x 8 dialog units of its font: a dialog unit is a quarter of the average character
    // width across and an eighth of the character height down.
    const QFontMetrics metrics(font());
    setFixedSize(25 * metrics.averageCharWidth(), metrics.height());
}

void DisplayValueDialog::SetValues(const QString& x, const QString& y) {
    x_->setText(x + QLatin1Char(' '));
    y_->setText(QLatin1Char(' ') + y);
}

QString DisplayValueDialog::xText() const {
    return x_->text();
}

QString DisplayValueDialog::yText() const {
    return y_->text();
}
