// Default modal runner: the dialog's own event loop, or, for a dialog that works beside its
// window, a loop of its own while the dialog is shown without blocking the window.
#include "services/ModalRunner.h"

#include <QDialog>
#include <QEventLoop>
#include <QPointer>

int ModalRunner::run(QDialog& dialog) {
    if (!dialog.property(kBesideWindow).toBool()) return dialog.exec();
    QPointer<QDialog> alive(&dialog);
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(&dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    dialog.setWindowModality(Qt::NonModal);
    dialog.show();
    loop.exec(QEventLoop::DialogExec);
    return alive ? alive->result() : int(QDialog::Rejected);
}
