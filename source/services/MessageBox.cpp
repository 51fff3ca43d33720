// The caption-number form of the message box.
#include "services/MessageBox.h"

#include "services/StringTable.h"

MessageBox::Answer MessageBox::show(QWidget* owner, const QString& text, int captionId, Icon icon,
                                    Buttons buttons, bool beep) {
    return show(owner, text, strings::text(captionId), icon, buttons, beep);
}
