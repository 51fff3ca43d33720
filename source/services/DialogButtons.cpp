#include "services/DialogButtons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox* addDialogButtons(QDialog* dialog, QBoxLayout* layout) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbruch"), QDialogButtonBox::RejectRole);
    // accept() and reject() through the pointers dispatch to a dialog's own overrides.
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return buttons;
}

QDialogButtonBox* addDialogButtons(QDialog* dialog, QBoxLayout* layout,
                                   std::function<void()> help) {
    QDialogButtonBox* buttons = addDialogButtons(dialog, layout);
    buttons->addButton(QStringLiteral("Hilfe"), QDialogButtonBox::HelpRole);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, dialog, [help = std::move(help)] {
        if (help) help();
    });
    return buttons;
}
