// The MDI client: file, print and database commands.
#include "app/LumoraMDIClient.h"

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringDecoder>
#include <QTimer>

#include "app/AppContext.h"
#include "app/CommandTarget.h"
#include "app/Commands.h"
#include "app/LumoraMDIChild.h"
#include "app/RecentFiles.h"
#include "services/FileDialog.h"
#include "services/MessageBox.h"
#include "services/ModalRunner.h"

bool LumoraMDIClient::hasDiagramOpener() const {
    return static_cast<bool>(context_.windows().diagram);
}

bool LumoraMDIClient::hasSearchWindowFactory() const {
    return static_cast<bool>(context_.windows().searchWindow);
}

LumoraMDIClient::LumoraMDIClient(AppContext& context, QWidget* parent)
    : QMdiArea(parent), context_(context), handoverDir_(QDir::tempPath()) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QMdiArea::subWindowActivated, this, &LumoraMDIClient::childrenChanged);
    connect(this, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        auto* child = qobject_cast<LumoraMDIChild*>(window);
        if (child && child->kind() == LumoraMDIChild::Kind::SearchEngine) lastSearch_ = child;
    });
    setAcceptDrops(true);
    idleCheck_.setSingleShot(true);
    connect(&idleCheck_, &QTimer::timeout, this, &LumoraMDIClient::runIdleWork);
    viewport()->setAcceptDrops(true);

    const auto print = [this](int id) {
        return [this, id] {
            if (const CommandTable* t = activeChildCommands()) t->run(id);
        };
    };
    const auto childPrints = [this](int id) {
        return [this, id] {
            const CommandTable* t = activeChildCommands();
            return t && t->isEnabled(id);
        };
    };
    commands_
        .add(
            cmd::FileOpen, [this] { commandOpen(); }, [this] { return hasDiagramOpener(); })
        .add(
            cmd::FileClose,
            [this] {
                if (LumoraMDIChild* child = activeChild()) child->close();
            },
            [this] { return activeChild() != nullptr; })
        .add(cmd::FilePrint, print(cmd::FilePrint), childPrints(cmd::FilePrint))
        .add(cmd::FilePrintPreview, print(cmd::FilePrintPreview),
             childPrints(cmd::FilePrintPreview))
        .add(cmd::FilePrinterSetup, [this] { printerSetup(); })
        .add(
            cmd::SearchEngineOpen, [this] { openSearchWindow(); },
            [this] { return hasSearchWindowFactory(); })
        .add(
            cmd::SearchEngineClose,
            [this] {
                if (LumoraMDIChild* child = searchWindow()) child->close();
            },
            [this] { return searchWindow() != nullptr; });
    handoverCommands_
        .add(cmd::HandoverCtrlSpec, [this] { handover(QStringLiteral("CtrlSpec.txt"), false); })
        .add(cmd::HandoverNew, [this] { handover(QStringLiteral("lmx.tmp"), false); })
        .add(cmd::HandoverAdd, [this] { handover(QStringLiteral("lmx.tmp"), true); })
        .add(cmd::ResetSession, [] {});
}

const CommandTable* LumoraMDIClient::activeChildCommands() const {
    const LumoraMDIChild* child = activeChild();
    const CommandTarget* target = child ? child->target() : nullptr;
    return target ? &target->commands() : nullptr;
}

void LumoraMDIClient::commandOpen() {
    const FileDialog::Result result = context_.files().run(
        window(), context_.spectrumFilesRequest(false, QStringLiteral("Graphikdatei öffnen")));
    if (!result.accepted || result.files.isEmpty()) return;
    context_.lastDir = QFileInfo(result.files.front()).absolutePath();
    context_.lastFilterIndex = result.filterIndex;
    openDocument(result.files.front());
}

bool LumoraMDIClient::openDocument(const QString& path) {
    if (!hasDiagramOpener()) return false;
    QWidget* content = context_.windows().diagram(*this, path);
    if (!content) return false;
    addChild(static_cast<int>(LumoraMDIChild::Kind::Diagram), content);
    context_.recentFiles().add(path);
    return true;
}

namespace {

// The first line of a hand-over file. The folder is shared with every user, so only a
// regular file of our own is trusted, and only its first 4 KiB are read. The text is UTF-8
// when it is valid UTF-8, else Windows-1252.
QString handoverLine(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.isSymLink() || info.ownerId() != ::getuid()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = file.read(4096);
    const qsizetype end = bytes.indexOf('\n');
    if (end >= 0) bytes.truncate(end);
    while (bytes.endsWith('\r')) bytes.chop(1);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = QStringDecoder("windows-1252").decode(bytes);
    return text.trimmed();
}

}  // namespace

void LumoraMDIClient::handover(const QString& fileName, bool add) {
    const QString path = handoverLine(QDir(handoverDir_).filePath(fileName));
    if (path.isEmpty()) {
        context_.messages().show(window(),
                                 QStringLiteral("Datei existiert nicht oder der Pfadname hat "
                                                "sich geändert!"),
                                 701, MessageBox::Icon::Stop, MessageBox::Buttons::Ok);
        return;
    }
    openHandedOver(path, add);
}

bool LumoraMDIClient::openHandedOver(const QString& path, bool add) {
    CommandTarget* diagram = add ? activeDiagram() : nullptr;
    const bool opened = diagram ? diagram->addSpectrumFile(path) : openDocument(path);
    if (!opened) return false;
    const QString temporary = QDir(handoverDir_).filePath(QStringLiteral("lmxtmp.txt"));
    if (QFileInfo(path).absoluteFilePath() == temporary) {
        context_.recentFiles().remove(path);
        if (CommandTarget* active = activeDiagram())
            active->nameCurrentSpectrum(QStringLiteral("Spektrum"));
    }
    return true;
}

void LumoraMDIClient::dragEnterEvent(QDragEnterEvent* event) {
    if (hasDiagramOpener() && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void LumoraMDIClient::dropEvent(QDropEvent* event) {
    if (context_.busy > 0) return;
    openDropped(event->mimeData()->urls());
    event->acceptProposedAction();
}

void LumoraMDIClient::openDropped(const QList<QUrl>& urls) {
    for (const QUrl& url : urls)
        if (url.isLocalFile()) openDocument(url.toLocalFile());
}

void LumoraMDIClient::whenIdle(std::function<void()> work) {
    idleWork_.append(std::move(work));
    runIdleWork();
}

void LumoraMDIClient::runIdleWork() {
    while (!idleWork_.isEmpty()) {
        if (context_.busy > 0 || QApplication::activeModalWidget()) {
            // One check every 50 ms, however much work is waiting.
            idleCheck_.start(50);
            return;
        }
        const std::function<void()> work = idleWork_.takeFirst();
        work();
    }
}

// No child closes while a file is read or a run is under way: the run holds its lists.
bool LumoraMDIClient::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && context_.busy > 0 &&
        qobject_cast<LumoraMDIChild*>(watched)) {
        event->ignore();
        return true;
    }
    return QMdiArea::eventFilter(watched, event);
}

LumoraMDIChild* LumoraMDIClient::addChild(int kind, QWidget* content) {
    auto* child = new LumoraMDIChild(static_cast<LumoraMDIChild::Kind>(kind), content);
    addSubWindow(child);
    child->installEventFilter(this);
    connect(child, &QObject::destroyed, this, &LumoraMDIClient::childrenChanged,
            Qt::QueuedConnection);
    child->show();
    setActiveSubWindow(child);
    emit childrenChanged();
    return child;
}

void LumoraMDIClient::printerSetup() {
    QPrintDialog dialog(context_.printer(), window());
    dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
    context_.dialogs().run(dialog);
}

void LumoraMDIClient::openSearchWindow() {
    QWidget* content = context_.windows().searchWindow(*this);
    if (content) addChild(static_cast<int>(LumoraMDIChild::Kind::SearchEngine), content);
}

// The current child, also while one of the program's modeless dialogs has the focus (the
// area's active window is null then, which would disable every diagram command).
LumoraMDIChild* LumoraMDIClient::activeChild() const {
    return qobject_cast<LumoraMDIChild*>(currentSubWindow());
}

CommandTarget* LumoraMDIClient::activeDiagram() const {
    LumoraMDIChild* child = activeChild();
    return child && child->kind() == LumoraMDIChild::Kind::Diagram ? child->target() : nullptr;
}

CommandTarget* LumoraMDIClient::activeSearchWindow() const {
    LumoraMDIChild* child = activeChild();
    return child && child->kind() == LumoraMDIChild::Kind::SearchEngine ? child->target() : nullptr;
}

LumoraMDIChild* LumoraMDIClient::searchWindow() const {
    LumoraMDIChild* active = activeChild();
    if (active && active->kind() == LumoraMDIChild::Kind::SearchEngine) return active;
    // A closed window leaves the list at once but lives until its deletion.
    const QList<QMdiSubWindow*> children = subWindowList(QMdiArea::CreationOrder);
    if (lastSearch_ && children.contains(lastSearch_.data())) return lastSearch_;
    // None was active yet (or the last active one has gone): the newest one.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* child = qobject_cast<LumoraMDIChild*>(*it);
        if (child && child->kind() == LumoraMDIChild::Kind::SearchEngine) return child;
    }
    return nullptr;
}

int LumoraMDIClient::childCount() const {
    return static_cast<int>(subWindowList().size());
}

void LumoraMDIClient::tileSideBySide() {
    tile(Qt::Horizontal);
}

void LumoraMDIClient::tileStacked() {
    tile(Qt::Vertical);
}

// The visible, not minimised children share the area in equal slices along `direction`.
void LumoraMDIClient::tile(Qt::Orientation direction) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : subWindowList())
        if (!w->isMinimized() && w->isVisible()) windows.append(w);
    if (windows.isEmpty()) return;
    const QRect area = viewport()->rect();
    const int n = static_cast<int>(windows.size());
    const int length = direction == Qt::Horizontal ? area.width() : area.height();
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        const int from = length * i / n;
        const int to = length * (i + 1) / n;
        if (direction == Qt::Horizontal)
            windows[i]->setGeometry(from, 0, to - from, area.height());
        else
            windows[i]->setGeometry(0, from, area.width(), to - from);
    }
}

void LumoraMDIClient::arrangeIcons() {
    // Minimised children in a row along the bottom edge, left to right.
    const QRect area = viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (QMdiSubWindow* w : subWindowList()) {
        if (!w->isMinimized()) continue;
        const QSize size = w->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        w->move(x, y - size.height() + 1);
        x += size.width();
    }
}
