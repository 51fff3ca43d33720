// Default modal runner: the dialog's own event loop.
#include "services/ModalRunner.h"

#include <QDialog>

namespace {
ModalRunner* installed = nullptr;
}  // namespace

int ModalRunner::run(QDialog& dialog) { return dialog.exec(); }

ModalRunner& ModalRunner::current() {
    static ModalRunner plain;
    return installed ? *installed : plain;
}

void ModalRunner::install(ModalRunner* runner) { installed = runner; }
