// Start-up, shutdown and the application-level commands.
#include "app/LumoraApp.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QScreen>
#include <QSplashScreen>
#include <QSvgRenderer>
#include <QThread>
#include <QToolBar>
#include <QTranslator>
#include <algorithm>
#include <clocale>

#include "app/Commands.h"
#include "app/LumoraAboutDlg.h"
#include "app/LumoraDecMDIFrame.h"
#include "app/LumoraMDIChild.h"
#include "app/LumoraMDIClient.h"
#include "services/MessageBox.h"
#include "services/ModalRunner.h"
#include "app/CommandTarget.h"
#include "app/ProgramLocation.h"
#include "services/QtRunHost.h"
#include "app/RecentFiles.h"
#include "services/StringTable.h"
#include "lumdb/Database.h"
#include "lumio/lumio.h"

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

LumoraApp* theApp = nullptr;

const QString kDirectoriesSection = QStringLiteral("Directories and Files");
const QString kInitAppSection = QStringLiteral("InitApp");
const QString kSearchEngineSection = QStringLiteral("Search Engine");
constexpr int kSizeMaximised = 3;
constexpr int kSizeNormal = 9;

// The frame's normal rectangle from the settings, made to fit: a damaged file (Width=20000,
// Left=-32767) would otherwise make a window of gigabytes or one nobody can reach. The
// rectangle keeps its size where the screen allows and is moved wholly onto the available
// area of the screen holding its centre (else the primary screen).
QRect fitToScreens(QRect wanted) {
    constexpr int kMinWidth = 200;
    constexpr int kMinHeight = 150;
    QScreen* screen = QGuiApplication::screenAt(wanted.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return QRect(wanted.topLeft(), wanted.size().expandedTo(QSize(kMinWidth, kMinHeight)));
    const QRect area = screen->availableGeometry();
    const int width = std::clamp(wanted.width(), std::min(kMinWidth, area.width()), area.width());
    const int height = std::clamp(wanted.height(), std::min(kMinHeight, area.height()), area.height());
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

LumoraApp::LumoraApp(Options options, QObject* parent) : QObject(parent), options_(options) {
    theApp = this;
    // QApplication adopts the user's locale for the C library; numbers in files and "%g"
    // must keep the decimal point whatever the desktop's language is.
    std::setlocale(LC_NUMERIC, "C");
    startDetached_ = [this](const QString& program, const QStringList& args) {
        return QProcess::startDetached(program, args, programDir_);
    };
    openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        // Linux announces no printer change; a return to the program is when the user may
        // have changed the default printer elsewhere.
        if (s == Qt::ApplicationActive) refreshDefaultPrinter();
    });
}

LumoraApp::~LumoraApp() {
    delete splash_;
    delete frame_;  // owns the client
    if (theApp == this) theApp = nullptr;
}

LumoraApp* LumoraApp::instance() { return theApp; }

void LumoraApp::installQtTranslations() {
    static QTranslator qtbase;
    if (qtbase.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtbase);
}

void LumoraApp::fatal(const QString& text) {
    MessageBox::current().show(nullptr, text, QString::fromUtf8(kFatalCaption),
                               MessageBox::Icon::Stop, MessageBox::Buttons::Ok);
    quitRequested_ = true;
    QMetaObject::invokeMethod(this, &LumoraApp::quitRequested, Qt::QueuedConnection);
}

bool LumoraApp::startUp() {
    // 1-2: the time of the start and the splash, which stays at least 4 s.
    startTime_.start();
    if (options_.splash) {
        const QPixmap pixmap = renderSvg(QStringLiteral(":/lumora/splash.svg"), QSize(480, 300));
        splash_ = new QSplashScreen(pixmap);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            splash_->move(screen->geometry().center() - splash_->rect().center());
        splash_->show();
        QCoreApplication::processEvents();
    }

    // 3: client and frame.
    client_ = new LumoraMDIClient;
    frame_ = new LumoraDecMDIFrame(*this, client_);
    frame_->setWindowTitle(strings::productName());
    QIcon icon;
    for (int side : {16, 32, 48})
        icon.addPixmap(renderSvg(QStringLiteral(":/lumora/lumora.svg"), QSize(side, side)));
    frame_->setWindowIcon(icon);
    QApplication::setWindowIcon(icon);

    // 4: paths and settings. Without a program directory nothing else can be found, so the
    // database check (and its second fatal message) is not attempted.
    programDir_ = ProgramLocation::programDirectory();
    if (programDir_.isEmpty()) fatal(QString::fromUtf8(kNoProgramFileText));
    profile_.setPath(ProgramLocation::settingsFile(programDir_));
    recentFiles_ = std::make_unique<RecentFiles>(profile_);
    readDirectories();
    openFilter_ = QString::fromStdString(GetFilterString("open", 1));
    lastFilterIndex_ = profile_.getInt(kDirectoriesSection, QStringLiteral("LastFilterIndex"), 1);
    if (!quitRequested_) {
        QtRunHost host(nullptr);
        std::string dataDir;
        if (CheckDataDirectory(host, programDir_.toStdString(), dataDir) == 1)
            dataDir_ = QString::fromStdString(dataDir);
        else
            fatal(QString::fromUtf8(kNoDatabaseText));
    }
    helpFile_ = programDir_ + QStringLiteral("/Hilfe/Lumora Handbuch.pdf");

    // 5: menus, toolbars, status bar.
    frame_->buildCommandBars();

    if (quitRequested_) {
        // The loop ends at once; nobody needs to see the frame or wait for the splash.
        if (splash_) splash_->close();
        return false;
    }

    // 6-7: the splash's minimum time, then the frame where it was left.
    waitForSplash();
    placeFrame();
    if (splash_) {
        splash_->finish(frame_);
    }

    // 8: the defaults of the database search.
    loadSearchEngineSettings();
    return true;
}

void LumoraApp::readDirectories() {
    const QString base = programDir_;
    defaultDataDir_ = ProgramLocation::subdirectoryOr(base, QStringLiteral("Beispiele"));
    defaultConfigDir_ =
        ProgramLocation::subdirectoryOr(base, QStringLiteral("Beispiele/Konfigurationen"));
    lastDir_ = profile_.getString(kDirectoriesSection, QStringLiteral("LastDir"), defaultDataDir_);
    lastConfigDir_ =
        profile_.getString(kDirectoriesSection, QStringLiteral("LastConfigDir"), defaultConfigDir_);
}

void LumoraApp::waitForSplash() {
    if (!options_.splash) return;
    while (startTime_.elapsed() < kSplashMilliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
}

void LumoraApp::placeFrame() {
    const int size = profile_.getInt(kInitAppSection, QStringLiteral("Size"), kSizeNormal);
    const int left = profile_.getInt(kInitAppSection, QStringLiteral("Left"), 0);
    const int top = profile_.getInt(kInitAppSection, QStringLiteral("Top"), 0);
    const int width = profile_.getInt(kInitAppSection, QStringLiteral("Width"), 800);
    const int height = profile_.getInt(kInitAppSection, QStringLiteral("Height"), 600);
    // The normal rectangle is set first so that restoring a maximised frame returns there.
    const QRect normal = fitToScreens(QRect(left, top, width, height));
    frame_->move(normal.topLeft());
    frame_->resize(normal.size());
    if (size == kSizeMaximised)
        frame_->showMaximized();
    else
        frame_->show();
}

void LumoraApp::loadSearchEngineSettings() {
    GetElements(programDir_.toStdString(), searchElements_);
    const QString& s = kSearchEngineSection;
    for (CElement& element : searchElements_)
        element.selected = profile_.getInt(s, QString::fromStdString(element.name), 0) == 1;
    searchSettings_.neutrals = profile_.getInt(s, QStringLiteral("Neutrals"), 0) != 0;
    searchSettings_.firstIons = profile_.getInt(s, QStringLiteral("FirstIons"), 0) != 0;
    searchSettings_.higherIons = profile_.getInt(s, QStringLiteral("HigherIons"), 0) != 0;
    searchSettings_.lowerWavelength =
        profile_.getDouble(s, QStringLiteral("LowerWavelength"), QStringLiteral("100"));
    searchSettings_.upperWavelength =
        profile_.getDouble(s, QStringLiteral("UpperWavelength"), QStringLiteral("1000"));
    searchSettings_.lowerIntensity =
        profile_.getDouble(s, QStringLiteral("LowerIntensity"), QStringLiteral("0"));
    searchSettings_.upperIntensity =
        profile_.getDouble(s, QStringLiteral("UpperIntensity"), QStringLiteral("10000"));
    searchSettings_.intensityOption = profile_.getInt(s, QStringLiteral("IntensityOption"), 0);
    searchSettings_.sortOption = profile_.getInt(s, QStringLiteral("SortOption"), 0);
}

bool LumoraApp::queryClose() {
    // 1: only open diagrams make the question worth asking.
    if (client_ && client_->childCount() > 0) {
        const auto answer = MessageBox::current().show(
            frame_, QString::fromUtf8(kQuitQuestion), QString::fromUtf8(kQuitCaption),
            MessageBox::Icon::Question, MessageBox::Buttons::YesNo);
        if (answer != MessageBox::Answer::Yes) return false;
    }

    // 2: every child may still refuse (for example a diagram with unsaved work).
    closing_ = true;
    if (client_) {
        client_->closeAllSubWindows();
        if (client_->childCount() > 0) {
            closing_ = false;
            return false;
        }
    }

    // 3-4: nothing is written when the close was refused, so a refused close loses nothing.
    // One read and one write: the file is replaced once, whole, or not at all.
    lumcore::IniFile ini = profile_.read();
    const std::string dirs = kDirectoriesSection.toStdString();
    const std::string init = kInitAppSection.toStdString();
    // A folder Windows-1252 cannot name is refused; the one stored before stays.
    bool stored = ini.setString(dirs, "LastDir", lastDir_.toStdString());
    stored = ini.setString(dirs, "LastConfigDir", lastConfigDir_.toStdString()) && stored;
    ini.setInt(dirs, "LastFilterIndex", lastFilterIndex_);
    if (frame_->isMaximized()) {
        ini.setInt(init, "Size", kSizeMaximised);
    } else {
        const QRect normal = frame_->isMinimized()
                                 ? frame_->normalGeometry()
                                 : QRect(frame_->pos(), frame_->size());
        ini.setInt(init, "Size", kSizeNormal);
        ini.setInt(init, "Left", normal.left());
        ini.setInt(init, "Top", normal.top());
        ini.setInt(init, "Width", normal.width());
        ini.setInt(init, "Height", normal.height());
    }
    if (!profile_.write(ini) || !stored) {
        MessageBox::current().show(frame_,
                                   QStringLiteral("Die Einstellungen konnten nicht vollständig in "
                                                  "die Datei\n%1\ngeschrieben werden.")
                                       .arg(QDir::toNativeSeparators(profile_.path())),
                                   strings::FileError, MessageBox::Icon::Exclamation,
                                   MessageBox::Buttons::Ok);
    }
    return true;
}

QPrinter* LumoraApp::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return printer_.get();
}

void LumoraApp::refreshDefaultPrinter() {
    if (!printer_) return;  // a printer made later starts with the default anyway
    const QString name = QPrinterInfo::defaultPrinterName();
    if (!name.isEmpty() && name != printer_->printerName()) printer_->setPrinterName(name);
}

bool LumoraApp::handlesCommand(int id) const {
    return id == cmd::HelpContents || id == cmd::HelpSearch || id == cmd::About ||
           id == cmd::ShowToolbar;
}

bool LumoraApp::isCommandEnabled(int id) const { return handlesCommand(id); }

bool LumoraApp::isCommandChecked(int id) const {
    if (id == cmd::ShowToolbar && frame_ && frame_->mainToolbar())
        return !frame_->mainToolbar()->isHidden();
    return false;
}

void LumoraApp::executeCommand(int id) {
    switch (id) {
        case cmd::HelpContents:
        case cmd::HelpSearch: showHelp(); break;
        case cmd::About: showAbout(); break;
        case cmd::ShowToolbar:
            if (QToolBar* bar = frame_->mainToolbar()) bar->setVisible(bar->isHidden());
            break;
        default: break;
    }
}

void LumoraApp::openRecentFile(const QString& path) {
    if (!LumoraMDIClient::hasDiagramOpener()) return;
    if (!client_->openDocument(path)) recentFiles_->remove(path);
}

void LumoraApp::setHelpLaunchers(StartDetached startDetached, OpenUrl openUrl) {
    startDetached_ = std::move(startDetached);
    openUrl_ = std::move(openUrl);
}

bool LumoraApp::showHelp() {
#ifdef Q_OS_WIN
    const QString script = programDir_ + QStringLiteral("/LumoraHelp.bat");
    if (QFileInfo::exists(script)) {
        if (startDetached_(QStringLiteral("cmd.exe"),
                           {QStringLiteral("/c"), QDir::toNativeSeparators(script),
                            QDir::toNativeSeparators(helpFile_)}))
            return true;
        return helpFailed();
    }
#else
    const QString script = programDir_ + QStringLiteral("/LumoraHelp.sh");
    if (QFileInfo::exists(script)) {
        if (startDetached_(QStringLiteral("/bin/sh"), {script, helpFile_})) return true;
        return helpFailed();
    }
#endif
    if (QFileInfo::exists(helpFile_) && openUrl_(QUrl::fromLocalFile(helpFile_))) return true;
    return helpFailed();
}

bool LumoraApp::helpFailed() {
    MessageBox::current().show(frame_,
                               QStringLiteral("Das Benutzerhandbuch konnte nicht geöffnet "
                                              "werden:\n") +
                                   QDir::toNativeSeparators(helpFile_),
                               strings::ProductName, MessageBox::Icon::Information,
                               MessageBox::Buttons::Ok);
    return false;
}

void LumoraApp::showAbout() {
    CommandTarget* diagram = client_ ? client_->activeDiagram() : nullptr;
    if (diagram) diagram->setModelessDialogsEnabled(false);
    LumoraAboutDlg dialog(frame_);
    ModalRunner::current().run(dialog);
    // The box is modal, so the diagram cannot have closed meanwhile.
    if (diagram) diagram->setModelessDialogsEnabled(true);
}
