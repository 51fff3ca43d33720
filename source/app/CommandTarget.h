// What a child window of the MDI client offers the frame: its command table (the frame
// routes the diagram and search-window commands to the active child and asks the table
// whether each is enabled or checked), and the notifications a child may want.
#pragma once

#include <vector>

class CommandTable;
class QEvent;
class QString;
class QWidget;

class CommandTarget {
  public:
    virtual ~CommandTarget() = default;

    virtual const CommandTable& commands() const = 0;

    // The about box disables the child's modeless dialogs while it is open.
    virtual void setModelessDialogsEnabled(bool /*enabled*/) {}
    // The modeless dialogs the child has open (a run disables them while it pumps events).
    virtual std::vector<QWidget*> modelessDialogs() const { return {}; }
    // The frame passes its move and activation events on to the active diagram.
    virtual void frameEvent(QEvent* /*event*/) {}

    // A diagram adds a spectrum file as its next overlay (false after telling the user why
    // it could not), and names its current spectrum `word` followed by a blank and the
    // spectrum's one-based position; other windows hold no spectra.
    virtual bool addSpectrumFile(const QString& /*path*/) { return false; }
    virtual void nameCurrentSpectrum(const QString& /*word*/) {}
};
