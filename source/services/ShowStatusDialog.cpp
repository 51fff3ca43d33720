#include "services/ShowStatusDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

ShowStatusDialog::ShowStatusDialog(const QString& process, const QString& action, int minimum,
                                   int maximum, QWidget* parent)
    : SearchStatusDialog(parent) {
    ++running_;
    refresh(process, action, minimum, maximum);
    // The captions of the texts and of the bar, above each.
    if (auto* column = qobject_cast<QVBoxLayout*>(layout())) {
        column->insertWidget(0, new QLabel(QStringLiteral("Prozeß:"), this));
        if (auto* bar = findChild<QProgressBar*>())
            column->insertWidget(column->indexOf(bar),
                                 new QLabel(QStringLiteral("Fortschritt:"), this));
    }
}

ShowStatusDialog::~ShowStatusDialog() {
    --running_;
}

void ShowStatusDialog::Start() {
    adjustSize();
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
}
