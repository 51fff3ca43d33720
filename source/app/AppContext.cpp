// The application context: services, settings, session state and the printer.
#include "app/AppContext.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "app/RecentFiles.h"
#include "lumio/Ui.h"
#include "services/ModalRunner.h"
#include "services/QtFileDialog.h"
#include "services/QtLumioUi.h"
#include "services/QtMessageBox.h"
#include "services/QtRunHost.h"
#include "services/StringTable.h"

AppContext::AppContext(Services services, Windows windows)
    : messages_(services.messages),
      files_(services.files),
      dialogs_(services.dialogs),
      windows_(std::move(windows)) {
    if (!messages_) {
        ownMessages_ = std::make_unique<QtMessageBox>();
        messages_ = ownMessages_.get();
    }
    if (!files_) {
        ownFiles_ = std::make_unique<QtFileDialog>();
        files_ = ownFiles_.get();
    }
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<ModalRunner>();
        dialogs_ = ownDialogs_.get();
    }
    recentFiles_ = std::make_unique<RecentFiles>(profile_);
}

AppContext::~AppContext() = default;

std::unique_ptr<lumdb::RunHost> AppContext::makeRunHost(QWidget* owner) const {
    if (runHostFactory_) return runHostFactory_(owner);
    return std::make_unique<QtRunHost>(owner, *messages_);
}

void AppContext::setSettingsFile(const QString& path) {
    profile_.setPath(path);
    recentFiles_->load();
}

QPrinter* AppContext::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return printer_.get();
}

void AppContext::refreshDefaultPrinter() {
    if (!printer_) return;  // a printer made later starts with the default anyway
    const QString name = QPrinterInfo::defaultPrinterName();
    if (!name.isEmpty() && name != printer_->printerName()) printer_->setPrinterName(name);
}

std::unique_ptr<lumio::Ui> AppContext::makeLumioUi(QWidget* owner) const {
    if (lumioUiFactory_) return lumioUiFactory_(owner);
    return std::make_unique<QtLumioUi>(owner, *messages_, *dialogs_, [this] {
        if (showHelp) showHelp();
    });
}

FileDialog::Request AppContext::spectrumFilesRequest(bool many, const QString& caption) const {
    FileDialog::Request request;
    request.mode = many ? FileDialog::Request::Mode::OpenMany : FileDialog::Request::Mode::Open;
    request.caption = caption;
    request.directory = lastDir;
    request.filter = openFilter;
    request.filterIndex = lastFilterIndex;
    return request;
}

QString AppContext::chooseConfigurationFile(QWidget* parent, bool save) {
    FileDialog::Request request;
    if (save) {
        request.mode = FileDialog::Request::Mode::Save;
        request.defaultSuffix = QStringLiteral("lmc");
    }
    request.caption =
        save ? QStringLiteral("Konfiguration speichern") : QStringLiteral("Konfiguration laden");
    request.directory = lastConfigDir;
    request.filter = QStringLiteral("Lumora Konfiguration  (*.lmc)|*.lmc");
    const FileDialog::Result chosen = files().run(parent, request);
    if (!chosen.accepted || chosen.files.isEmpty()) return {};
    lastConfigDir = QFileInfo(chosen.files.front()).absolutePath();
    return chosen.files.front();
}

namespace {
const QString kDirectoriesSection = QStringLiteral("Directories and Files");
const QString kExportDirKey = QStringLiteral("ExpDir");
}  // namespace

QString AppContext::exportDir() const {
    const QString stored = profile_.getString(kDirectoriesSection, kExportDirKey, {});
    if (!stored.isEmpty() && QFileInfo(stored).isDir()) return stored;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void AppContext::setExportDirOf(const QString& path) {
    profile_.writeString(kDirectoriesSection, kExportDirKey, QFileInfo(path).absolutePath());
}

QString AppContext::chooseReportFile(QWidget* parent, const QString& caption) {
    FileDialog::Request request;
    request.mode = FileDialog::Request::Mode::Save;
    request.caption = caption;
    request.filter = QStringLiteral("Text (*.txt)|*.txt|Rich Text (*.rtf)|*.rtf");
    request.directory = exportDir();
    const FileDialog::Result chosen = files().run(parent, request);
    if (!chosen.accepted || chosen.files.isEmpty()) return {};
    QString path = chosen.files.front();
    if (QFileInfo(path).suffix().isEmpty()) path += chosen.filterIndex == 2 ? ".rtf" : ".txt";
    setExportDirOf(path);
    return path;
}

void AppContext::reportUnwritable(QWidget* parent, const QString& path) const {
    messages().show(parent,
                    QStringLiteral("Die Datei %1 kann nicht geschrieben werden.")
                        .arg(QDir::toNativeSeparators(path)),
                    strings::FileError, MessageBox::Icon::Stop, MessageBox::Buttons::Ok);
}
