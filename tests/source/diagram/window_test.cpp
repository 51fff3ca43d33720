// The diagram window in the started program: opening and overlaying files, the messages of
// failed reads, closing overlays, file information, Save As, configurations, the painted
// curves, and the hand-over from an acquisition program with the command channel.
#include <QtTest>
#include <future>

#include "DiagramSession.h"
#include "ScriptedUi.h"
#include "app/Commands.h"
#include "app/HandoverServer.h"
#include "app/RecentFiles.h"
#include "lumio/Outcome.h"

namespace {

bool hasColour(const QImage& shot, QRgb colour) {
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if ((shot.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
}

struct Session : DiagramSession {
    LumoraMDIClient* client = nullptr;

    Session() {
        client = shell.app().client();
        client->setHandoverDir(dir.path());
    }
    QString spectrum(int k) {
        return write(QStringLiteral("s%1.txt").arg(k),
                     "400 1\n500 " + std::to_string(3 + 2 * k) + "\n600 2\n");
    }
    std::size_t count() { return window()->document().overlays().count(); }
    void overlay(const QStringList& files) {
        FileDialog::Result r;
        r.accepted = true;
        r.files = files;
        r.filterIndex = 2;
        shell.files.results.push_back(r);
        QVERIFY(shell.trigger(cmd::FileOverlay));
    }
    // Sends `line` through the command channel and returns the answer.
    QByteArray remote(const QByteArray& line) {
        auto answer = std::async(std::launch::async, [&] {
            return HandoverServer::send(shell.app().handover()->serverName(), line, 10000);
        });
        while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        return answer.get().value_or("<none>");
    }
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT
  private slots:
    void openingAndOverlaying() {
        Session s;
        QVERIFY(s.client->openDocument(s.spectrum(0)));
        QCOMPARE(s.window()->caption(), s.dir.filePath("s0.txt"));
        QCOMPARE(s.shell.context().recentFiles().entries().front(), s.dir.filePath("s0.txt"));
        // Once the loop runs, the first spectrum is shown whole with room above and below;
        // opening is nothing to undo.
        QCoreApplication::processEvents();
        const auto range = s.window()->document().range();
        QVERIFY(range[0] == 400 && range[1] == 600 && range[2] < 1 && range[3] > 3);
        QVERIFY(!s.shell.isEnabled(cmd::FileCloseOverlay));
        QVERIFY(!s.shell.isEnabled(cmd::Undo));

        // Eight more, then five chosen into nine: three open, and the user is told.
        QStringList eight, five;
        for (int k = 1; k <= 8; ++k) eight << s.spectrum(k);
        s.overlay(eight);
        QCOMPARE(s.count(), std::size_t(9));
        for (int k = 9; k <= 13; ++k) five << s.spectrum(k);
        s.overlay(five);
        QCOMPARE(s.count(), std::size_t(12));
        QVERIFY(s.lastMessage().endsWith("Nicht alle ausgewählten Dateien werden geöffnet."));
        QCOMPARE(s.window()->caption(), s.dir.filePath("s11.txt"));
        // A full diagram says so without a file dialog.
        const qsizetype requests = s.shell.files.requests.size();
        QVERIFY(s.shell.trigger(cmd::FileOverlay));
        QCOMPARE(s.shell.files.requests.size(), requests);
        QVERIFY(s.lastMessage().endsWith("Es können keine weiteren Dateien geöffnet werden."));
        QVERIFY(s.shell.messages.beeps >= 2);

        // The plot selection makes another current; a cancelled x format leaves no spectrum.
        QVERIFY(s.window()->setCurrentSpectrum(0) && !s.window()->setCurrentSpectrum(12));
        QCOMPARE(s.window()->caption(), s.dir.filePath("s0.txt"));
        QVERIFY(s.window()->setCurrentSpectrum(11));
        QVERIFY(s.shell.trigger(cmd::FileCloseOverlay));
        s.window()->setXFormatStep(
            [](SpectrumRecord&) { throw lumio::Outcome("CancelConvertWavelength"); });
        const qsizetype before = s.shell.messages.shown.size();
        QVERIFY(!s.window()->addSpectrumFile(s.spectrum(20)));
        QCOMPARE(s.shell.messages.shown.size(), before);
        QCOMPARE(s.count(), std::size_t(11));
        QCOMPARE(s.window()->caption(), s.dir.filePath("s10.txt"));
        QVERIFY(s.shell.trigger(cmd::FileCloseAllOverlays));
        QCOMPARE(s.count(), std::size_t(1));
        QCOMPARE(s.window()->caption(), s.dir.filePath("s0.txt"));
    }

    void failedReads() {
        Session s;
        const int children = s.client->childCount();
        QVERIFY(!s.client->openDocument(s.dir.filePath("missing.txt")));
        QCOMPARE(s.lastMessage(),
                 QStringLiteral("Datei existiert nicht oder der Pfadname hat sich geändert!"));
        QVERIFY(!s.client->openDocument(s.write("empty.txt", "")));
        QCOMPARE(s.lastMessage(), QStringLiteral("In der Datei befinden sich keine Daten!"));
        // A file that neither its extension nor its content names asks for the format; a
        // cancelled choice says nothing.
        const qsizetype shown = s.shell.messages.shown.size();
        QVERIFY(!s.client->openDocument(s.write("probe.xyz", "\x01\x02\x03")));
        QCOMPARE(s.shell.messages.shown.size(), shown);
        QCOMPARE(s.client->childCount(), children);
        // An unexpected failure inside a read (here the question about falling x values) is
        // told once.
        struct FailingUi : lumtest::ScriptedUi {
            lumio::Answer message(const std::string&, const std::string&, lumio::Icon,
                                  lumio::Buttons) override {
                throw std::runtime_error("no answer");
            }
        };
        s.shell.context().setLumioUiFactory([](QWidget*) { return std::make_unique<FailingUi>(); });
        QVERIFY(!s.client->openDocument(s.write("zigzag.txt", "4 1\n3 2\n5 3\n2 4\n")));
        QCOMPARE(s.shell.messages.shown.size(), shown + 1);
        QCOMPARE(s.lastMessage(), QStringLiteral("Fehler beim Öffnen der Datei!"));
        s.shell.context().setLumioUiFactory({});
        // A failed overlay leaves the diagram as it was.
        QVERIFY(s.client->openDocument(s.spectrum(0)));
        s.overlay({s.spectrum(1), s.dir.filePath("missing.txt"), s.spectrum(2)});
        QCOMPARE(s.count(), std::size_t(2));
    }

    void informationAndSaving() {
        Session s;
        QVERIFY(s.client->openDocument(s.spectrum(0)));
        QVERIFY(s.shell.trigger(cmd::FileInformation));
        QCOMPARE(s.lastMessage(), QStringLiteral("Datei:                s0.txt"
                                                 "\nWellenlänge:    400  -  600"
                                                 "\nIntensität:         1  -  3"
                                                 "\nDatenpunkte:   3\n"));

        // Save As: the type's extension is added; only a native save renames the spectrum.
        s.shell.files.results.push_back(ScriptedFileDialog::choose(s.dir.filePath("copy"), 3));
        QVERIFY(s.shell.trigger(cmd::FileSaveAs));
        QVERIFY(QFileInfo::exists(s.dir.filePath("copy.txt")));
        QCOMPARE(s.window()->caption(), s.dir.filePath("s0.txt"));
        s.shell.files.results.push_back(ScriptedFileDialog::choose(s.dir.filePath("kept.lmx"), 1));
        QVERIFY(s.shell.trigger(cmd::FileSaveAs));
        QCOMPARE(s.window()->caption(), s.dir.filePath("kept.lmx"));
        // A target that cannot be replaced (here a folder of that name): the user is asked,
        // told, and the spectrum keeps its name.
        QVERIFY(QDir(s.dir.path()).mkdir("blocked.lmx"));
        s.shell.files.results.push_back(ScriptedFileDialog::choose(s.dir.filePath("blocked"), 1));
        const qsizetype shown = s.shell.messages.shown.size();
        QVERIFY(s.shell.trigger(cmd::FileSaveAs));
        QVERIFY(s.shell.messages.shown[shown].text.contains("existiert bereits"));
        QCOMPARE(s.shell.messages.shown.size(), shown + 2);
        QVERIFY(s.lastMessage().contains("blocked.lmx"));
        QCOMPARE(s.window()->caption(), s.dir.filePath("kept.lmx"));
        QVERIFY(QFileInfo(s.dir.filePath("blocked.lmx")).isDir());
    }

    void configurations() {
        Session s;
        QVERIFY(s.client->openDocument(s.spectrum(0)));
        LumoraWindow* first = s.window();
        DiagramDocument& a = first->document();
        QVERIFY(!a.identificationElements.empty());
        a.analysis.select.SearchRange = 0.037f;
        a.analysis.search.SGFilter = true;
        a.analysis.search.FilterWidth = 7;
        a.identificationElements[1].selected = true;
        a.databaseElements[2].selected = true;
        a.database.UpperIntensity = 555;
        const QString lastDir = s.shell.context().lastDir;
        const QString config = s.dir.filePath("ident.lmc");
        s.shell.files.results.push_back(ScriptedFileDialog::choose(config, 1));
        QVERIFY(first->saveConfigurationAs(LumoraWindow::SettingsPart::Identification));
        QCOMPARE(QString::fromStdString(a.configurationPath), config);
        // Only the saved part's selection is in the file.
        const lumcore::IniFile saved = lumcore::IniFile::load(config.toStdString());
        QCOMPARE(saved.getInt("Element Selection", a.identificationElements[1].name, 0), 1);
        QCOMPARE(saved.getInt("Element Selection", a.databaseElements[2].name, 0), 0);

        // Loaded into another diagram: the identification part arrives, the database part
        // stays, the open dialog's folder is untouched.
        QVERIFY(s.client->openDocument(s.spectrum(1)));
        DiagramDocument& b = s.window()->document();
        b.database.UpperIntensity = 777;
        s.shell.files.results.push_back(ScriptedFileDialog::choose(config, 1));
        QVERIFY(s.window()->loadConfiguration(LumoraWindow::SettingsPart::Identification));
        QVERIFY(b.analysis.select.SearchRange == 0.037f && b.analysis.search.SGFilter &&
                b.analysis.search.FilterWidth == 7 && b.identificationElements[1].selected);
        QCOMPARE(b.database.UpperIntensity, 777.0f);
        QCOMPARE(s.shell.context().lastDir, lastDir);
        QCOMPARE(s.shell.context().lastConfigDir, s.dir.path());
        // The database part from its own file.
        s.shell.files.results.push_back(ScriptedFileDialog::choose(s.dir.filePath("db.lmc"), 1));
        QVERIFY(first->saveConfigurationAs(LumoraWindow::SettingsPart::Database));
        s.shell.files.results.push_back(ScriptedFileDialog::choose(s.dir.filePath("db.lmc"), 1));
        QVERIFY(s.window()->loadConfiguration(LumoraWindow::SettingsPart::Database));
        QCOMPARE(b.database.UpperIntensity, 555.0f);
        QVERIFY(b.databaseElements[2].selected);
        QCOMPARE(b.database.LowerWavelength, 400.0f);

        // A configuration that cannot be written (its folder is gone): told, false.
        a.configurationPath = s.dir.filePath("gone/ident.lmc").toStdString();
        const qsizetype shown = s.shell.messages.shown.size();
        QVERIFY(!first->saveSettings(LumoraWindow::SettingsPart::Identification));
        QCOMPARE(s.shell.messages.shown.size(), shown + 1);
        QVERIFY(s.lastMessage().endsWith("Die Datei konnte nicht geschrieben werden."));
    }

    void dropsAndModelessDialogs() {
        Session s;
        // On the free area each file gets a diagram; on a diagram they are overlaid.
        const auto url = [&](int k) { return QUrl::fromLocalFile(s.spectrum(k)); };
        s.client->openDropped({url(0), url(1)});
        QCOMPARE(s.client->childCount(), 2);
        s.window()->overlayDropped({url(2), url(3)});
        QCOMPARE(s.count(), std::size_t(3));

        // A registered dialog is enabled again after a read; minimising the last diagram
        // still shown hides it, while another diagram is shown it stays.
        QWidget dialog;
        dialog.show();
        LumoraWindow* w = s.window();
        w->setModelessDialog(LumoraWindow::Modeless::LineSearch, &dialog);
        w->setModelessDialogsEnabled(false);
        QVERIFY(!s.window()->addSpectrumFile(s.dir.filePath("missing.txt")));
        QVERIFY(dialog.isEnabled());
        QCoreApplication::processEvents();
        auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        frame->showMinimized();
        QVERIFY(dialog.isVisible());
        for (QMdiSubWindow* other : s.client->subWindowList())
            if (other != frame) other->showMinimized();
        frame->showNormal();
        frame->showMinimized();
        QVERIFY(!dialog.isVisible());
        QVERIFY(!s.shell.isEnabled(cmd::FileInformation));
    }

    // The curves in their pens; the view toggles with their check marks and settings keys,
    // black/white drawing with the black pen; a drawing error told once.
    void viewTogglesAndPaintedCurves() {
        Session s;
        QVERIFY(s.client->openDocument(s.spectrum(0)));
        s.overlay({s.spectrum(1), s.spectrum(2)});
        LumoraWindow* w = s.window();
        w->parentWidget()->resize(420, 340);
        const QImage shot = w->grab().toImage();
        for (QRgb colour : {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(128, 128, 0)})
            QVERIFY(hasColour(shot, colour));
        const auto checked = [&](int id) {
            s.shell.frame().updateCommandStates();
            return s.shell.frame().action(id)->isChecked();
        };
        const DiagramDocument& doc = w->document();
        for (int id : {cmd::HorizontalGrid, cmd::LogY, cmd::BlackAndWhite}) {
            QVERIFY(!checked(id));
            QVERIFY(s.shell.trigger(id));
            QVERIFY(checked(id));
        }
        QCOMPARE(int(doc.plot().drawFlags & (kDrawYGrid | kDrawYLinear | kDrawXGrid)), kDrawYGrid);
        QVERIFY(doc.plot().stateFlags & kStateBlackWhite);
        const lumcore::IniFile ini = s.shell.context().profile().read();
        QCOMPARE(ini.getInt("InitWindow", "HorizontalLines", 0), 1);
        QCOMPARE(ini.getInt("InitWindow", "LogY", 0), 1);
        QVERIFY(s.shell.trigger(cmd::LogY));
        QVERIFY(!checked(cmd::LogY) && (doc.plot().drawFlags & kDrawYLinear));
        QCOMPARE(s.shell.context().profile().read().getInt("InitWindow", "LogY", 1), 0);
        QVERIFY(!hasColour(w->grab().toImage(), qRgb(255, 0, 0)));

        // A logarithmic x axis over a range reaching 0 cannot be drawn: told once, later.
        w->document().plot().drawFlags &= ~std::uint16_t(kDrawXLinear);
        w->document().plot().xMin = 0;
        w->redraw();
        const qsizetype shown = s.shell.messages.shown.size();
        w->grab();
        QCOMPARE(s.shell.messages.shown.size(), shown);
        w->grab();
        QCoreApplication::processEvents();
        QCOMPARE(s.shell.messages.shown.size(), shown + 1);
        QCOMPARE(s.shell.messages.shown.back().caption, QStringLiteral("Graphikfehler"));
        // The axis went back to linear, in the menu and in the settings, and draws again.
        QVERIFY(w->document().plot().drawFlags & kDrawXLinear);
        QVERIFY(!w->document().isChecked(cmd::LogX));
        QCOMPARE(s.shell.context().profile().read().getInt("InitWindow", "LogX", 1), 0);
        w->grab();
        QCoreApplication::processEvents();
        QCOMPARE(s.shell.messages.shown.size(), shown + 1);
    }

    // Hand-over files: CRLF line end; 555 opens a new diagram, 556 adds to the active one.
    void handoverFiles() {
        Session s;
        const QString a = s.spectrum(0);
        s.write("lmx.tmp", a.toStdString() + "\r\nrest\r\n");
        QCOMPARE(s.remote("555"), QByteArray("ok"));
        QCOMPARE(s.client->childCount(), 1);
        QCOMPARE(s.window()->caption(), a);
        // The acquisition program's temporary spectrum: named by position, not remembered.
        const QString temporary = s.write("lmxtmp.txt", "400 1\n500 3\n600 2\n");
        s.write("lmx.tmp", temporary.toStdString() + "\n");
        QCOMPARE(s.remote("556"), QByteArray("ok"));
        QCOMPARE(s.window()->document().overlays().count(), std::size_t(2));
        QCOMPARE(s.window()->caption(), QStringLiteral("Spektrum 2"));
        QVERIFY(!s.shell.context().recentFiles().entries().contains(temporary));
        QVERIFY(s.shell.context().recentFiles().entries().contains(a));
        // CtrlSpec.txt opens a new diagram.
        s.write("CtrlSpec.txt", a.toStdString());
        s.shell.app().remoteCommand("551");
        QCOMPARE(s.client->childCount(), 2);
        // A full diagram: 556 says so and adds nothing.
        for (int k = 0; k < 11; ++k) s.window()->addSpectrumFile(a);
        QCOMPARE(s.window()->document().overlays().count(), std::size_t(12));
        s.shell.app().remoteCommand("556");
        QVERIFY(s.shell.messages.shown.back().text.endsWith(
            "Es können keine weiteren Dateien geöffnet werden."));
        QCOMPARE(s.window()->document().overlays().count(), std::size_t(12));

        // A hand-over file that is a link, or missing, is not followed.
        QFile::remove(s.dir.filePath("lmx.tmp"));
        QVERIFY(QFile::link(s.dir.filePath("CtrlSpec.txt"), s.dir.filePath("lmx.tmp")));
        const qsizetype shown = s.shell.messages.shown.size();
        s.shell.app().remoteCommand("555");
        QFile::remove(s.dir.filePath("CtrlSpec.txt"));
        s.shell.app().remoteCommand("551");
        QCOMPARE(s.shell.messages.shown.size(), shown + 2);
        QCOMPARE(s.shell.messages.shown.back().text,
                 QStringLiteral("Datei existiert nicht oder der Pfadname hat sich geändert!"));
        QCOMPARE(s.client->childCount(), 2);
    }

    void waitsWhileBusy() {
        Session s;
        int ran = 0;
        // A file being read (the busy scope), then a modal dialog such as a reader's question.
        s.shell.context().busy = 1;
        s.client->whenIdle([&] { ++ran; });
        QTest::qWait(120);
        QCOMPARE(ran, 0);
        QDialog question;
        question.setModal(true);
        question.show();
        s.shell.context().busy = 0;
        QTest::qWait(120);
        QCOMPARE(ran, 0);
        question.hide();
        QTRY_COMPARE(ran, 1);
    }

    void commandChannel() {
        Session s;
        QCOMPARE(s.remote("123"), QByteArray("disabled"));  // no diagram yet
        QCOMPARE(s.remote("open " + s.spectrum(1).toUtf8()), QByteArray("ok"));
        QCOMPARE(s.client->childCount(), 1);
        QCOMPARE(s.remote("123"), QByteArray("ok"));
        QCOMPARE(s.remote("112"), QByteArray("disabled"));
        QCOMPARE(s.remote("99999"), QByteArray("unknown"));
        QCOMPARE(s.remote("181"), QByteArray("ok"));
        QCOMPARE(s.remote("open " + s.dir.filePath("missing.txt").toUtf8()), QByteArray("failed"));
        for (const QByteArray& bad :
             {QByteArray("12a"), QByteArray(""), QByteArray(17, '1'), QByteArray(5000, 'x')})
            QCOMPARE(s.remote(bad), QByteArray("unknown"));
        // A second server on the same name gives way to the running one; a stale socket
        // file is taken over.
        HandoverServer second([](const QByteArray&, const HandoverServer::Reply& r) { r("x"); });
        QVERIFY(!second.listen(s.shell.app().handover()->serverName()));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
