// Main frame: menus and toolbars from the menu table, command routing and states.
#include "app/LumoraDecMDIFrame.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>

#include "app/CommandTarget.h"
#include "app/Commands.h"
#include "app/LumoraApp.h"
#include "app/LumoraMDIClient.h"
#include "app/MenuTable.h"
#include "app/RecentFiles.h"
#include "app/ToolbarIcons.h"

namespace {

// The toolbars: the main control bar first (command 171 shows and hides it), then six more,
// grouped like the menus.
struct ToolbarEntry {
    const char* name;
    const char* title;
    std::vector<int> commands;
};

const std::vector<ToolbarEntry>& toolbarTable() {
    static const std::vector<ToolbarEntry> table = {
        {"MainToolbar",
         "Symbolleiste",
         {cmd::FileOpen, cmd::FileSaveAs, cmd::FilePrint, cmd::FileExport, cmd::Undo, cmd::Redo,
          cmd::HelpContents}},
        {"FileToolbar",
         "Dateien",
         {cmd::FileOverlay, cmd::FileCloseOverlay, cmd::FileCloseAllOverlays,
          cmd::FileInformation}},
        {"EditToolbar",
         "Bearbeiten",
         {cmd::Redraw, cmd::DisplayRange, cmd::Scaling, cmd::Smoothing, cmd::SpectrumArithmetic,
          cmd::CopyToClipboard}},
        {"ScaleToolbar",
         "Skalierung",
         {cmd::Zoom, cmd::AutoscaleXY, cmd::AutoscaleX, cmd::AutoscaleY, cmd::InvertX}},
        {"IdentificationToolbar",
         "Identifizierung",
         {cmd::OpenIdentification, cmd::IdentifySpectrum, cmd::ShowDatabaseLines,
          cmd::AllLinesInfo}},
        {"LinesToolbar", "Linien", {cmd::AddLine, cmd::DeleteLine, cmd::DeleteAllLines}},
        {"DatabaseToolbar",
         "Datenbank und Anzeige",
         {cmd::SearchEngineOpen, cmd::SearchEngineClose, cmd::Reticle, cmd::Legend,
          cmd::HorizontalGrid, cmd::VerticalGrid}},
    };
    return table;
}

}  // namespace

LumoraDecMDIFrame::LumoraDecMDIFrame(LumoraApp& app, LumoraMDIClient* client, QWidget* parent)
    : QMainWindow(parent), app_(app), client_(client) {
    setCentralWidget(client_);
    client_->setBackground(palette().brush(QPalette::Dark));
    connect(client_, &LumoraMDIClient::childrenChanged, this,
            &LumoraDecMDIFrame::updateCommandStates);
    const auto hasChildren = [this] { return client_->childCount() > 0; };
    commands_.add(cmd::Exit, [this] { close(); })
        .add(
            cmd::ShowStatusBar, [this] { statusBar()->setVisible(statusBar()->isHidden()); }, {},
            [this] { return !statusBar()->isHidden(); })
        .add(
            cmd::Cascade, [this] { client_->cascadeSubWindows(); }, hasChildren)
        .add(
            cmd::TileSideBySide, [this] { client_->tileSideBySide(); }, hasChildren)
        .add(
            cmd::TileStacked, [this] { client_->tileStacked(); }, hasChildren)
        .add(
            cmd::ArrangeIcons, [this] { client_->arrangeIcons(); }, hasChildren)
        .add(
            cmd::CloseAll, [this] { client_->closeAllSubWindows(); }, hasChildren);
}

LumoraDecMDIFrame::~LumoraDecMDIFrame() {
    // Closing the children while the base class tears the window down activates other
    // children; by then this object's tables are gone, so nobody may ask for states.
    disconnect(client_, nullptr, this, nullptr);
    if (mainToolbar()) disconnect(mainToolbar(), nullptr, this, nullptr);
    disconnect(recentConnection_);
}

void LumoraDecMDIFrame::buildCommandBars() {
    buildMenus();
    buildToolbars();
    statusBar()->showMessage(QString());
    auto* readout = new QLabel(statusBar());
    readout->setObjectName(QStringLiteral("readout"));
    statusBar()->addPermanentWidget(readout);
    app_.context().setReadoutSink([readout = QPointer<QLabel>(readout)](const QString& text) {
        if (readout) readout->setText(text);
    });
    recentConnection_ = connect(&app_.context().recentFiles(), &RecentFiles::changed, this,
                                &LumoraDecMDIFrame::rebuildRecentFiles);
    rebuildRecentFiles();
    updateCommandStates();
}

QAction* LumoraDecMDIFrame::makeAction(const MenuItemEntry& entry) {
    QString text = QString::fromUtf8(entry.text);
    auto* action = new QAction(this);
    if (entry.shortcutLabelOnly) {
        // Only the label: the window system closes the frame on this key itself.
        text += QLatin1Char('\t') + QString::fromUtf8(entry.shortcut);
    } else if (*entry.shortcut) {
        action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
    }
    action->setText(text);
    action->setStatusTip(QString::fromUtf8(entry.hint));
    action->setCheckable(entry.checkable);
    action->setIcon(toolbarIcon(entry.id));
    action->setIconVisibleInMenu(false);
    action->setData(entry.id);
    const int id = entry.id;
    connect(action, &QAction::triggered, this, [this, id] { dispatch(id); });
    actions_.insert(id, action);
    routes_.insert(id, static_cast<int>(entry.route));
    addAction(action);  // shortcuts work while the menus are closed
    return action;
}

void LumoraDecMDIFrame::buildMenus() {
    for (const MenuEntry& menuEntry : menuBarTable()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(menuEntry.title));
        connect(menu, &QMenu::aboutToShow, this, &LumoraDecMDIFrame::updateCommandStates);
        for (const MenuItemEntry& item : menuEntry.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            if (item.id == cmd::Exit) recentSeparator_ = menu->addSeparator();
            menu->addAction(makeAction(item));
        }
        if (!fileMenu_) fileMenu_ = menu;
    }
    for (const MenuItemEntry& item : extraCommandTable()) makeAction(item);
}

void LumoraDecMDIFrame::buildToolbars() {
    int index = 0;
    for (const ToolbarEntry& entry : toolbarTable()) {
        // Two rows: files and editing above, scaling, lines and database below.
        if (index++ == 3) addToolBarBreak();
        QToolBar* bar = addToolBar(QString::fromUtf8(entry.title));
        bar->setObjectName(QString::fromLatin1(entry.name));
        bar->setIconSize(QSize(22, 22));
        bar->setMovable(true);
        bar->setFloatable(true);
        for (int id : entry.commands)
            if (QAction* a = action(id)) bar->addAction(a);
        toolbars_.append(bar);
    }
    // The main bar's check mark follows it also when the user closes it from its context menu.
    connect(mainToolbar(), &QToolBar::visibilityChanged, this,
            &LumoraDecMDIFrame::updateCommandStates);
}

void LumoraDecMDIFrame::rebuildRecentFiles() {
    if (!fileMenu_) return;
    for (QAction* a : recentActions_) {
        fileMenu_->removeAction(a);
        delete a;
    }
    recentActions_.clear();
    const QStringList& entries = app_.context().recentFiles().entries();
    QAction* before = recentSeparator_;
    for (int i = 0; i < entries.size(); ++i) {
        const QString path = entries[i];
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        auto* a = new QAction(number + QLatin1Char(' ') + shown, this);
        a->setStatusTip(QDir::toNativeSeparators(path));
        a->setEnabled(client_->hasDiagramOpener());
        // Queued: opening rebuilds this list, which deletes the triggered action.
        connect(a, &QAction::triggered, this, [this, path] {
            QMetaObject::invokeMethod(
                this, [this, path] { app_.openRecentFile(path); }, Qt::QueuedConnection);
        });
        fileMenu_->insertAction(before, a);
        recentActions_.append(a);
    }
    if (!entries.isEmpty()) {
        // One separator between the list and "Beenden", one above the list.
        QAction* top = new QAction(this);
        top->setSeparator(true);
        fileMenu_->insertAction(recentActions_.front(), top);
        recentActions_.prepend(top);
    }
}

const CommandTable* LumoraDecMDIFrame::commandTable(int id) const {
    // While a file is read or a library run pumps events the frame takes no command: the run
    // owns the diagram's lists, and the library is never entered twice.
    if (app_.context().busy > 0) return nullptr;
    switch (static_cast<CommandRoute>(routes_.value(id, -1))) {
        case CommandRoute::App:
            return &app_.commands();
        case CommandRoute::Client:
            return &client_->commands();
        case CommandRoute::Frame:
            return &commands_;
        case CommandRoute::Diagram:
            if (const CommandTarget* t = client_->activeDiagram()) return &t->commands();
            return nullptr;
        case CommandRoute::SearchWindow:
            if (const CommandTarget* t = client_->activeSearchWindow()) return &t->commands();
            return nullptr;
    }
    return nullptr;
}

void LumoraDecMDIFrame::updateCommandStates() {
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        QAction* a = it.value();
        const CommandTable* table = commandTable(it.key());
        a->setEnabled(table && table->isEnabled(it.key()));
        if (a->isCheckable()) a->setChecked(table && table->isChecked(it.key()));
    }
    const bool canOpen = client_->hasDiagramOpener() && app_.context().busy == 0;
    for (QAction* a : recentActions_)
        if (!a->isSeparator()) a->setEnabled(canOpen);
}

void LumoraDecMDIFrame::dispatch(int id) {
    if (const CommandTable* table = commandTable(id)) table->run(id);
    updateCommandStates();
}

QByteArray LumoraDecMDIFrame::remoteCommand(int id) {
    updateCommandStates();
    const CommandTable* table = commandTable(id);
    // The hand-over commands have no menu item; the client answers them.
    if (!table && client_->handoverCommands().contains(id)) table = &client_->handoverCommands();
    if (!table || !table->contains(id)) return action(id) ? "disabled" : "unknown";
    if (!table->run(id)) return "disabled";
    updateCommandStates();
    return "ok";
}

void LumoraDecMDIFrame::closeEvent(QCloseEvent* event) {
    if (app_.context().busy > 0) {
        event->ignore();  // a run under way ends first
        return;
    }
    if (app_.isQuitRequested() || app_.queryClose())
        event->accept();
    else
        event->ignore();
}

void LumoraDecMDIFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (CommandTarget* t = client_->activeDiagram()) t->frameEvent(event);
}

void LumoraDecMDIFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        if (CommandTarget* t = client_->activeDiagram()) t->frameEvent(event);
}
