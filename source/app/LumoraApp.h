// The application object: start-up (paths, settings, database check, frame, toolbars, search
// defaults), shutdown (confirmation and the settings written back), the recent files, help
// and the about box. It owns the application context that every window is handed.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

#include "app/AppContext.h"
#include "app/CommandTable.h"

class HandoverServer;
class LumoraDecMDIFrame;
class LumoraMDIClient;
class QSplashScreen;

class LumoraApp : public QObject {
    Q_OBJECT
  public:
    struct Options {
        bool splash = true;  // the splash and its minimum time (off for scripted starts)
        int splashMilliseconds = kSplashMilliseconds;  // 4 s; shorter in tests
        AppContext::Services services;                 // the Qt ones where left null
        AppContext::Windows windows;                   // how the client makes its windows
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
    AppContext& context() { return context_; }

    // Help, about and the main toolbar's switch.
    const CommandTable& commands() const { return commands_; }

    // A line of the command channel (see HandoverServer) carried out; its answer.
    QByteArray remoteCommand(const QByteArray& line);
    HandoverServer* handover() const { return handover_; }

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
    // Each reads its keys from the settings file as start-up read it, once.
    void readDirectories(const lumcore::IniFile& settings);
    void loadSearchEngineSettings(const lumcore::IniFile& settings);
    void placeFrame(const lumcore::IniFile& settings);
    void waitForSplash();

    Options options_;
    QElapsedTimer startTime_;
    QSplashScreen* splash_ = nullptr;
    LumoraDecMDIFrame* frame_ = nullptr;
    LumoraMDIClient* client_ = nullptr;
    HandoverServer* handover_ = nullptr;
    AppContext context_;
    CommandTable commands_;

    bool quitRequested_ = false;
    bool closing_ = false;
    StartDetached startDetached_;
    OpenUrl openUrl_;
};
