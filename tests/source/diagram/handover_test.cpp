// Hand-over from an acquisition program and the command channel: the hand-over files, the
// naming of its temporary spectrum, waiting while the program is busy, and the socket.
#include <QDialog>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <future>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "app/HandoverServer.h"
#include "app/LumoraMDIClient.h"
#include "app/RecentFiles.h"
#include "diagram/LumoraWindow.h"

namespace {

struct Session : DiagramSession {
    LumoraMDIClient* client = nullptr;

    Session() {
        client = shell.app().client();
        client->setHandoverDir(dir.path());
    }
    QString spectrum(const QString& name) { return write(name, "400 1\n500 3\n600 2\n"); }
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

class HandoverTest : public QObject {
    Q_OBJECT
  private slots:
    void handoverFiles() {
        Session s;
        // CRLF line end; 555 opens a new diagram, 556 adds to the active one.
        const QString a = s.spectrum("a.txt");
        s.write("lmx.tmp", a.toStdString() + "\r\nrest\r\n");
        QCOMPARE(s.remote("555"), QByteArray("ok"));
        QCOMPARE(s.client->childCount(), 1);
        QCOMPARE(s.window()->caption(), a);
        // The acquisition program's temporary spectrum: named by position, not remembered.
        const QString temporary = s.spectrum("lmxtmp.txt");
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
        QCOMPARE(s.remote("open " + s.spectrum("b.txt").toUtf8()), QByteArray("ok"));
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

QTEST_MAIN(HandoverTest)
#include "handover_test.moc"
