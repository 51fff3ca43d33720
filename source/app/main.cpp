// Lumora's entry point: options, the application object, start-up and the event loop.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "app/HandoverServer.h"
#include "app/LumoraApp.h"
#include "app/LumoraDecMDIFrame.h"
#include "app/LumoraMDIClient.h"
#include "app/ProgramLocation.h"
#include "diagram/LumoraWindow.h"
#include "reports/SearchEngineEdit.h"
#include "services/StringTable.h"

namespace {

struct CommandLine {
    QCommandLineOption noSplash{QStringLiteral("no-splash"),
                                QStringLiteral("Start without the splash and its 4 s pause "
                                               "(scripted starts).")};
    QCommandLineOption command{QStringLiteral("command"),
                               QStringLiteral("Run command <id> in the running Lumora as if "
                                              "chosen from its menu (starting Lumora first when "
                                              "none runs) and print its answer."),
                               QStringLiteral("id")};
    QCommandLineOption screenshotDelay{QStringLiteral("screenshot-delay"),
                                       QStringLiteral("Milliseconds from the start to the "
                                                      "picture of --screenshot (1500)."),
                                       QStringLiteral("ms"), QStringLiteral("1500")};
    QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the main window to <file> "
                                                 "once it is shown, then end without writing "
                                                 "the settings."),
                                  QStringLiteral("file")};
};

void configure(QCommandLineParser& parser, const CommandLine& options) {
    parser.setApplicationDescription(QStringLiteral("Orvenit Lumora"));
    parser.addHelpOption();
    parser.addOption(options.noSplash);
    parser.addOption(options.command);
    parser.addOption(options.screenshot);
    parser.addOption(options.screenshotDelay);
    parser.addPositionalArgument(QStringLiteral("spectrum"),
                                 QStringLiteral("A spectrum file to open at start."),
                                 QStringLiteral("[spectrum]"));
}

bool asksForHelp(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (asksForHelp(argc, argv)) {
        // The usage needs no display.
        QCoreApplication core(argc, argv);
        QCommandLineParser parser;
        CommandLine options;
        configure(parser, options);
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }

    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setOrganizationName(QStringLiteral("Orvenit"));
    QApplication::setApplicationDisplayName(strings::productName());
    LumoraApp::installQtTranslations();

    QCommandLineParser parser;
    CommandLine cli;
    configure(parser, cli);
    parser.process(qtApp);
    const QCommandLineOption& noSplash = cli.noSplash;
    const QCommandLineOption& screenshot = cli.screenshot;

    // A running Lumora of this user and program directory takes the command or the file.
    const QStringList files = parser.positionalArguments();
    const QString channel = HandoverServer::nameFor(ProgramLocation::programDirectory());
    QByteArray line;
    if (parser.isSet(cli.command))
        line = parser.value(cli.command).toUtf8();
    else if (!files.isEmpty())
        line = "open " + QFileInfo(files.front()).absoluteFilePath().toUtf8();
    if (!line.isEmpty()) {
        if (const std::optional<QByteArray> answer = HandoverServer::send(channel, line, 30000)) {
            std::printf("%s\n", answer->constData());
            return *answer == "ok" ? 0 : 1;
        }
    }

    LumoraApp::Options options;
    options.splash = !parser.isSet(noSplash);
    options.windows.diagram = &LumoraWindow::open;
    options.windows.searchWindow = &SearchEngineEdit::open;
    LumoraApp app(options);
    QObject::connect(&app, &LumoraApp::quitRequested, &qtApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!app.startUp()) return 1;

    // The first argument, or the command, runs once the event loop runs.
    if (!line.isEmpty()) {
        QTimer::singleShot(0, &app, [&app, line] {
            app.client()->whenIdle([&app, line] {
                const QByteArray answer = app.remoteCommand(line);
                if (line.startsWith("open ")) return;
                std::printf("%s\n", answer.constData());
                std::fflush(stdout);
            });
        });
    }

    if (parser.isSet(screenshot)) {
        const QString target = parser.value(screenshot);
        const int delay = parser.value(cli.screenshotDelay).toInt();
        QTimer::singleShot(delay > 0 ? delay : 1500, &qtApp, [&app, target] {
            LumoraDecMDIFrame* frame = app.frame();
            QScreen* screen = frame->screen();
            const QPixmap shot = screen->grabWindow(frame->winId());
            const bool ok = !shot.isNull() && shot.save(target);
            std::fprintf(ok ? stdout : stderr, "%s %s\n",
                         ok ? "screenshot saved:" : "screenshot failed:", qPrintable(target));
            QCoreApplication::exit(ok ? 0 : 1);
        });
    }
    return QApplication::exec();
}
