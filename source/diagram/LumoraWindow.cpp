#include "diagram/LumoraWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <utility>

#include "app/AppContext.h"
#include "app/Commands.h"
#include "app/LumoraMDIClient.h"
#include "app/RecentFiles.h"
#include "lumcore/Printf.h"
#include "lumgl/PlotError.h"
#include "lumgl_qt/QtCanvas.h"
#include "lumio/Outcome.h"
#include "lumio/Writers.h"
#include "lumio/lumio.h"
#include "services/FileDialog.h"
#include "services/MessageBox.h"
#include "services/StringTable.h"
#include "services/WaitCursor.h"

namespace {

constexpr int kMaxSpectra = static_cast<int>(OverlayTable::kMax);

// The message for a reader's failure keyword; empty for a choice the user cancelled.
QString failureText(const std::string& keyword) {
    if (keyword == lumio::keyword::NoFile)
        return QStringLiteral("Datei existiert nicht oder der Pfadname hat sich geändert!");
    if (keyword == lumio::keyword::NullFile)
        return QStringLiteral("In der Datei befinden sich keine Daten!");
    if (keyword == lumio::keyword::UnknownFormat)
        return QStringLiteral("Die Datei hat ein unbekannntes Format!");
    if (keyword == lumio::keyword::DataNumberOverflow)
        return QStringLiteral("Die Datenanzahl ist zu groß!");
    if (keyword == lumio::keyword::CancelOpenFile) return {};
    return QStringLiteral("Fehler beim Öffnen der Datei!");
}

QString fullDiagramText(const char* second) {
    return QString::fromStdString(lumcore::strprintf(
        "Es können maximal %d Dateien überlagert werden.\n%s", kMaxSpectra, second));
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The extensions of the save filter's entry `index` (1-based): "*.txt;*.asc" gives both.
QStringList saveExtensions(int index) {
    const QStringList parts = QString::fromStdString(GetFilterString("save", 1)).split('|');
    const qsizetype at = 2 * qsizetype(index - 1) + 1;
    if (index < 1 || at >= parts.size()) return {};
    QStringList extensions;
    for (const QString& pattern : parts[at].split(';')) extensions << pattern.mid(1);
    return extensions;
}

}  // namespace

LumoraWindow::LumoraWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(64, 48);
    setMaximumSize(32000, 32000);
    setAcceptDrops(true);
    document_.identificationElements = context.searchElements;
    document_.databaseElements = context.searchElements;
    // The settings file is read once for the window: its view now, the analysis settings
    // when the first spectrum arrives right after.
    setupSettings_ = context.profile().read();
    document_.applyViewSettings(*setupSettings_);
    declareCommands();
}

void LumoraWindow::setModelessDialog(Modeless kind, QWidget* dialog) {
    modeless_[static_cast<std::size_t>(kind)] = dialog;
}

QWidget* LumoraWindow::modelessDialog(Modeless kind) const {
    return modeless_[static_cast<std::size_t>(kind)];
}

std::vector<QWidget*> LumoraWindow::modelessDialogs() const {
    std::vector<QWidget*> open;
    for (const QPointer<QWidget>& dialog : modeless_)
        if (dialog) open.push_back(dialog);
    return open;
}

void LumoraWindow::setModelessDialogsEnabled(bool enabled) {
    for (const QPointer<QWidget>& dialog : modeless_)
        if (dialog) dialog->setEnabled(enabled);
}

// Minimising the frame of the last diagram still shown hides the dialogs that belong to it.
bool LumoraWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (watched == frame && event->type() == QEvent::WindowStateChange && frame->isMinimized()) {
        bool otherShown = false;
        if (QMdiArea* area = frame->mdiArea())
            for (QMdiSubWindow* w : area->subWindowList())
                otherShown |=
                    w != frame && !w->isMinimized() && qobject_cast<LumoraWindow*>(w->widget());
        if (!otherShown)
            for (const QPointer<QWidget>& dialog : modeless_)
                if (dialog) dialog->hide();
        emit commandStatesChanged();
    }
    return QWidget::eventFilter(watched, event);
}

void LumoraWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void LumoraWindow::dropEvent(QDropEvent* event) {
    if (context_.busy > 0) return;
    overlayDropped(event->mimeData()->urls());
    event->acceptProposedAction();
}

void LumoraWindow::overlayDropped(const QList<QUrl>& urls) {
    for (const QUrl& url : urls)
        if (!url.isLocalFile() || !addSpectrumFile(url.toLocalFile())) break;
}

QWidget* LumoraWindow::open(LumoraMDIClient& client, const QString& path) {
    auto* window = new LumoraWindow(client.context());
    window->messageOwner_ = client.window();
    if (!window->addSpectrumFile(path)) {
        delete window;
        return nullptr;
    }
    window->messageOwner_ = window;
    connect(window, &LumoraWindow::commandStatesChanged, &client,
            &LumoraMDIClient::childrenChanged);
    // The frame arrives when the client takes the window in; its state changes are watched
    // from then on. Then the first spectrum is shown whole.
    QTimer::singleShot(0, window, [window] {
        if (QWidget* frame = window->parentWidget()) frame->installEventFilter(window);
        window->initialAutoscale();
    });
    return window;
}

void LumoraWindow::declareCommands() {
    const auto enabled = [this](int id) {
        return [this, id] { return !minimised() && document_.isEnabled(id); };
    };
    const auto checked = [this](int id) { return [this, id] { return document_.isChecked(id); }; };
    const auto add = [&](int id, CommandTable::Run run) {
        commands_.add(id, std::move(run), enabled(id), checked(id));
    };
    add(cmd::FileOverlay, [this] { overlayFiles(); });
    add(cmd::FileCloseOverlay, [this] {
        document_.closeCurrent();
        changed();
    });
    add(cmd::FileCloseAllOverlays, [this] {
        document_.closeOverlays();
        changed();
    });
    add(cmd::FileInformation, [this] { fileInformation(); });
    add(cmd::FileSaveAs, [this] { saveAs(); });
    add(cmd::Undo, [this] {
        if (!document_.undo()) return;
        changed();
        emit rangeChanged();
    });
    add(cmd::Redo, [this] {
        if (!document_.redo()) return;
        changed();
        emit rangeChanged();
    });
    add(cmd::Redraw, [this] { redraw(); });
    // The view toggles; the settings file remembers each for the diagrams opened later.
    for (int id :
         {cmd::BlackAndWhite, cmd::HorizontalGrid, cmd::VerticalGrid, cmd::LogX, cmd::LogY})
        add(id, [this, id] {
            const DiagramDocument::ViewToggle t = document_.toggleView(id);
            if (t.key) context_.profile().writeInt(t.section, t.key, t.on ? 1 : 0);
            changed();
        });
    declareRangeCommands();
    declareDialogCommands();
    declareLinesCommands();
    declareReticleCommands();
    declareLineInfoCommands();
    declareOutputCommands();
    declareXAxisCommands();
    declareAnalysisCommands();
}

bool LumoraWindow::minimised() const {
    const auto* frame = qobject_cast<const QMdiSubWindow*>(parentWidget());
    return frame && frame->isMinimized();
}

std::string LumoraWindow::currentBaseName() const {
    const OverlayTable& table = document_.overlays();
    return table.empty() ? std::string() : baseName(table.currentRecord().fileName);
}

QString LumoraWindow::caption() const {
    const OverlayTable& table = document_.overlays();
    return table.empty() ? QString() : QString::fromStdString(table.currentRecord().fileName);
}

void LumoraWindow::changed() {
    setWindowTitle(caption());
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->setWindowTitle(caption());
    redraw();
    emit commandStatesChanged();
}

void LumoraWindow::redraw() {
    backingStale_ = true;
    update();
}

bool LumoraWindow::addSpectrumFile(const QString& path) {
    MessageBox& messages = context_.messages();
    if (document_.overlays().full()) {
        messages.show(
            messageOwner_, fullDiagramText("Es können keine weiteren Dateien geöffnet werden."),
            strings::ProductName, MessageBox::Icon::Exclamation, MessageBox::Buttons::Ok, true);
        return false;
    }
    QString failure;
    setModelessDialogsEnabled(false);
    struct Enable {
        LumoraWindow* window;
        ~Enable() { window->setModelessDialogsEnabled(true); }
    } enableAgain{this};
    try {
        const AppContext::BusyScope busy(context_);
        const WaitCursor wait;
        const std::unique_ptr<lumio::Ui> ui = context_.makeLumioUi(messageOwner_);
        DiagramDocument::AddSteps steps;
        steps.loadSettings = [this](DiagramDocument& d) { loadSettings(d); };
        steps.xFormat = xFormatStep_;
        const bool first = document_.overlays().empty();
        context_.lastFilterIndex =
            document_.addSpectrum(path.toStdString(), *ui, context_.lastFilterIndex, steps);
        if (first) emit analysisSettingsChanged();
    } catch (const lumio::Outcome& outcome) {
        failure = failureText(outcome.keyword());
        if (failure.isEmpty()) return false;
    } catch (const std::exception&) {
        failure = failureText({});
    }
    if (!failure.isEmpty()) {
        messages.show(messageOwner_, failure, strings::FileError, MessageBox::Icon::Stop,
                      MessageBox::Buttons::Ok);
        return false;
    }
    context_.recentFiles().add(path);
    changed();
    return true;
}

bool LumoraWindow::setCurrentSpectrum(std::size_t position) {
    // A run finishes on the spectrum it started with.
    if (running_ || !document_.setCurrent(position)) return false;
    changed();
    return true;
}

// The range a new diagram starts with: the first spectrum whole, with room for the labels of
// its lines when it brought some. Part of opening, so not an undoable change.
void LumoraWindow::initialAutoscale() {
    if (!document_.autoscale(true, true)) return;
    const int error = raiseForLabels();
    changed();
    emit rangeChanged();
    if (error) reportPlotError(error);
}

void LumoraWindow::applyDisplayRange(const std::array<float, 4>& range) {
    document_.changeRange(range);
    changed();
    emit rangeChanged();
}

void LumoraWindow::nameCurrentSpectrum(const QString& word) {
    OverlayTable& table = document_.overlays();
    if (table.empty()) return;
    table.currentRecord().fileName =
        QStringLiteral("%1 %2").arg(word).arg(table.current() + 1).toStdString();
    changed();
}

void LumoraWindow::loadSettings(DiagramDocument& document) {
    document.loadSettings(setupSettings_ ? *setupSettings_ : context_.profile().read(), true);
    setupSettings_.reset();
}

bool LumoraWindow::loadConfiguration(SettingsPart part) {
    const QString path = context_.chooseConfigurationFile(this, false);
    if (path.isEmpty()) return false;
    const WaitCursor wait;
    document_.loadSettings(lumcore::IniFile::load(path.toStdString()), false, part);
    emit analysisSettingsChanged();
    changed();
    return true;
}

bool LumoraWindow::saveConfigurationAs(SettingsPart part,
                                       const std::function<void(DiagramDocument&)>& dialogValues) {
    const QString path = context_.chooseConfigurationFile(this, true);
    if (path.isEmpty()) return false;
    document_.configurationPath = path.toStdString();
    if (!dialogValues) return saveSettings(part);
    const lumdb::AnalysisSettings analysis = document_.analysis;
    const SSearchEngineVal database = document_.database;
    dialogValues(document_);
    const bool saved = saveSettings(part);
    document_.analysis = analysis;
    document_.database = database;
    return saved;
}

bool LumoraWindow::saveSettings(SettingsPart part, bool toSettingsFile) {
    const bool settingsFile = toSettingsFile || document_.configurationPath.empty();
    const QString path = settingsFile ? context_.profile().path()
                                      : QString::fromStdString(document_.configurationPath);
    // Read first, so that whatever else the file holds stays; then replaced as a whole.
    lumcore::IniFile ini =
        settingsFile ? context_.profile().read() : lumcore::IniFile::load(path.toStdString());
    document_.saveSettings(ini, settingsFile, part);
    const bool written =
        settingsFile ? context_.profile().write(ini) : ini.save(path.toStdString());
    if (!written)
        context_.messages().show(
            this, path + QStringLiteral("\n\nDie Datei konnte nicht geschrieben werden."),
            strings::FileError, MessageBox::Icon::Stop, MessageBox::Buttons::Ok);
    return written;
}

void LumoraWindow::overlayFiles() {
    MessageBox& messages = context_.messages();
    const OverlayTable& table = document_.overlays();
    if (table.full()) {
        messages.show(this, fullDiagramText("Es können keine weiteren Dateien geöffnet werden."),
                      strings::ProductName, MessageBox::Icon::Exclamation, MessageBox::Buttons::Ok,
                      true);
        return;
    }
    const FileDialog::Result chosen = context_.files().run(
        this, context_.spectrumFilesRequest(true, QStringLiteral("Datei öffnen")));
    if (!chosen.accepted || chosen.files.isEmpty()) return;
    context_.lastDir = QFileInfo(chosen.files.front()).absolutePath();
    const qsizetype room = qsizetype(OverlayTable::kMax - table.count());
    if (chosen.files.size() > room)
        messages.show(this, fullDiagramText("Nicht alle ausgewählten Dateien werden geöffnet."),
                      strings::ProductName, MessageBox::Icon::Exclamation, MessageBox::Buttons::Ok,
                      true);
    for (const QString& path : chosen.files.mid(0, room))
        if (!addSpectrumFile(path)) break;
    changed();
}

void LumoraWindow::fileInformation() {
    std::string text;
    const OverlayTable& table = document_.overlays();
    for (std::size_t p = 0; p < table.count(); ++p) {
        const SpectrumRecord& r = table.record(p);
        if (p > 0) text += "\n";
        text += "Datei:                " + baseName(r.fileName);
        if (!r.plotInfo.title.empty()) text += "\nTitel:         " + r.plotInfo.title;
        text += lumcore::strprintf("\nWellenlänge:    %g  -  %g", double(r.plotInfo.xMin),
                                   double(r.plotInfo.xMax));
        text += lumcore::strprintf("\nIntensität:         %g  -  %g", double(r.plotInfo.yMin),
                                   double(r.plotInfo.yMax));
        text += lumcore::strprintf("\nDatenpunkte:   %u\n", unsigned(r.points.size()));
    }
    context_.messages().show(this, QString::fromStdString(text), strings::FileInformation,
                             MessageBox::Icon::Information, MessageBox::Buttons::Ok);
}

void LumoraWindow::saveAs() {
    if (document_.overlays().empty()) return;
    SpectrumRecord& current = document_.overlays().currentRecord();
    FileDialog::Request request;
    request.mode = FileDialog::Request::Mode::Save;
    request.caption = QStringLiteral("Speichern unter");
    request.directory = context_.lastDir;
    request.fileName = QString::fromStdString(current.fileName);
    request.filter = QString::fromStdString(GetFilterString("save", 1));
    request.confirmOverwrite = false;
    const FileDialog::Result chosen = context_.files().run(this, request);
    if (!chosen.accepted || chosen.files.isEmpty()) return;
    const int type = chosen.filterIndex;
    const QStringList extensions = saveExtensions(type);
    if (extensions.isEmpty()) return;
    // The name gets its type's extension first, so the question is about the file that will
    // actually be replaced.
    QString path = chosen.files.front();
    const bool hasExtension =
        std::any_of(extensions.begin(), extensions.end(),
                    [&](const QString& e) { return path.endsWith(e, Qt::CaseInsensitive); });
    if (!hasExtension) path += extensions.front();
    if (QFileInfo::exists(path) &&
        context_.messages().show(
            this, path + QStringLiteral(" existiert bereits.\nSoll die Datei ersetzt werden?"),
            QStringLiteral("Speichern unter"), MessageBox::Icon::Exclamation,
            MessageBox::Buttons::YesNo) != MessageBox::Answer::Yes)
        return;
    // The spectrum is written under the chosen name (its points are not copied for it) and
    // keeps that name only when it was saved as a native file and the save succeeded.
    std::string name = std::exchange(current.fileName, path.toStdString());
    const std::unique_ptr<lumio::Ui> ui = context_.makeLumioUi(this);
    const bool renamed = WriteFileData(*ui, current, type) == lumio::WriteResult::Done && type == 1;
    if (!renamed) {
        current.fileName = std::move(name);
        return;
    }
    changed();
}

void LumoraWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    document_.plot().plotRect = SDeviceRect{0, 0, width(), height()};
}

void LumoraWindow::paintEvent(QPaintEvent* event) {
    if (backingStale_ || backing_.size() != size()) drawDiagramImage();
    QPainter painter(this);
    for (const QRect& r : event->region()) painter.drawImage(r.topLeft(), backing_, r);
    drawAddLineMarker(painter);
}

// The whole diagram into the cached image, the reticle anew over it.
void LumoraWindow::drawDiagramImage() {
    backingStale_ = false;
    imageDrawn_ = false;
    reticleOnImage_ = false;  // the saved pixels belong to the drawing being replaced
    if (backing_.size() != size()) backing_ = QImage(size(), QImage::Format_RGB32);
    backing_.fill(Qt::white);
    int failure = 0;
    if (!document_.overlays().empty()) {
        QPainter painter(&backing_);
        lumgl::QtCanvas canvas(painter, SDeviceRect{0, 0, width(), height()}, &backing_, true);
        try {
            laidOut_ = painter_.paint(canvas, document_);
            imageDrawn_ = true;
            failure = drawReticleAnew(canvas);
        } catch (const lumgl::PlotError& error) {
            failure = error.code();
        }
    }
    placeReticleLabel();
    if (failure)
        notePlotError(failure);
    else
        reportedError_ = 0;
}

// A drawing error is told once, after the paint or move that met it has ended.
void LumoraWindow::notePlotError(int code) {
    if (code == reportedError_) return;
    reportedError_ = code;
    QTimer::singleShot(0, this, [this, code] { reportPlotError(code); });
}

// A logarithmic axis over limits that cannot be drawn goes back to linear (and is
// remembered so) before the user is told; the diagram is then drawn linear.
void LumoraWindow::reportPlotError(int code) {
    const int axis = code == lumgl::kErrorLogXLimits   ? cmd::LogX
                     : code == lumgl::kErrorLogYLimits ? cmd::LogY
                                                       : 0;
    if (axis && document_.isChecked(axis)) {
        const DiagramDocument::ViewToggle t = document_.toggleView(axis);
        context_.profile().writeInt(t.section, t.key, 0);
    }
    context_.messages().show(this, QString::fromStdString(lumgl::PlotErrorText(code)),
                             strings::GraphicsError, MessageBox::Icon::Exclamation,
                             MessageBox::Buttons::Ok);
    if (axis) changed();
}
