// lumio's questions on Qt: the refusals of the number dialogs in their order, the dialogs run
// through the modal runner (initial values, shortened path, cancel, help, the chosen values)
// and the messages mapped onto the message box service.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "ShellHarness.h"
#include "services/QtLumioUi.h"
#include "services/ReaderDialogs.h"

namespace {

enum class Kind { Trace, WinSpec, Maps };

// Track count 5; 3 frames of 2 strips (the strip entry first); Maps counts 2, 3, 4, 5.
std::unique_ptr<NumberChoiceDialog> numberDialog(Kind kind, MessageBox& box) {
    switch (kind) {
        case Kind::Trace:
            return std::make_unique<SelectTraceDialog>("a.txt", 5, 1, box, nullptr);
        case Kind::WinSpec:
            return std::make_unique<SelectWinSpecTraceDialog>(
                "a.spe", 3, 2, lumio::Ui::FrameStrip{}, box, nullptr);
        case Kind::Maps:
            return std::make_unique<SelectMapsTraceDialog>("a.mps", lumio::MapsChoice{2, 3, 4, 5},
                                                           lumio::MapsChoice{}, box, nullptr);
    }
    return nullptr;
}

// More than 45 characters: shown as its text up to the first separator, "..." and its name.
const std::string kLongPath = "/home/anna/messungen/plasma/2026/dezember/serie/s1.txt";

template <typename D>
D& as(QDialog& dialog) {
    auto* d = qobject_cast<D*>(&dialog);
    if (!d) qFatal("unexpected dialog %s", dialog.metaObject()->className());
    return *d;
}

}  // namespace

class LumioUiTest : public QObject {
    Q_OBJECT
  private slots:
    // Every row types the entries (layout order, "|"-separated) and presses OK once.
    void refusalsInOrder() {
        struct Row {
            Kind kind;
            const char* entries;
            const char* refusal;  // empty: accepted
            int focus;
        };
        const Row rows[] = {
            {Kind::Trace, "", "Geben eine Datenspur an!", 0},
            {Kind::Trace, "0", "Geben Sie eine gültige Datenspur an!", 0},
            {Kind::Trace, "2147483648", "Geben Sie eine gültige Datenspur an!", 0},
            {Kind::Trace, "05", "", 0},
            {Kind::WinSpec, "|", "Geben einen Frame an!", 1},
            {Kind::WinSpec, "|4", "Geben Sie einen gültigen Frame an!", 1},
            {Kind::WinSpec, "|3", "Geben einen Stripe an!", 0},
            {Kind::WinSpec, "3|3", "Geben Sie einen gültigen Stripe an!", 0},
            {Kind::WinSpec, "2|3", "", 0},
            {Kind::Maps, "|||", "Geben eine Position an!", 0},
            {Kind::Maps, "3|||", "Geben Sie eine gültige Position an!", 0},
            {Kind::Maps, "2|||", "Geben eine Sequenz an!", 1},
            {Kind::Maps, "2|0||", "Geben Sie eine gültige Sequenz an!", 1},
            {Kind::Maps, "2|3||", "Geben eine Belichtungsspur an!", 2},
            {Kind::Maps, "2|3|2147483648|", "Geben Sie eine gültige Belichtungsspur an!", 2},
            {Kind::Maps, "2|3|4|", "Geben eine Datenspur an!", 3},
            {Kind::Maps, "2|3|4|6", "Geben Sie eine gültige Datenspur an!", 3},
            {Kind::Maps, "2|3|4|5", "", 0},
        };
        for (const Row& row : rows) {
            const QByteArray where = QByteArray(row.entries) + " -> " + row.refusal;
            ScriptedMessageBox box;
            auto dialog = numberDialog(row.kind, box);
            dialog->show();
            const QStringList entries = QString(row.entries).split('|');
            for (int i = 0; i < entries.size(); ++i) dialog->entry(i)->setText(entries[i]);
            dialog->accept();
            const QString refusal = QString::fromUtf8(row.refusal);
            if (refusal.isEmpty()) {
                QVERIFY2(box.shown.isEmpty() && dialog->result() == QDialog::Accepted &&
                             !dialog->isVisible(),
                         where);
                continue;
            }
            const auto& shown = box.shown;
            QVERIFY2(shown.size() == 1 && shown[0].text == refusal && box.beeps == 1 &&
                         shown[0].caption == "Eingabefehler" &&
                         shown[0].icon == MessageBox::Icon::Exclamation &&
                         shown[0].buttons == MessageBox::Buttons::Ok,
                     where);
            QVERIFY2(dialog->isVisible() && dialog->result() != QDialog::Accepted &&
                         dialog->focusWidget() == dialog->entry(row.focus),
                     where);
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
        QCOMPARE(runner.titles,
                 QStringList({"Datenspur", "Datenspur", "Datenspur", "Unbekanntes Dateiformat",
                              "Unbekanntes Dateiformat", "Datenspur"}));

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
        QCOMPARE(box.shown[0].text, QString("/daten/größe.txt\nFehler"));
        QCOMPARE(box.shown[0].caption, QString("Dateiformat"));
        QCOMPARE(box.shown[0].buttons, MessageBox::Buttons::Ok);
        QVERIFY(box.shown[0].owned);
        // A question closed without a button is answered no.
        using A = MessageBox::Answer;
        box.answers = {A::Yes, A::No, A::Cancel};
        for (const lumio::Answer expected :
             {lumio::Answer::Yes, lumio::Answer::No, lumio::Answer::No})
            QCOMPARE(ui.message("?", "", lumio::Icon::Question, lumio::Buttons::YesNo), expected);
        QCOMPARE(box.shown.back().buttons, MessageBox::Buttons::YesNo);
    }
};

QTEST_MAIN(LumioUiTest)
#include "lumioui_test.moc"
