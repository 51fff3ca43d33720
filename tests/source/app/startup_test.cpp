// Start-up and shutdown of the program: directories and their defaults, the database check
// and its fatal end, the settings read and written on close, recent files, help and about;
// the settings file itself (encoding on disk, the program directory and the fallback of the
// settings file) and the filter strings of the file dialogs.
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include "ShellHarness.h"
#include "app/LumoraAboutDlg.h"
#include "app/Profile.h"
#include "app/ProgramLocation.h"
#include "app/RecentFiles.h"
#include "lumdb/Database.h"
#include "lumdb/lumdb.h"
#include "lumio/lumio.h"

namespace {

// A value of the settings file as stored, "<missing>" where there is none.
QString get(ShellHarness& h, const QString& section, const QString& key) {
    return Profile(h.settingsPath()).getString(section, key, "<missing>");
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The stored window placement: Size, Left, Top, Width, Height of [InitApp].
QStringList placement(ShellHarness& h) {
    QStringList values;
    for (const char* key : {"Size", "Left", "Top", "Width", "Height"})
        values << get(h, "InitApp", key);
    return values;
}

QList<double> searchRanges(const AppContext& c) {
    const auto& s = c.searchSettings;
    return {s.lowerWavelength, s.upperWavelength,         s.lowerIntensity,
            s.upperIntensity,  double(s.intensityOption), double(s.sortOption)};
}

// A started program whose diagrams are fakes, for any file that exists; a missing file
// fails to open.
struct Harness : ShellHarness {
    Harness() {
        windows.diagram = [](LumoraMDIClient&, const QString& path) -> QWidget* {
            if (!QFileInfo::exists(path)) return nullptr;
            return new FakeDiagram({130});
        };
    }
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void startWithExamplesAndDefaults() {
        Harness h;
        h.makeExamples();
        QVERIFY(h.startWithDatabase());
        const QString dir = h.path();
        QVERIFY(h.messages.shown.isEmpty());
        AppContext& c = h.context();
        QCOMPARE(QStringList({c.programDir, c.profile().path(), c.lastDir, c.lastConfigDir,
                              c.dataDir, c.helpFile}),
                 QStringList({dir, dir + "/Lumora.ini", dir + "/Beispiele",
                              dir + "/Beispiele/Konfigurationen", dir + "/Data/",
                              dir + "/Hilfe/Lumora Handbuch.pdf"}));
        QCOMPARE(c.lastFilterIndex, 1);
        // The frame with its defaults: normal state, 800 x 600 at 0,0.
        QVERIFY(h.frame().isVisible() && !h.frame().isMaximized());
        QCOMPARE(QRect(h.frame().pos(), h.frame().size()), QRect(0, 0, 800, 600));
        // Search defaults: every element unselected.
        TElementArray table;
        GetElements(dir.toStdString(), table);
        QVERIFY(!table.empty());
        QCOMPARE(c.searchElements.size(), table.size());
        for (const CElement& e : c.searchElements) QVERIFY(!e.selected);
        const auto& s = c.searchSettings;
        QVERIFY(!s.neutrals && !s.firstIons && !s.higherIons);  // and the described ranges:
        QCOMPARE(searchRanges(c), QList<double>({100, 1000, 0, 10000, 0, 0}));
        // Reading created no settings file.
        QVERIFY(!QFile::exists(h.settingsPath()));
    }

    void splashKeepsStartUpForItsMinimumTime() {
        Harness h;
        QVERIFY(h.copyDatabase());
        LumoraApp app({.splash = true, .splashMilliseconds = 500, .services = {}, .windows = {}});
        QElapsedTimer clock;
        clock.start();
        QVERIFY(app.startUp());
        QVERIFY(clock.elapsed() >= 500);
        QVERIFY(app.frame()->isVisible());
    }

    void settingsAreRead() {
        Harness h;
        TElementArray table;
        GetElements(LUMORA_PROGRAM_DIR, table);
        QVERIFY(table.size() >= 2);
        QVERIFY(h.startWithDatabase(
            "[Directories and Files]\r\nLastDir=/daten/Spektren\r\nLastConfigDir=/daten/K\r\n"
            "LastFilterIndex=5\r\n[InitApp]\r\nSize=9\r\nLeft=30\r\nTop=40\r\nWidth=700\r\n"
            "Height=500\r\n[Search Engine]\r\n" +
            QByteArray::fromStdString(table[0].name + "=1\r\n" + table[1].name + "=2\r\n") +
            "Neutrals=1\r\nHigherIons=1\r\nLowerWavelength=250.5\r\nUpperWavelength=3e2\r\n"
            "UpperIntensity=abc\r\nIntensityOption=2\r\nSortOption=1\r\n"));
        QCOMPARE(h.context().lastDir, QString("/daten/Spektren"));
        QCOMPARE(h.context().lastConfigDir, QString("/daten/K"));
        QCOMPARE(h.context().lastFilterIndex, 5);
        QCOMPARE(QRect(h.frame().pos(), h.frame().size()), QRect(30, 40, 700, 500));
        const auto& elements = h.context().searchElements;
        QVERIFY(elements[0].selected);
        QVERIFY(!elements[1].selected);  // only 1 selects
        const auto& s = h.context().searchSettings;
        QVERIFY(s.neutrals && !s.firstIons && s.higherIons);
        // UpperIntensity: text without a number reads as 0.
        QCOMPARE(searchRanges(h.context()), QList<double>({250.5, 300, 0, 0, 2, 1}));
    }

    void damagedPlacementFitsTheScreenAndUnstorableFoldersAreReported() {
        Harness h;
        QVERIFY(h.startWithDatabase(
            "[Directories and Files]\r\nLastDir=/alt\r\n[InitApp]\r\n"
            "Size=9\r\nLeft=-32767\r\nTop=99999\r\nWidth=20000\r\nHeight=-5\r\n"));
        const QRect area = h.frame().screen()->availableGeometry();
        QCOMPARE(h.frame().width(), area.width());
        QVERIFY(area.contains(QRect(h.frame().pos(), h.frame().size())));

        // A folder the settings file cannot name is reported and the stored one kept.
        h.context().lastDir = QString::fromUtf8("/daten/光谱");
        QVERIFY(h.frame().close());
        QCOMPARE(h.messages.shown.size(), qsizetype(1));
        QCOMPARE(h.messages.shown[0].caption, QString("Dateifehler"));
        QCOMPARE(get(h, "Directories and Files", "LastDir"), QString("/alt"));
    }

    // The ends of a start: no element table, an incomplete database (the request for the disc
    // cancelled), no program directory (then no database check and no second message). The
    // fatal texts are the lines of data/fatal_texts.txt, "\n" standing for the line break.
    void fatalStartsEndTheProgram() {
        QFile file(LUMORA_TEST_DATA "/source/data/fatal_texts.txt");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList texts = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(texts.size(), 2);
        for (int cause = 0; cause < 3; ++cause) {
            Harness h;
            if (cause == 1) {
                QVERIFY(h.writeIncompleteDatabase());
                h.messages.answers = {MessageBox::Answer::Cancel};  // no disc
            }
            if (cause == 2) qputenv("LUMORA_HOME", (h.path() + "/gibt-es-nicht").toLocal8Bit());
            QVERIFY(!h.start());
            QSignalSpy spy(&h.app(), &LumoraApp::quitRequested);
            QVERIFY(h.app().isQuitRequested());
            const auto& shown = h.messages.shown;
            QCOMPARE(shown.size(), cause == 2 ? 1 : 2);
            if (cause < 2) QCOMPARE(shown[0].caption, QString("Datenbankquelle"));
            if (cause == 1) QCOMPARE(shown[0].buttons, MessageBox::Buttons::OkCancel);
            QCOMPARE(shown.back().caption, QString("Programmabbruch"));
            QCOMPARE(shown.back().text, texts[cause / 2].replace("\\n", "\n"));
            QVERIFY(!h.frame().isVisible());
            // The end of the loop is queued, not run inside start-up; nothing was written.
            QVERIFY(spy.wait(2000));
            QVERIFY(!QFile::exists(h.settingsPath()));
        }
    }

    void closeWithoutDiagramAsksNothingAndWrites() {
        Harness h;
        h.makeExamples();
        QVERIFY(h.startWithDatabase("; behalten\r\n[Fremd]\r\nSchluessel=Wert\r\n"));
        h.context().lastFilterIndex = 3;
        h.frame().move(15, 25);
        h.frame().resize(640, 480);
        QVERIFY(h.trigger(24310));  // "Beenden"
        QVERIFY(!h.frame().isVisible());
        QVERIFY(h.messages.shown.isEmpty());
        const QString dir = h.path();
        QCOMPARE(get(h, "Directories and Files", "LastDir"), dir + "/Beispiele");
        QCOMPARE(get(h, "Directories and Files", "LastConfigDir"),
                 dir + "/Beispiele/Konfigurationen");
        QCOMPARE(get(h, "Directories and Files", "LastFilterIndex"), QString("3"));
        QCOMPARE(placement(h), QStringList({"9", "15", "25", "640", "480"}));
        QVERIFY(h.settingsBytes().startsWith("; behalten\r\n[Fremd]\r\nSchluessel=Wert\r\n"));
    }

    void closeMaximisedKeepsThePosition() {
        Harness h;
        QVERIFY(h.startWithDatabase(
            "[InitApp]\r\nSize=9\r\nLeft=11\r\nTop=22\r\nWidth=733\r\nHeight=544\r\n"));
        // Without the examples folder both folders are the program directory.
        const QString dir = h.path();
        QCOMPARE(QStringList({h.context().lastDir, h.context().lastConfigDir}),
                 QStringList({dir, dir}));
        h.frame().showMaximized();
        QTRY_VERIFY(h.frame().isMaximized());
        QVERIFY(h.frame().close());
        QCOMPARE(placement(h), QStringList({"3", "11", "22", "733", "544"}));

        // Size=3 starts maximised.
        h.destroy();
        QVERIFY(h.start());
        QTRY_VERIFY(h.frame().isMaximized());
    }

    void closeWithDiagramAsksFirst() {
        Harness h;
        QVERIFY(h.startWithDatabase());
        QTemporaryFile spectrum;
        QVERIFY(spectrum.open());
        QVERIFY(h.openFakeDiagram(spectrum.fileName()));
        const QByteArray before = h.settingsBytes();

        h.messages.answers = {MessageBox::Answer::No};
        QVERIFY(!h.frame().close());
        QCOMPARE(h.messages.shown.size(), 1);
        QCOMPARE(h.messages.shown[0].text, QString("Wollen Sie Orvenit Lumora wirklich beenden?"));
        QCOMPARE(h.messages.shown[0].buttons, MessageBox::Buttons::YesNo);
        QVERIFY(h.frame().isVisible());
        QCOMPARE(h.app().client()->childCount(), 1);
        QCOMPARE(h.settingsBytes(), before);  // only the recent file so far
        QVERIFY(!h.app().isClosing());

        // A child that refuses to close keeps the program open and nothing is written.
        auto* diagram = static_cast<FakeDiagram*>(h.app().client()->activeSubWindow()->widget());
        diagram->refuseClose = true;
        h.messages.answers = {MessageBox::Answer::Yes};
        QVERIFY(!h.frame().close());
        QCOMPARE(h.settingsBytes(), before);

        diagram->refuseClose = false;
        h.messages.answers = {MessageBox::Answer::Yes};
        QVERIFY(h.frame().close());
        QVERIFY(h.app().isClosing());
        QCOMPARE(get(h, "InitApp", "Size"), QString("9"));
    }

    void openRecordsRecentFilesAndFailedOpenRemovesThem() {
        Harness h;
        h.makeExamples();
        QVERIFY(h.startWithDatabase());
        QTemporaryDir spectra;
        const QString good = spectra.filePath("probe.lmx");
        QFile(good).open(QIODevice::WriteOnly);

        // Datei / Öffnen: the dialog starts in LastDir with the open filter and index.
        h.files.results = {ScriptedFileDialog::choose(good, 2)};
        QVERIFY(h.trigger(24332));
        QCOMPARE(h.files.requests.size(), 1);
        const auto& request = h.files.requests[0];
        QVERIFY(std::tuple(request.directory, request.filter, request.filterIndex) ==
                std::tuple(h.path() + "/Beispiele", h.context().openFilter, 1));
        QCOMPARE(h.app().client()->childCount(), 1);
        QCOMPARE(h.context().lastDir, QDir::cleanPath(spectra.path()));
        QCOMPARE(h.context().lastFilterIndex, 2);
        QCOMPARE(h.context().recentFiles().entries(), QStringList({good}));
        QCOMPARE(get(h, "Recent Files", "File1"), good);

        // A file that is gone: one attempt, then it has left the list and the menu.
        const QString gone = spectra.filePath("weg.lmx");
        h.context().recentFiles().add(gone);
        QCOMPARE(h.frame().recentFileActions().size(), qsizetype(3));  // separator + 2
        QAction* entry = h.frame().recentFileActions()[1];
        QVERIFY(entry->text().endsWith("weg.lmx"));
        QVERIFY(entry->text().startsWith("&1 "));
        entry->trigger();
        QTRY_COMPARE(h.context().recentFiles().entries(), QStringList({good}));
        QCOMPARE(h.app().client()->childCount(), 1);
        QCOMPARE(get(h, "Recent Files", "File2"), QString("<missing>"));
        QCOMPARE(h.frame().recentFileActions().size(), qsizetype(2));

        // Ten entries at most, the newest first; a repeated file moves to the top.
        for (int i = 0; i < 12; ++i) h.context().recentFiles().add(QString("/x/%1.lmx").arg(i));
        h.context().recentFiles().add("/x/5.lmx");
        const QStringList entries = h.context().recentFiles().entries();
        QCOMPARE(entries.size(), qsizetype(10));
        QCOMPARE(entries.front(), QString("/x/5.lmx"));
        QCOMPARE(entries[1], QString("/x/11.lmx"));
        QVERIFY(!entries.contains(good));
        QCOMPARE(h.frame().recentFileActions().last()->text().left(4), QString("1&0 "));
        // The list survives a restart.
        h.destroy();
        QVERIFY(h.start());
        QCOMPARE(h.context().recentFiles().entries(), entries);
    }

    void recentFilesWaitForTheDiagramWindow() {
        ShellHarness h;  // no diagram window
        QVERIFY(h.startWithDatabase("[Recent Files]\r\nFile1=/gibt/es/nicht.lmx\r\n"));
        // Without a diagram window nothing can open: the entry stays and is disabled.
        QVERIFY(!h.isEnabled(24332));
        QCOMPARE(h.frame().recentFileActions().size(), qsizetype(2));
        QVERIFY(!h.frame().recentFileActions()[1]->isEnabled());
        h.app().openRecentFile("/gibt/es/nicht.lmx");
        QCOMPARE(h.context().recentFiles().entries().size(), qsizetype(1));
    }

    void helpStartsTheScriptOrTheManual() {
        Harness h;
        h.makeExamples(false);
        QVERIFY(h.startWithDatabase());
        const QString dir = h.path();
        // Examples without their configurations folder: that one falls back.
        QCOMPARE(QStringList({h.context().lastDir, h.context().lastConfigDir}),
                 QStringList({dir + "/Beispiele", dir}));
        QStringList started;
        QList<QUrl> opened;
        h.app().setHelpLaunchers(
            [&](const QString& program, const QStringList& args) {
                started = QStringList{program} + args;
                return true;
            },
            [&](const QUrl& url) {
                opened.append(url);
                return true;
            });
        // Neither script nor manual: the user is told, nothing is claimed.
        QVERIFY(h.trigger(2001));
        QVERIFY(started.isEmpty() && opened.isEmpty());
        QCOMPARE(h.messages.shown.size(), 1);
        QVERIFY(h.messages.shown[0].text.contains("Lumora Handbuch.pdf"));

        QDir().mkpath(dir + "/Hilfe");
        QFile(dir + "/Hilfe/Lumora Handbuch.pdf").open(QIODevice::WriteOnly);
        QVERIFY(h.trigger(2002));
        QCOMPARE(opened, QList<QUrl>({QUrl::fromLocalFile(dir + "/Hilfe/Lumora Handbuch.pdf")}));

        QFile(dir + "/LumoraHelp.sh").open(QIODevice::WriteOnly);
        QVERIFY(h.trigger(2001));
        QCOMPARE(started, QStringList({"/bin/sh", dir + "/LumoraHelp.sh",
                                       dir + "/Hilfe/Lumora Handbuch.pdf"}));
        QCOMPARE(opened.size(), qsizetype(1));
        QCOMPARE(h.messages.shown.size(), 1);
    }

    void aboutBoxShowsTheVersions() {
        Harness h;
        QVERIFY(h.startWithDatabase());
        auto* diagram =
            static_cast<FakeDiagram*>(h.openFakeDiagram(QCoreApplication::applicationFilePath()));
        QVERIFY(diagram);
        QString libraries;
        QList<bool> statesWhileOpen;
        h.dialogs.scripts.push_back([&](QDialog& d) {
            libraries = dynamic_cast<LumoraAboutDlg&>(d).libraryVersions();
            statesWhileOpen = diagram->modelessStates;
        });
        QVERIFY(h.trigger(2009));
        QVERIFY(libraries.contains(QString::fromUtf8(LumdbVersion())));
        QCOMPARE(statesWhileOpen, QList<bool>({false}));
        QCOMPARE(diagram->modelessStates, QList<bool>({false, true}));
    }

    void readsAndWritesThroughTheIniFile() {
        // The profile rules themselves are pinned by lumcore's tests; here the Qt side: text
        // in and out, defaults before the file exists, a new file in a new folder, and a
        // refusal that leaves the file alone.
        QTemporaryDir dir;
        const QString path = dir.filePath("sub/Lumora.ini");
        Profile p(path);
        QCOMPARE(p.getString("InitApp", "Name", "dflt"), QString("dflt"));
        QCOMPARE(p.getInt("InitApp", "Size", 9), 9);
        QCOMPARE(p.getDouble("Search Engine", "UpperWavelength", "1000"), 1000.0);
        QVERIFY(!QFile::exists(path));  // reading creates nothing
        QVERIFY(p.writeString("Directories and Files", "LastDir",
                              QString::fromUtf8("/daten/Meßergebnisse €")));
        QVERIFY(p.writeDouble("Search Engine", "UpperWavelength", 1234567.0));
        QVERIFY(p.writeInt("InitApp", "Size", 3));
        const QByteArray written =
            "[Directories and Files]\r\nLastDir=/daten/Me\xDF"
            "ergebnisse \x80\r\n\r\n"
            "[Search Engine]\r\nUpperWavelength=1.23457e+06\r\n\r\n[InitApp]\r\nSize=3\r\n";
        QCOMPARE(readBytes(path), written);
        QCOMPARE(p.getString("directories and files", "lastdir"),
                 QString::fromUtf8("/daten/Meßergebnisse €"));
        QCOMPARE(p.getDouble("Search Engine", "UpperWavelength", "1000"), 1234570.0);
        // A path Windows-1252 cannot hold is refused, not stored as a different path.
        QVERIFY(
            !p.writeString("Directories and Files", "LastDir", QString::fromUtf8("/daten/光谱")));
        QCOMPARE(readBytes(path), written);
        // The settings "file" is a directory: nothing can be written, and no success claimed.
        QVERIFY(QDir().mkpath(dir.filePath("Lumora.ini")));
        QVERIFY(!Profile(dir.filePath("Lumora.ini")).writeInt("InitApp", "Size", 3));
    }

    void programDirectoryAndFallback() {
        // LUMORA_HOME given (or naming no folder) is seen by the start-up cases above.
        QTemporaryDir dir;
        qunsetenv("LUMORA_HOME");
        QCOMPARE(ProgramLocation::programDirectory(),
                 QDir::cleanPath(QCoreApplication::applicationDirPath()));

        const QString program = dir.filePath("prog");
        const QString user = dir.filePath("user");
        QVERIFY(QDir().mkpath(program));
        // Not writable and no file yet: the per-user file, nothing copied.
        QCOMPARE(ProgramLocation::settingsFileFor(program, user, false), user + "/Lumora.ini");
        QVERIFY(!QFile::exists(user + "/Lumora.ini"));
        // Not writable with installed settings: the per-user file starts as their copy and is
        // not overwritten later.
        QFile installed(program + "/Lumora.ini");
        QVERIFY(installed.open(QIODevice::WriteOnly) && installed.write("[InitApp]\r\nSize=3\r\n"));
        installed.close();
        QCOMPARE(ProgramLocation::settingsFileFor(program, user, false), user + "/Lumora.ini");
        QCOMPARE(readBytes(user + "/Lumora.ini"), QByteArray("[InitApp]\r\nSize=3\r\n"));
        Profile(user + "/Lumora.ini").writeInt("InitApp", "Size", 9);
        ProgramLocation::settingsFileFor(program, user, false);
        QCOMPARE(Profile(user + "/Lumora.ini").getInt("InitApp", "Size", 0), 9);
    }

    void examplesFolderRule() {
        // A file of that name or a link is not the examples folder (the folder itself and its
        // absence are seen by the start-up cases above).
        QTemporaryDir dir;
        const QString base = QDir::cleanPath(dir.path());
        QVERIFY(QDir().mkpath(base + "/Beispiele"));
        QVERIFY(QFile(base + "/Datei").open(QIODevice::WriteOnly));
        QCOMPARE(ProgramLocation::subdirectoryOr(base, "Datei"), base);
        QVERIFY(QFile::link(base + "/Beispiele", base + "/Link"));
        QCOMPARE(ProgramLocation::subdirectoryOr(base, "Link"), base);
    }

    void dialogFilters() {
        const QStringList filters = FileDialog::nameFilters(
            QString::fromUtf8("Alle Dateien  (*.*)|*.*|ASCII-Dateien  (*.asc,*.txt)|*.asc;*.txt"
                              "|OOIBase-Dateien  (*.sample, *.scope)|*.sample; *.scope"
                              "|Binärdateien  (*.bin)|*.bin"));
        QCOMPARE(filters, QStringList({"Alle Dateien (*)", "ASCII-Dateien (*.asc *.txt)",
                                       "OOIBase-Dateien (*.sample *.scope)",
                                       QString::fromUtf8("Binärdateien (*.bin)")}));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
