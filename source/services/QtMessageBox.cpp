// Message boxes with QMessageBox: icon, buttons and the optional beep.
#include "services/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageBox::beep() {
    QApplication::beep();
}

MessageBox::Answer QtMessageBox::show(QWidget* owner, const QString& text, const QString& caption,
                                      Icon icon, Buttons buttons, bool beep) {
    if (beep) this->beep();
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Stop:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    const int result = box.exec();
    switch (result) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            // Closed with Escape or the window button: the box's cancelling answer.
            if (buttons == Buttons::YesNo) return Answer::No;
            return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}
