// The main window: the menu bar built from the menu table, seven dockable toolbars, the
// status bar with the command hints and the MDI client in the middle. It routes every
// command to the command table of the object that answers it (the menu table names which)
// and keeps the enabled and checked states current.
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>

#include "app/CommandTable.h"

class LumoraApp;
class LumoraMDIClient;
class QAction;
class QMenu;
class QToolBar;
struct MenuItemEntry;

class LumoraDecMDIFrame : public QMainWindow {
    Q_OBJECT
  public:
    LumoraDecMDIFrame(LumoraApp& app, LumoraMDIClient* client, QWidget* parent = nullptr);
    ~LumoraDecMDIFrame() override;

    // Menu bar, toolbars and status bar (built once at start-up).
    void buildCommandBars();

    LumoraMDIClient* client() const { return client_; }
    QAction* action(int id) const { return actions_.value(id, nullptr); }
    QList<int> commandIds() const { return actions_.keys(); }
    QToolBar* mainToolbar() const { return toolbars_.isEmpty() ? nullptr : toolbars_.front(); }
    const QList<QToolBar*>& toolbars() const { return toolbars_; }
    QMenu* fileMenu() const { return fileMenu_; }
    // The actions of the recent-file entries, newest first.
    const QList<QAction*>& recentFileActions() const { return recentActions_; }

    // Runs command `id` where it belongs; nothing when it is disabled.
    void dispatch(int id);
    // The same for the command channel, with the outcome: "ok", "disabled" (a command the
    // program knows but cannot run now) or "unknown".
    QByteArray remoteCommand(int id);
    // The table that answers `id` now: the application's, the client's, the frame's own, or
    // the active child's of the kind the command is routed to; null when there is none.
    const CommandTable* commandTable(int id) const;
    // Exit, the status bar and the window arrangement.
    const CommandTable& commands() const { return commands_; }

  public slots:
    // Enabled and checked states of every command, after anything that may change them.
    void updateCommandStates();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QAction* makeAction(const MenuItemEntry& entry);
    void buildMenus();
    void buildToolbars();
    void rebuildRecentFiles();

    LumoraApp& app_;
    LumoraMDIClient* client_;
    QHash<int, QAction*> actions_;
    QHash<int, int> routes_;
    CommandTable commands_;
    QList<QToolBar*> toolbars_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QMetaObject::Connection recentConnection_;
};
