// A ModalRunner for tests: records each dialog's title and hands the dialog to the next
// queued script instead of waiting. A script fills in fields and accepts the dialog (through
// its own accept(), so the dialog's checks apply) or rejects it; the runner returns the
// dialog's result. Without a script the dialog is rejected.
#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

#include "services/ModalRunner.h"

class ScriptedModalRunner : public ModalRunner {
  public:
    using Script = std::function<void(QDialog&)>;
    QStringList titles;
    std::deque<Script> scripts;

    int run(QDialog& dialog) override {
        titles.append(dialog.windowTitle());
        dialog.setResult(QDialog::Rejected);
        if (!scripts.empty()) {
            const Script script = std::move(scripts.front());
            scripts.pop_front();
            script(dialog);
        }
        return dialog.result();
    }
};
