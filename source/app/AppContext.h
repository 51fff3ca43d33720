// What every window of the program is handed instead of reaching for a global: the services
// through which it asks the user, the settings file and the recent files, the folders and
// filter of this session, the element list of the database search, the printer and how a
// library run gets its host. The application object owns the one context; tests build it
// with scripted services.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "app/Profile.h"
#include "lumdb/Records.h"
#include "services/FileDialog.h"

class MessageBox;
class LumoraMDIClient;
class ModalRunner;
class QPrinter;
class QWidget;
class RecentFiles;
namespace lumdb {
class RunHost;
}
namespace lumio {
class Ui;
}

class AppContext {
  public:
    // How the program asks the user. A service left null is the Qt implementation.
    struct Services {
        MessageBox* messages = nullptr;
        FileDialog* files = nullptr;
        ModalRunner* dialogs = nullptr;
    };
    using RunHostFactory = std::function<std::unique_ptr<lumdb::RunHost>(QWidget* owner)>;

    // How the MDI client makes its windows, installed by the windows' code (the program's
    // main, or a test): a diagram for one spectrum file (null when the file could not be
    // opened; the opener has told the user why), and the database search window. Either may
    // be empty; its commands are then disabled.
    using DiagramOpener = std::function<QWidget*(LumoraMDIClient& client, const QString& path)>;
    using SearchWindowFactory = std::function<QWidget*(LumoraMDIClient& client)>;
    struct Windows {
        DiagramOpener diagram;
        SearchWindowFactory searchWindow;
    };
    using LumioUiFactory = std::function<std::unique_ptr<lumio::Ui>(QWidget* owner)>;

    // The database search defaults of the "Search Engine" section.
    struct SearchEngineSettings {
        bool neutrals = false;
        bool firstIons = false;
        bool higherIons = false;
        double lowerWavelength = 100.0;
        double upperWavelength = 1000.0;
        double lowerIntensity = 0.0;
        double upperIntensity = 10000.0;
        int intensityOption = 0;
        int sortOption = 0;
    };

    explicit AppContext(Services services, Windows windows = {});
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    MessageBox& messages() const { return *messages_; }
    const Windows& windows() const { return windows_; }
    FileDialog& files() const { return *files_; }
    ModalRunner& dialogs() const { return *dialogs_; }

    // A run host for a library run started from `owner` (may be null): the Qt run host with
    // the status dialog, unless a factory was set.
    std::unique_ptr<lumdb::RunHost> makeRunHost(QWidget* owner) const;
    void setRunHostFactory(RunHostFactory factory) { runHostFactory_ = std::move(factory); }
    // The request of a dialog that opens spectrum files: this session's folder, the format
    // filter and its last entry.
    FileDialog::Request spectrumFilesRequest(bool many, const QString& caption) const;

    // How the file library asks the user while a spectrum is read or written from `owner`:
    // the reader dialogs and message boxes through this context's services, unless a
    // factory was set.
    std::unique_ptr<lumio::Ui> makeLumioUi(QWidget* owner) const;
    void setLumioUiFactory(LumioUiFactory factory) { lumioUiFactory_ = std::move(factory); }
    // What "Hilfe" in a dialog does: the application shows the manual.
    std::function<void()> showHelp;
    // The status bar's permanent read-out (the reticle's values, the add-line marker), which
    // command hints do not overwrite; empty text clears it. The frame installs where it
    // goes; without a frame it goes nowhere.
    void showReadout(const QString& text) const {
        if (readout_) readout_(text);
    }
    void setReadoutSink(std::function<void(const QString&)> sink) { readout_ = std::move(sink); }

    // Asks for a configuration file (".lmc") to load or, with `save`, to save, starting in
    // and remembering lastConfigDir; empty when the user cancels.
    QString chooseConfigurationFile(QWidget* parent, bool save);
    // Asks where to save a report as text or RTF, starting in the export folder ("ExpDir";
    // the documents folder while none is stored or it is gone) and storing the chosen one; a
    // name without extension takes the chosen filter's. Empty when the user cancels.
    QString chooseReportFile(QWidget* parent, const QString& caption);
    // The export folder ("ExpDir" of the settings file), the documents folder while none is
    // stored or it is gone; and storing the folder of a file just written there.
    QString exportDir() const;
    void setExportDirOf(const QString& path);
    // Tells the user that `path` could not be written ("Dateifehler").
    void reportUnwritable(QWidget* parent, const QString& path) const;

    Profile& profile() { return profile_; }
    // Points the profile at `path` and reads the recent files from it.
    void setSettingsFile(const QString& path);
    RecentFiles& recentFiles() { return *recentFiles_; }

    // Created on first use; follows the system's default printer.
    QPrinter* printer();
    // Re-reads the default printer (the system told us its settings changed).
    void refreshDefaultPrinter();

    // This session's folders (dataDir ends with '/'), the open dialog's filter and its last
    // chosen entry (1-based), and the database search defaults with their element list.
    QString programDir;
    QString dataDir;
    QString helpFile;
    QString lastDir;
    QString lastConfigDir;
    QString openFilter;
    int lastFilterIndex = 1;
    TElementArray searchElements;
    SearchEngineSettings searchSettings;

    // Above 0 while a file is read or a library run is under way (the program may pump
    // events then); hand-overs wait until it is back at 0.
    int busy = 0;
    struct BusyScope {
        explicit BusyScope(AppContext& c) : context(c) { ++context.busy; }
        ~BusyScope() { --context.busy; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;
        AppContext& context;
    };

  private:
    std::unique_ptr<MessageBox> ownMessages_;
    std::unique_ptr<FileDialog> ownFiles_;
    std::unique_ptr<ModalRunner> ownDialogs_;
    MessageBox* messages_;
    FileDialog* files_;
    ModalRunner* dialogs_;
    RunHostFactory runHostFactory_;
    std::function<void(const QString&)> readout_;
    Windows windows_;
    LumioUiFactory lumioUiFactory_;
    Profile profile_;
    std::unique_ptr<RecentFiles> recentFiles_;
    std::unique_ptr<QPrinter> printer_;
};
