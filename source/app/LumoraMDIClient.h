// The MDI client of the main frame: opens spectrum files into diagram children, closes the
// active child, prints through the active child, sets up the printer and opens and closes
// database search windows (as many as the user likes, each with its own result).
#pragma once

#include <QMdiArea>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "app/CommandTable.h"

class AppContext;
class CommandTarget;
class LumoraMDIChild;

class LumoraMDIClient : public QMdiArea {
    Q_OBJECT
  public:
    explicit LumoraMDIClient(AppContext& context, QWidget* parent = nullptr);

    // Whether the context holds a way to make diagrams and the search window.
    bool hasDiagramOpener() const;
    bool hasSearchWindowFactory() const;

    // The context the client and the windows it opens work in.
    AppContext& context() const { return context_; }
    // Open, close, printing (passed on to the active child), printer set-up, and opening and
    // closing the search window.
    const CommandTable& commands() const { return commands_; }
    // The commands an acquisition program sends (hand-over, reset), which have no menu items.
    const CommandTable& handoverCommands() const { return handoverCommands_; }

    // Opens `path` into a new diagram child; records it in the recent files on success.
    bool openDocument(const QString& path);

    // The hand-over files of an acquisition program lie in this folder (the system's
    // temporary folder unless set).
    void setHandoverDir(const QString& dir) { handoverDir_ = dir; }
    const QString& handoverDir() const { return handoverDir_; }
    // Opens a handed-over path (from the command line or a hand-over file): into the active
    // diagram when `add` and there is one, else into a new diagram. A temporary spectrum of
    // the acquisition program ("lmxtmp.txt" in the hand-over folder) is named "Spektrum
    // <position>" and kept out of the recent files.
    bool openHandedOver(const QString& path, bool add);
    // Files dropped on the free area: each opens in a diagram of its own.
    void openDropped(const QList<QUrl>& urls);
    // Runs `work` now when the program is idle, else as soon as no file is being read, no
    // run is under way and no modal dialog is open.
    void whenIdle(std::function<void()> work);

    LumoraMDIChild* activeChild() const;
    // The active child's command target, if it is of the given kind.
    CommandTarget* activeDiagram() const;
    CommandTarget* activeSearchWindow() const;
    // The search window command 118 closes: the active one, else the one last active, else
    // the newest; null when none is open.
    LumoraMDIChild* searchWindow() const;
    int childCount() const;

    // Window arrangement of the "Fenster" menu.
    void tileSideBySide();
    void tileStacked();
    void arrangeIcons();

  signals:
    void childrenChanged();

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void handover(const QString& fileName, bool add);
    void runIdleWork();
    void tile(Qt::Orientation direction);
    void commandOpen();
    void printerSetup();
    void openSearchWindow();
    LumoraMDIChild* addChild(int kind, QWidget* content);
    // Printing belongs to the active child: a diagram or the search report.
    const CommandTable* activeChildCommands() const;

    AppContext& context_;
    CommandTable commands_;
    CommandTable handoverCommands_;
    QString handoverDir_;
    QList<std::function<void()>> idleWork_;
    QTimer idleCheck_;
    QPointer<LumoraMDIChild> lastSearch_;
};
