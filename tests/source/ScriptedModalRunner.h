// A ModalRunner for tests: hands each dialog to an inspector and rejects it at once.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "services/ModalRunner.h"

class ScriptedModalRunner : public ModalRunner {
public:
    QStringList titles;
    std::function<void(QDialog&)> inspect;

    int run(QDialog& dialog) override {
        titles.append(dialog.windowTitle());
        if (inspect) inspect(dialog);
        return QDialog::Rejected;
    }
};
