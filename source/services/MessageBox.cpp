// The message-box service registry.
#include "services/MessageBox.h"

#include "services/QtMessageBox.h"
#include "services/StringTable.h"

namespace {
MessageBox* installed = nullptr;
}  // namespace

MessageBox::Answer MessageBox::show(QWidget* owner, const QString& text, int captionId, Icon icon,
                                    Buttons buttons, bool beep) {
    return show(owner, text, strings::text(captionId), icon, buttons, beep);
}

MessageBox& MessageBox::current() {
    static QtMessageBox qtBox;
    return installed ? *installed : qtBox;
}

void MessageBox::install(MessageBox* box) { installed = box; }
