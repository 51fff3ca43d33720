// Default modal runner: the dialog's own event loop.
#include "services/ModalRunner.h"

#include <QDialog>

int ModalRunner::run(QDialog& dialog) {
    return dialog.exec();
}
