// "Moleküle:": every molecule of the element list, the selected ones selected. Its context
// menu selects or clears every listed molecule.
#pragma once

#include "dialogs/elements/ElementLinesBox.h"

class QAction;

class MoleculesListBox : public ElementLinesBox {
    Q_OBJECT
  public:
    explicit MoleculesListBox(QWidget* parent = nullptr);

    // The context menu's commands, in menu order.
    QAction* markAllAction() const { return markAll_; }
    QAction* clearAllAction() const { return clearAll_; }

  private:
    QAction* markAll_;
    QAction* clearAll_;
};
