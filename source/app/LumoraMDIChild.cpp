// MDI child frame around a diagram or search window.
#include "app/LumoraMDIChild.h"

#include "app/CommandTarget.h"

LumoraMDIChild::LumoraMDIChild(Kind kind, QWidget* content, QWidget* parent)
    : QMdiSubWindow(parent), kind_(kind) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(content);
    if (content) setWindowTitle(content->windowTitle());
}

CommandTarget* LumoraMDIChild::target() const {
    return dynamic_cast<CommandTarget*>(widget());
}
