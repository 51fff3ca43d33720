// The application object: start-up (paths, settings, database check, frame, toolbars, search
// defaults), shutdown (confirmation and the settings written back), the recent files, help,
// the about box and the printer. Later windows reach the shared state through instance().
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

#include "app/Profile.h"
#include "lumdb/Records.h"

class LumoraDecMDIFrame;
class LumoraMDIClient;
class QPrinter;
class QSplashScreen;
class RecentFiles;

class LumoraApp : public QObject {
    Q_OBJECT
public:
    struct Options {
        bool splash = true;  // the splash and the 4 s minimum (off for scripted starts)
    };

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

    // The two start-up failures that end the program.
    static const char* const kFatalCaption;
    static const char* const kNoProgramFileText;
    static const char* const kNoDatabaseText;
    static const char* const kQuitQuestion;
    static const char* const kQuitCaption;
    // Flags of the shared open dialog: explorer style, path and file must exist, hide
    // read-only (kept for the dialogs that take their behaviour from them).
    static constexpr unsigned kOpenDialogFlags = 0x81804;
    static constexpr int kSplashMilliseconds = 4000;

    explicit LumoraApp(Options options, QObject* parent = nullptr);
    ~LumoraApp() override;

    static LumoraApp* instance();

    // Start-up in the described order. False when a fatal message was shown; the program
    // then ends (quitRequested() is true and the quit signal has been queued).
    bool startUp();
    bool isQuitRequested() const { return quitRequested_; }

    // The close query of the frame: asks when diagrams are open, then writes the directories,
    // the filter index and the window placement. False keeps the program open.
    bool queryClose();
    bool isClosing() const { return closing_; }

    LumoraDecMDIFrame* frame() const { return frame_; }
    LumoraMDIClient* client() const { return client_; }
    Profile& profile() { return profile_; }
    RecentFiles& recentFiles() { return *recentFiles_; }

    const QString& programDir() const { return programDir_; }
    const QString& settingsFile() const { return profile_.path(); }
    const QString& dataDir() const { return dataDir_; }  // ends with '/'
    const QString& helpFile() const { return helpFile_; }
    const QString& lastDir() const { return lastDir_; }
    void setLastDir(const QString& dir) { lastDir_ = dir; }
    const QString& lastConfigDir() const { return lastConfigDir_; }
    void setLastConfigDir(const QString& dir) { lastConfigDir_ = dir; }
    const QString& openFilter() const { return openFilter_; }
    int lastFilterIndex() const { return lastFilterIndex_; }
    void setLastFilterIndex(int index) { lastFilterIndex_ = index; }

    TElementArray& searchElements() { return searchElements_; }
    SearchEngineSettings& searchSettings() { return searchSettings_; }

    // Created on first use; follows the system's default printer.
    QPrinter* printer();
    // Re-reads the default printer (the system told us its settings changed).
    void refreshDefaultPrinter();

    bool handlesCommand(int id) const;
    bool isCommandEnabled(int id) const;
    bool isCommandChecked(int id) const;
    void executeCommand(int id);

    // A recent-file entry was chosen: open it; a failed open drops the entry.
    void openRecentFile(const QString& path);

    // How help is started; tests replace both.
    using StartDetached = std::function<bool(const QString& program, const QStringList& args)>;
    using OpenUrl = std::function<bool(const QUrl& url)>;
    void setHelpLaunchers(StartDetached startDetached, OpenUrl openUrl);
    // Help: LumoraHelp.sh (LumoraHelp.bat on Windows) from the program directory with the
    // manual's path, detached; without it the manual in the desktop's viewer.
    bool showHelp();
    void showAbout();

    // German texts for Qt's own dialogs when the translations are installed.
    static void installQtTranslations();

signals:
    // Queued to the event loop after a fatal start-up failure.
    void quitRequested();

private:
    void fatal(const QString& text);
    bool helpFailed();
    void readDirectories();
    void loadSearchEngineSettings();
    void placeFrame();
    void waitForSplash();

    Options options_;
    QElapsedTimer startTime_;
    QSplashScreen* splash_ = nullptr;
    LumoraDecMDIFrame* frame_ = nullptr;
    LumoraMDIClient* client_ = nullptr;
    Profile profile_;
    std::unique_ptr<RecentFiles> recentFiles_;
    std::unique_ptr<QPrinter> printer_;

    QString programDir_;
    QString dataDir_;
    QString helpFile_;
    QString defaultDataDir_;
    QString defaultConfigDir_;
    QString lastDir_;
    QString lastConfigDir_;
    QString openFilter_;
    int lastFilterIndex_ = 1;

    TElementArray searchElements_;
    SearchEngineSettings searchSettings_;

    bool quitRequested_ = false;
    bool closing_ = false;
    StartDetached startDetached_;
    OpenUrl openUrl_;
};
