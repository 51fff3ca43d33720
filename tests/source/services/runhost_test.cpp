// The Qt run host of lumdb: the status dialog with "Abbruch", the throttled pumping, the
// message boxes through the service and the enabling of the calling window.
#include <QPushButton>
#include <QThread>
#include <QtTest>

#include "ShellHarness.h"
#include "services/QtRunHost.h"
#include "services/SearchStatusDialog.h"

namespace {

// Exposes the protected pump for the throttling test.
class ProbeHost : public QtRunHost {
  public:
    using QtRunHost::QtRunHost;
    bool pumpOnce() { return pump(); }
};

}  // namespace

class RunHostTest : public QObject {
    Q_OBJECT
  private slots:
    void statusDialogAndAbort() {
        QWidget window;
        window.show();
        ScriptedMessageBox box;
        ProbeHost host(&window, box);
        host.enableParent(false);
        QVERIFY(!window.isEnabled());
        host.openStatus();
        SearchStatusDialog* status = host.statusDialog();
        QVERIFY(status && status->isVisible());
        QCOMPARE(status->windowTitle(), QString("Status"));
        QVERIFY(!status->isModal());
        host.refreshStatus("Datenbanksuche", "Fe I", 0, 500);
        QCOMPARE(status->processText(), QString("Datenbanksuche"));
        QCOMPARE(status->phaseText(), QString("Fe I"));
        QCOMPARE(status->upper(), 500);

        // Steps without a pause reach no event processing; after 20 ms the position shows.
        QVERIFY(!host.step(120));
        QThread::msleep(QtRunHost::kPumpIntervalMs + 5);
        QVERIFY(!host.pumpNow());
        QCOMPARE(status->position(), 120);

        // "Abbruch" is seen by the next pump.
        auto* abort = status->findChild<QPushButton*>("abortButton");
        QVERIFY(abort);
        QCOMPARE(abort->text(), QString("Abbruch"));
        abort->click();
        QVERIFY(host.pumpOnce());
        host.closeStatus();
        QVERIFY(host.statusDialog() == nullptr);
        host.enableParent(true);
        QVERIFY(window.isEnabled());

        // A new run starts without the old abort.
        host.openStatus();
        QVERIFY(!host.pumpNow());
        host.closeStatus();
    }

    void messagesGoThroughTheService() {
        ScriptedMessageBox box;
        QWidget window;
        QtRunHost host(&window, box);
        box.answers = {MessageBox::Answer::Cancel, MessageBox::Answer::Ok};
        QCOMPARE(host.message("Bitte legen Sie die CD ein", "Datenbankquelle",
                              lumdb::Icon::Information, lumdb::Buttons::OkCancel, false),
                 lumdb::Answer::Cancel);
        QCOMPARE(
            host.message("Datei fehlt", "Liniensuche", lumdb::Icon::Stop, lumdb::Buttons::Ok, true),
            lumdb::Answer::Ok);
        host.beep();
        QCOMPARE(box.beeps, 1);
        QCOMPARE(box.shown.size(), 2);
        QCOMPARE(box.shown[0].caption, QString("Datenbankquelle"));
        QCOMPARE(box.shown[0].icon, MessageBox::Icon::Information);
        QCOMPARE(box.shown[0].buttons, MessageBox::Buttons::OkCancel);
        QVERIFY(!box.shown[0].owned);
        QCOMPARE(box.shown[1].icon, MessageBox::Icon::Stop);
        QVERIFY(box.shown[1].owned);
    }
};

QTEST_MAIN(RunHostTest)
#include "runhost_test.moc"
