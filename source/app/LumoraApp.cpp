// Start-up, shutdown and the application-level commands.
#include "app/LumoraApp.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QSplashScreen>
#include <QSvgRenderer>
#include <QThread>
#include <QToolBar>
#include <QTranslator>
#include <algorithm>
#include <clocale>

#include "app/CommandTarget.h"
#include "app/Commands.h"
#include "app/HandoverServer.h"
#include "app/LumoraAboutDlg.h"
#include "app/LumoraDecMDIFrame.h"
#include "app/LumoraMDIChild.h"
#include "app/LumoraMDIClient.h"
#include "app/ProgramLocation.h"
#include "app/RecentFiles.h"
#include "lumdb/AnalysisSettings.h"
#include "lumdb/Database.h"
#include "lumio/lumio.h"
#include "services/MessageBox.h"
#include "services/ModalRunner.h"
#include "services/StringTable.h"

const char* const LumoraApp::kFatalCaption = "Programmabbruch";
const char* const LumoraApp::kNoProgramFileText =
    "Orvenit Lumora konnte die Programmdatei nicht auf Ihrem Rechner finden! Überprüfen Sie "
    "Ihren Programmpfad oder wiederholen Sie die Orvenit Lumora Installation.\nSollten die "
    "Probleme danach nicht beseitigt sein, wenden Sie sich an die Hotline des Ingenieurbüros "
    "Orvenit.";
const char* const LumoraApp::kNoDatabaseText =
    "Orvenit Lumora konnte keine gültigen Datenbanken auf Ihrem Rechner finden! Falls Sie mit "
    "der CD-Version arbeiten, überprüfen Sie Ihr CD-Laufwerk oder wiederholen Sie die Orvenit "
    "Lumora Installation.\nSollten die Probleme danach nicht beseitigt sein, wenden Sie sich an "
    "die Hotline des Ingenieurbüros Orvenit.";
const char* const LumoraApp::kQuitQuestion = "Wollen Sie Orvenit Lumora wirklich beenden?";
const char* const LumoraApp::kQuitCaption = "Programm beenden";

namespace {

const QString kDirectoriesSection = QStringLiteral("Directories and Files");
const QString kInitAppSection = QStringLiteral("InitApp");
const QString kSearchEngineSection = QStringLiteral("Search Engine");
constexpr int kSizeMaximised = 3;
constexpr int kSizeNormal = 9;

// The frame's normal rectangle from the settings, made to fit: a damaged file (Width=20000,
// Left=-32767) would otherwise make a window of gigabytes or one nobody can reach. The
// rectangle keeps its size where the screen allows and is moved wholly onto the available
// area of the screen holding its centre (else the primary screen), and is at least as large
// as the frame can be drawn.
QRect fitToScreens(QRect wanted, QSize minimum) {
    minimum = minimum.expandedTo(QSize(200, 150));
    QScreen* screen = QGuiApplication::screenAt(wanted.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return QRect(wanted.topLeft(), wanted.size().expandedTo(minimum));
    const QRect area = screen->availableGeometry();
    const int width =
        std::clamp(wanted.width(), std::min(minimum.width(), area.width()), area.width());
    const int height =
        std::clamp(wanted.height(), std::min(minimum.height(), area.height()), area.height());
    const int left = std::clamp(wanted.left(), area.left(), area.left() + area.width() - width);
    const int top = std::clamp(wanted.top(), area.top(), area.top() + area.height() - height);
    return QRect(left, top, width, height);
}

QPixmap renderSvg(const QString& resource, QSize size) {
    QSvgRenderer renderer(resource);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace

LumoraApp::LumoraApp(Options options, QObject* parent)
    : QObject(parent), options_(options), context_(options.services, options.windows) {
    // QApplication adopts the user's locale for the C library; numbers in files and "%g"
    // must keep the decimal point whatever the desktop's language is.
    std::setlocale(LC_NUMERIC, "C");
    startDetached_ = [this](const QString& program, const QStringList& args) {
        return QProcess::startDetached(program, args, context_.programDir);
    };
    openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        // Linux announces no printer change; a return to the program is when the user may
        // have changed the default printer elsewhere.
        if (s == Qt::ApplicationActive) context_.refreshDefaultPrinter();
    });
    context_.showHelp = [this] { showHelp(); };
    commands_.add(cmd::HelpContents, [this] { showHelp(); })
        .add(cmd::HelpSearch, [this] { showHelp(); })
        .add(cmd::About, [this] { showAbout(); })
        .add(
            cmd::ShowToolbar,
            [this] {
                if (QToolBar* bar = frame_->mainToolbar()) bar->setVisible(bar->isHidden());
            },
            {},
            [this] {
                return frame_ && frame_->mainToolbar() && !frame_->mainToolbar()->isHidden();
            });
}

LumoraApp::~LumoraApp() {
    delete splash_;
    delete frame_;  // owns the client
}

void LumoraApp::installQtTranslations() {
    static QTranslator qtbase;
    if (qtbase.load(QStringLiteral("qtbase_de"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtbase);
}

void LumoraApp::fatal(const QString& text) {
    context_.messages().show(nullptr, text, QString::fromUtf8(kFatalCaption),
                             MessageBox::Icon::Stop, MessageBox::Buttons::Ok);
    quitRequested_ = true;
    QMetaObject::invokeMethod(this, &LumoraApp::quitRequested, Qt::QueuedConnection);
}

bool LumoraApp::startUp() {
    // The time of the start and the splash, which stays at least 4 s.
    startTime_.start();
    if (options_.splash) {
        const QPixmap pixmap = renderSvg(QStringLiteral(":/lumora/splash.svg"), QSize(480, 300));
        splash_ = new QSplashScreen(pixmap);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            splash_->move(screen->geometry().center() - splash_->rect().center());
        splash_->show();
        QCoreApplication::processEvents();
    }

    // Client and frame.
    client_ = new LumoraMDIClient(context_);
    frame_ = new LumoraDecMDIFrame(*this, client_);
    frame_->setWindowTitle(strings::productName());
    QIcon icon;
    for (int side : {16, 32, 48})
        icon.addPixmap(renderSvg(QStringLiteral(":/lumora/lumora.svg"), QSize(side, side)));
    frame_->setWindowIcon(icon);
    QApplication::setWindowIcon(icon);

    // Paths and settings. Without a program directory nothing else can be found, so the
    // database check (and its second fatal message) is not attempted.
    AppContext& c = context_;
    c.programDir = ProgramLocation::programDirectory();
    if (c.programDir.isEmpty()) fatal(QString::fromUtf8(kNoProgramFileText));
    c.setSettingsFile(ProgramLocation::settingsFile(c.programDir));
    const lumcore::IniFile settings = c.profile().read();
    readDirectories(settings);
    c.openFilter = QString::fromStdString(GetFilterString("open", 1));
    c.lastFilterIndex = settings.getInt(kDirectoriesSection.toStdString(), "LastFilterIndex", 1);
    if (!quitRequested_) {
        const auto host = c.makeRunHost(nullptr);
        std::string dataDir;
        if (CheckDataDirectory(*host, c.programDir.toStdString(), dataDir) == 1)
            c.dataDir = QString::fromStdString(dataDir);
        else
            fatal(QString::fromUtf8(kNoDatabaseText));
    }
    c.helpFile = c.programDir + QStringLiteral("/Hilfe/Lumora Handbuch.pdf");

    // Menus, toolbars, status bar.
    frame_->buildCommandBars();

    if (quitRequested_) {
        // The loop ends at once; nobody needs to see the frame or wait for the splash.
        if (splash_) splash_->close();
        return false;
    }

    // The splash's minimum time, then the frame where it was left.
    waitForSplash();
    placeFrame(settings);
    if (splash_) {
        splash_->finish(frame_);
    }

    // The defaults of the database search.
    loadSearchEngineSettings(settings);

    // The command channel. Taken by another running program only when that one answers,
    // in which case this one simply has none.
    handover_ = new HandoverServer(
        [this](const QByteArray& line, const HandoverServer::Reply& reply) {
            client_->whenIdle([this, line, reply] { reply(remoteCommand(line)); });
        },
        this);
    handover_->listen(HandoverServer::nameFor(context_.programDir));
    return true;
}

QByteArray LumoraApp::remoteCommand(const QByteArray& line) {
    if (line.startsWith("open ")) {
        const QString path = QString::fromUtf8(line.mid(5));
        return client_->openHandedOver(path, false) ? "ok" : "failed";
    }
    bool number = line.size() <= HandoverServer::kMaxNumber;
    const int id = number ? line.trimmed().toInt(&number) : 0;
    return number ? frame_->remoteCommand(id) : QByteArray("unknown");
}

void LumoraApp::readDirectories(const lumcore::IniFile& settings) {
    AppContext& c = context_;
    const QString dataDefault =
        ProgramLocation::subdirectoryOr(c.programDir, QStringLiteral("Beispiele"));
    const QString configDefault =
        ProgramLocation::subdirectoryOr(c.programDir, QStringLiteral("Beispiele/Konfigurationen"));
    const std::string s = kDirectoriesSection.toStdString();
    c.lastDir = QString::fromStdString(settings.getString(s, "LastDir", dataDefault.toStdString()));
    c.lastConfigDir =
        QString::fromStdString(settings.getString(s, "LastConfigDir", configDefault.toStdString()));
}

void LumoraApp::waitForSplash() {
    if (!options_.splash) return;
    while (startTime_.elapsed() < options_.splashMilliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
}

void LumoraApp::placeFrame(const lumcore::IniFile& ini) {
    const std::string s = kInitAppSection.toStdString();
    const int size = ini.getInt(s, "Size", kSizeNormal);
    const int left = ini.getInt(s, "Left", 0);
    const int top = ini.getInt(s, "Top", 0);
    const int width = ini.getInt(s, "Width", 800);
    const int height = ini.getInt(s, "Height", 600);
    // The normal rectangle is set first so that restoring a maximised frame returns there.
    const QRect normal = fitToScreens(QRect(left, top, width, height), frame_->minimumSizeHint());
    frame_->move(normal.topLeft());
    frame_->resize(normal.size());
    if (size == kSizeMaximised)
        frame_->showMaximized();
    else
        frame_->show();
}

void LumoraApp::loadSearchEngineSettings(const lumcore::IniFile& ini) {
    GetElements(context_.programDir.toStdString(), context_.searchElements);
    const std::string s = kSearchEngineSection.toStdString();
    AppContext::SearchEngineSettings& settings = context_.searchSettings;
    const lumdb::StageSelection stages =
        lumdb::loadElementSelection(ini, s, context_.searchElements);
    settings.neutrals = stages.neutrals;
    settings.firstIons = stages.firstIons;
    settings.higherIons = stages.higherIons;
    settings.lowerWavelength = ini.getDouble(s, "LowerWavelength", "100");
    settings.upperWavelength = ini.getDouble(s, "UpperWavelength", "1000");
    settings.lowerIntensity = ini.getDouble(s, "LowerIntensity", "0");
    settings.upperIntensity = ini.getDouble(s, "UpperIntensity", "10000");
    settings.intensityOption = ini.getInt(s, "IntensityOption", 0);
    settings.sortOption = ini.getInt(s, "SortOption", 0);
}

bool LumoraApp::queryClose() {
    // Only open diagrams make the question worth asking.
    if (client_ && client_->childCount() > 0) {
        const auto answer = context_.messages().show(
            frame_, QString::fromUtf8(kQuitQuestion), QString::fromUtf8(kQuitCaption),
            MessageBox::Icon::Question, MessageBox::Buttons::YesNo);
        if (answer != MessageBox::Answer::Yes) return false;
    }

    // Every child may still refuse (for example a diagram with unsaved work).
    closing_ = true;
    if (client_) {
        client_->closeAllSubWindows();
        if (client_->childCount() > 0) {
            closing_ = false;
            return false;
        }
    }

    // Nothing is written when the close was refused, so a refused close loses nothing.
    // One read and one write: the file is replaced once, whole, or not at all.
    Profile& profile = context_.profile();
    lumcore::IniFile ini = profile.read();
    const std::string dirs = kDirectoriesSection.toStdString();
    const std::string init = kInitAppSection.toStdString();
    // A folder Windows-1252 cannot name is refused; the one stored before stays.
    bool stored = ini.setString(dirs, "LastDir", context_.lastDir.toStdString());
    stored = ini.setString(dirs, "LastConfigDir", context_.lastConfigDir.toStdString()) && stored;
    ini.setInt(dirs, "LastFilterIndex", context_.lastFilterIndex);
    if (frame_->isMaximized()) {
        ini.setInt(init, "Size", kSizeMaximised);
    } else {
        const QRect normal =
            frame_->isMinimized() ? frame_->normalGeometry() : QRect(frame_->pos(), frame_->size());
        ini.setInt(init, "Size", kSizeNormal);
        ini.setInt(init, "Left", normal.left());
        ini.setInt(init, "Top", normal.top());
        ini.setInt(init, "Width", normal.width());
        ini.setInt(init, "Height", normal.height());
    }
    if (!profile.write(ini) || !stored) {
        context_.messages().show(frame_,
                                 QStringLiteral("Die Einstellungen konnten nicht vollständig in "
                                                "die Datei\n%1\ngeschrieben werden.")
                                     .arg(QDir::toNativeSeparators(profile.path())),
                                 strings::FileError, MessageBox::Icon::Exclamation,
                                 MessageBox::Buttons::Ok);
    }
    return true;
}

void LumoraApp::openRecentFile(const QString& path) {
    if (!client_->hasDiagramOpener() || context_.busy > 0) return;
    if (!client_->openDocument(path)) context_.recentFiles().remove(path);
}

void LumoraApp::setHelpLaunchers(StartDetached startDetached, OpenUrl openUrl) {
    startDetached_ = std::move(startDetached);
    openUrl_ = std::move(openUrl);
}

bool LumoraApp::showHelp() {
    const QString& programDir = context_.programDir;
    const QString& helpFile = context_.helpFile;
#ifdef Q_OS_WIN
    const QString script = programDir + QStringLiteral("/LumoraHelp.bat");
    if (QFileInfo::exists(script)) {
        if (startDetached_(QStringLiteral("cmd.exe"),
                           {QStringLiteral("/c"), QDir::toNativeSeparators(script),
                            QDir::toNativeSeparators(helpFile)}))
            return true;
        return helpFailed();
    }
#else
    const QString script = programDir + QStringLiteral("/LumoraHelp.sh");
    if (QFileInfo::exists(script)) {
        if (startDetached_(QStringLiteral("/bin/sh"), {script, helpFile})) return true;
        return helpFailed();
    }
#endif
    if (QFileInfo::exists(helpFile) && openUrl_(QUrl::fromLocalFile(helpFile))) return true;
    return helpFailed();
}

bool LumoraApp::helpFailed() {
    const QString& helpFile = context_.helpFile;
    context_.messages().show(frame_,
                             QStringLiteral("Das Benutzerhandbuch konnte nicht geöffnet "
                                            "werden:\n") +
                                 QDir::toNativeSeparators(helpFile),
                             strings::ProductName, MessageBox::Icon::Information,
                             MessageBox::Buttons::Ok);
    return false;
}

void LumoraApp::showAbout() {
    CommandTarget* diagram = client_ ? client_->activeDiagram() : nullptr;
    if (diagram) diagram->setModelessDialogsEnabled(false);
    LumoraAboutDlg dialog(frame_);
    context_.dialogs().run(dialog);
    // The box is modal, so the diagram cannot have closed meanwhile.
    if (diagram) diagram->setModelessDialogsEnabled(true);
}
