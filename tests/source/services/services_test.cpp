// The program's services: lumio's questions on Qt (the refusals of the number dialogs in
// their order, the dialogs run through the modal runner, the messages mapped onto the message
// box service), lumdb's Qt run host (status dialog, "Abbruch", throttled pumping, messages,
// the calling window disabled) and the reports' status dialogs with their own cancel flags.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QtTest>
#include <memory>

#include "ShellHarness.h"
#include "TestFiles.h"
#include "services/QtLumioUi.h"
#include "services/QtRunHost.h"
#include "services/ReaderDialogs.h"
#include "services/SearchStatusDialog.h"
#include "services/ShowStatusDialog.h"

namespace {

std::unique_ptr<NumberChoiceDialog> numberDialog(const QString& kind, MessageBox& box) {
    if (kind == "trace") return std::make_unique<SelectTraceDialog>("a.txt", 5, 1, box, nullptr);
    if (kind == "winspec")
        return std::make_unique<SelectWinSpecTraceDialog>("a.spe", 3, 2, lumio::Ui::FrameStrip{},
                                                          box, nullptr);
    return std::make_unique<SelectMapsTraceDialog>("a.mps", lumio::MapsChoice{2, 3, 4, 5},
                                                   lumio::MapsChoice{}, box, nullptr);
}

// Exposes the protected pump.
class ProbeHost : public QtRunHost {
  public:
    using QtRunHost::QtRunHost;
    bool pumpOnce() { return pump(); }
};

// More than 45 characters: shown as its text up to the first separator, "..." and its name.
const std::string kLongPath = "/home/anna/messungen/plasma/2026/dezember/serie/s1.txt";

template <typename D>
D& as(QDialog& dialog) {
    auto* d = qobject_cast<D*>(&dialog);
    if (!d) qFatal("unexpected dialog %s", dialog.metaObject()->className());
    return *d;
}

}  // namespace

class ServicesTest : public QObject {
    Q_OBJECT
  private slots:
    void refusalsInOrder() {
        const auto rows =
            lumtest::tableRows(LUMORA_TEST_DATA "/source/services/data/number_refusals.tsv");
        QCOMPARE(rows.size(), std::size_t(18));
        for (const std::string& row : rows) {
            const QStringList c = QString::fromStdString(row).split('\t');
            ScriptedMessageBox box;
            auto dialog = numberDialog(c[0], box);
            dialog->show();
            const QStringList entries = c[2].split('|');
            for (int i = 0; i < entries.size(); ++i) dialog->entry(i)->setText(entries[i]);
            dialog->accept();
            const bool accepted = c[3].isEmpty();
            QVERIFY2(box.shown.size() == !accepted && box.beeps == !accepted &&
                         dialog->isVisible() != accepted &&
                         (dialog->result() == QDialog::Accepted) == accepted,
                     row.c_str());
            if (accepted) continue;
            const auto& shown = box.shown[0];
            QVERIFY2(shown.text == c[3] && shown.caption == "Eingabefehler" &&
                         shown.icon == MessageBox::Icon::Exclamation &&
                         shown.buttons == MessageBox::Buttons::Ok &&
                         dialog->focusWidget() == dialog->entry(c[1].toInt()),
                     row.c_str());
        }
    }

    void choicesThroughTheRunner() {
        ScriptedMessageBox box;
        ScriptedModalRunner runner;
        int helps = 0;
        QtLumioUi ui(nullptr, box, runner, [&helps] { ++helps; });

        runner.scripts.push_back([&](QDialog& d) {
            auto& trace = as<SelectTraceDialog>(d);
            QCOMPARE(trace.shownPath(), QString("/.../s1.txt"));
            QCOMPARE(trace.entry(0)->text(), QString("3"));
            for (QPushButton* b : trace.findChildren<QPushButton*>())
                if (b->text() == "Hilfe") b->click();
            // Only digits can be typed.
            trace.entry(0)->clear();
            QTest::keyClicks(trace.entry(0), "-9 a");
            QCOMPARE(trace.entry(0)->text(), QString("9"));
            trace.accept();  // refused, stays open
            trace.entry(0)->setText("4");
            trace.accept();
        });
        QCOMPARE(ui.chooseTrack(kLongPath, 5, 3), std::optional<int>(4));
        QCOMPARE(helps, 1);
        QCOMPARE(box.beeps, 1);

        runner.scripts.push_back([](QDialog& d) {
            auto& dialog = as<SelectWinSpecTraceDialog>(d);
            QCOMPARE(dialog.entry(0)->text(), QString("1"));  // strip
            QCOMPARE(dialog.entry(1)->text(), QString("2"));  // frame
            dialog.entry(1)->setText("3");
            dialog.accept();
        });
        const auto frameStrip = ui.chooseFrameStrip("a.spe", 3, 2, {2, 1});
        QVERIFY(frameStrip && frameStrip->frame == 3 && frameStrip->strip == 1);

        runner.scripts.push_back([](QDialog& d) {
            auto& dialog = as<SelectMapsTraceDialog>(d);
            for (int i = 0; i < 4; ++i) {
                QCOMPARE(dialog.entry(i)->text(), QString::number(i + 1));
                dialog.entry(i)->setText(QString::number(i + 2));
            }
            dialog.accept();
        });
        QCOMPARE(ui.chooseMaps("a.mps", {2, 3, 4, 5}, {1, 2, 3, 4}),
                 std::optional(lumio::MapsChoice{2, 3, 4, 5}));

        // The format list: the 0-based preselection, nothing selected out of range (the
        // reader refuses position 0); the chosen position counts from 1.
        runner.scripts.push_back([](QDialog& d) {
            auto& dialog = as<FileFormatDialog>(d);
            QCOMPARE(dialog.list()->currentIndex(), 1);
            dialog.list()->setCurrentIndex(2);
            dialog.accept();
        });
        runner.scripts.push_back([](QDialog& d) {
            QCOMPARE(as<FileFormatDialog>(d).list()->currentIndex(), -1);
            d.accept();
        });
        const std::vector<std::string> formats = {"Lumora-Datei", "ASCII-Datei", "Binärdatei"};
        QCOMPARE(ui.chooseFormat("a.xyz", formats, 1), std::optional<int>(3));
        QCOMPARE(ui.chooseFormat("a.xyz", formats, 3), std::optional<int>(0));

        runner.scripts.push_back([](QDialog& d) {
            auto& dialog = as<SelectTraceComboDialog>(d);
            QCOMPARE(dialog.list()->currentText(), QString("Absorbance"));
            dialog.list()->setCurrentIndex(2);
            dialog.accept();
        });
        const std::vector<std::string> names = {"Dark", "Reference", "Sample", "Absorbance"};
        QCOMPARE(ui.chooseColumn("a.tat", names, 3), std::optional<int>(2));

        // Without a script every dialog is cancelled.
        QVERIFY(!ui.chooseTrack("a", 2, 1) && !ui.chooseFrameStrip("a", 2, 2, {}) &&
                !ui.chooseMaps("a", {2, 2, 2, 2}, {}) && !ui.chooseFormat("a", formats, 0) &&
                !ui.chooseColumn("a", names, 0));
    }

    void messagesMapped() {
        ScriptedMessageBox box;
        ScriptedModalRunner runner;
        QWidget owner;
        QtLumioUi ui(&owner, box, runner, nullptr);
        const std::pair<lumio::Icon, MessageBox::Icon> icons[] = {
            {lumio::Icon::Stop, MessageBox::Icon::Stop},
            {lumio::Icon::Exclamation, MessageBox::Icon::Exclamation},
            {lumio::Icon::Information, MessageBox::Icon::Information},
            {lumio::Icon::Question, MessageBox::Icon::Question}};
        for (const auto& [icon, shown] : icons) {
            QCOMPARE(
                ui.message("/daten/größe.txt\nFehler", "Dateiformat", icon, lumio::Buttons::Ok),
                lumio::Answer::Ok);
            QCOMPARE(box.shown.back().icon, shown);
        }
        QVERIFY(box.shown[0].text == "/daten/größe.txt\nFehler" &&
                box.shown[0].caption == "Dateiformat" &&
                box.shown[0].buttons == MessageBox::Buttons::Ok && box.shown[0].owned);
        // A question closed without a button is answered no.
        using A = MessageBox::Answer;
        box.answers = {A::Yes, A::No, A::Cancel};
        for (const lumio::Answer expected :
             {lumio::Answer::Yes, lumio::Answer::No, lumio::Answer::No})
            QCOMPARE(ui.message("?", "", lumio::Icon::Question, lumio::Buttons::YesNo), expected);
        QCOMPARE(box.shown.back().buttons, MessageBox::Buttons::YesNo);
    }

    void runHostStatusAbortAndMessages() {
        QWidget window;
        window.show();
        ScriptedMessageBox box;
        ProbeHost host(&window, box);
        host.enableParent(false);
        QVERIFY(!window.isEnabled());
        host.openStatus();
        SearchStatusDialog* status = host.statusDialog();
        QVERIFY(status && status->isVisible() && !status->isModal());
        host.refreshStatus("Datenbanksuche", "Fe I", 0, 500);
        QCOMPARE(status->processText() + '|' + status->phaseText(), QString("Datenbanksuche|Fe I"));
        QCOMPARE(status->upper(), 500);
        // Steps without a pause reach no event processing; after 20 ms the position shows.
        QVERIFY(!host.step(120));
        QThread::msleep(QtRunHost::kPumpIntervalMs + 5);
        QVERIFY(!host.pumpNow());
        QCOMPARE(status->position(), 120);
        // "Abbruch" is seen by the next pump; a new run starts without the old abort.
        auto* abort = status->findChild<QPushButton*>("abortButton");
        QVERIFY(abort);
        abort->click();
        QVERIFY(host.pumpOnce());
        host.closeStatus();
        QVERIFY(host.statusDialog() == nullptr);
        host.enableParent(true);
        QVERIFY(window.isEnabled());
        host.openStatus();
        QVERIFY(!host.pumpNow());
        host.closeStatus();

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
        QVERIFY(box.shown[0].caption == "Datenbankquelle" &&
                box.shown[0].icon == MessageBox::Icon::Information &&
                box.shown[0].buttons == MessageBox::Buttons::OkCancel && !box.shown[0].owned);
        QVERIFY(box.shown[1].icon == MessageBox::Icon::Stop && box.shown[1].owned);
    }

    // Each report's dialog has its own cancel flag: "Abbruch" on one and Escape on another.
    void statusDialogs() {
        ShowStatusDialog first(QStringLiteral("Datenbanksuche:"), QStringLiteral("Ausdruck"), 0, 9);
        first.Start();
        QVERIFY(first.isVisible() && !first.cancelled());
        first.SetProgress(4);
        QCOMPARE(first.position(), 4);
        for (QPushButton* b : first.findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Abbruch")) b->click();
        QVERIFY(first.cancelled());
        ShowStatusDialog second(QStringLiteral("Linieninformation:"), QStringLiteral("Ausdruck"), 0,
                                2);
        second.Start();
        QCOMPARE(ShowStatusDialog::running(), 2);
        QVERIFY(first.cancelled() && !second.cancelled());
        QTest::keyClick(&second, Qt::Key_Escape);
        QVERIFY(second.cancelled());
    }
};

QTEST_MAIN(ServicesTest)
#include "services_test.moc"
