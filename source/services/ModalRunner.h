// Runs the program's modal dialogs (about box, printer set-up and the later dialogs). Tests
// install a runner that records the dialog and answers at once instead of waiting.
#pragma once

class QDialog;

class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    // QDialog::Accepted or QDialog::Rejected.
    virtual int run(QDialog& dialog);

    static ModalRunner& current();
    // Installs `runner` (not owned); nullptr goes back to QDialog::exec().
    static void install(ModalRunner* runner);
};
