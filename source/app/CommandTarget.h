// What a child window of the MDI client offers to the menu bar: the frame routes the
// diagram and search-window commands to the active child through this interface and asks it
// whether each command is enabled or checked.
#pragma once

class QEvent;

class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    virtual bool handlesCommand(int id) const = 0;
    virtual bool isCommandEnabled(int /*id*/) const { return true; }
    virtual bool isCommandChecked(int /*id*/) const { return false; }
    virtual void executeCommand(int id) = 0;

    // The about box disables the child's modeless dialogs while it is open.
    virtual void setModelessDialogsEnabled(bool /*enabled*/) {}
    // The frame passes its move and activation events on to the active diagram.
    virtual void frameEvent(QEvent* /*event*/) {}
};
