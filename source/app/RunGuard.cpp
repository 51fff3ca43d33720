// The guard of a run that pumps events.
#include "app/RunGuard.h"

#include <QMdiSubWindow>

#include "app/AppContext.h"
#include "app/CommandTarget.h"
#include "app/LumoraMDIClient.h"

namespace {

QMdiArea* areaOf(QWidget* owner) {
    const auto* frame = owner ? qobject_cast<const QMdiSubWindow*>(owner->parentWidget()) : nullptr;
    return frame ? frame->mdiArea() : nullptr;
}

}  // namespace

RunGuard::RunGuard(AppContext& context, QWidget* owner) : context_(context), owner_(owner) {
    ++context_.busy;
    QList<QWidget*> children;
    if (QMdiArea* area = areaOf(owner))
        for (QMdiSubWindow* sub : area->subWindowList())
            if (sub->widget()) children << sub->widget();
    if (owner && !children.contains(owner)) children << owner;
    for (QWidget* child : children) {
        if (const auto* target = dynamic_cast<const CommandTarget*>(child))
            for (QWidget* dialog : target->modelessDialogs())
                if (dialog && dialog->isEnabled()) disable(dialog);
        if (child->isEnabled()) disable(child);
    }
    announce();
}

RunGuard::~RunGuard() {
    for (const QPointer<QWidget>& widget : disabled_)
        if (widget) widget->setEnabled(true);
    --context_.busy;  // before the frame asks for the states anew
    announce();
}

void RunGuard::disable(QWidget* widget) {
    widget->setEnabled(false);
    disabled_ << widget;
}

// The frame greys its commands, or offers them again.
void RunGuard::announce() const {
    if (auto* client = qobject_cast<LumoraMDIClient*>(areaOf(owner_)))
        emit client->childrenChanged();
}
