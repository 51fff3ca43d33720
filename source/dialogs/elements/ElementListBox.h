// "Ausgewählte Elemente:": exactly the atoms and molecules whose selected byte is set, all
// lines ticked. Clicking a line clears that one entry's selection, and the line goes.
#pragma once

#include "dialogs/elements/ElementLinesBox.h"

class ElementListBox : public ElementLinesBox {
    Q_OBJECT
  public:
    using ElementLinesBox::ElementLinesBox;
};
