#include "dialogs/elements/MoleculesListBox.h"

#include <QAction>

MoleculesListBox::MoleculesListBox(QWidget* parent) : ElementLinesBox(parent) {
    markAll_ = new QAction(QStringLiteral("Alle aufgelisteten Moleküle markieren"), this);
    clearAll_ = new QAction(QStringLiteral("Alle aufgelisteten Moleküle löschen"), this);
    connect(markAll_, &QAction::triggered, this, [this] { selectAllLines(true); });
    connect(clearAll_, &QAction::triggered, this, [this] { selectAllLines(false); });
    addAction(markAll_);
    addAction(clearAll_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}
