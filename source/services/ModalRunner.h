// Runs the program's modal dialogs (about box, printer set-up and the later dialogs). Windows
// reach it through their application context; tests hand in a runner that answers at once.
#pragma once

class QDialog;

class ModalRunner {
  public:
    virtual ~ModalRunner() = default;
    // QDialog::Accepted or QDialog::Rejected.
    virtual int run(QDialog& dialog);
};
