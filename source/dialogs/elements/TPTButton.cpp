#include "dialogs/elements/TPTButton.h"

#include <QPainter>

TPTButton::TPTButton(int id, const QString& symbol, QWidget* parent)
    : QAbstractButton(parent), id_(id) {
    setText(symbol);
    setFocusPolicy(Qt::NoFocus);
}

void TPTButton::setState(int state) {
    if (state == state_) return;
    state_ = state;
    update();
}

void TPTButton::setMoleculeMark(int mark) {
    if (mark == moleculeMark_) return;
    moleculeMark_ = mark;
    update();
}

void TPTButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, state_ == 1 ? selectedColor() : normalColor());
    // A neutral edge keeps neighbouring buttons of the same colour apart.
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (moleculeMark_ > 0) {
        p.setPen(QPen(frameColor(), 1));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.drawRect(r.adjusted(1, 1, -2, -2));
    }
    p.setPen(atomicNumber() < 100 ? QColor(Qt::black) : QColor(128, 128, 128));
    p.setFont(font());
    p.drawText(r, Qt::AlignCenter, text());
}
