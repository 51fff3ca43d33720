// Runs the program's modal dialogs (about box, printer set-up and the later dialogs). Windows
// reach it through their application context; tests hand in a runner that answers at once.
#pragma once

class QDialog;

class ModalRunner {
  public:
    // A dialog with this property set to true works beside its window: the window stays
    // usable (it limits itself to what the dialog needs) and run() returns when the dialog
    // is closed, or destroyed with its window.
    static constexpr const char* kBesideWindow = "runBesideWindow";

    virtual ~ModalRunner() = default;
    // QDialog::Accepted or QDialog::Rejected.
    virtual int run(QDialog& dialog);
};
