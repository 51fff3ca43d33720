// What holds while a library run or a report pumps events: the program is busy, so the frame
// takes no command, neither a child nor the program closes and hand-overs wait; every child
// of the MDI area and every modeless dialog of a child is disabled, so nothing reaches the
// lists the run fills or starts another run. A diagram and the database search window hold
// the same guard.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class AppContext;

class RunGuard {
  public:
    // `owner` is the child window that runs (its MDI area's children are all held).
    RunGuard(AppContext& context, QWidget* owner);
    // Enables what it disabled, then the program is no longer busy.
    ~RunGuard();
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

  private:
    void disable(QWidget* widget);
    void announce() const;

    AppContext& context_;
    QPointer<QWidget> owner_;
    QList<QPointer<QWidget>> disabled_;
};
