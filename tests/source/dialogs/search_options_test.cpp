// "Einstellungen: Spektrum identifizieren": the checks of both pages through OK (texts,
// beep, focus, the page brought forward, the stage question), the character filters, and a
// real diagram's sheet taking a loaded configuration, copying into the window and saving.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <fstream>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "dialogs/analysis/SearchLinesDialog.h"
#include "dialogs/analysis/SearchOptionsPropSheet.h"
#include "dialogs/elements/ElementListBox.h"
#include "dialogs/elements/ElementSelectionPanel.h"

namespace {

struct Fixture {
    ScriptedMessageBox messages;
    ScriptedFileDialog files;
    ScriptedModalRunner dialogs;
    AppContext context{{&messages, &files, &dialogs}};
    TElementArray elements = {{"Fe", "*A", MakeColor(0, 0, 200), {}, false}};
    SearchOptionsPropSheetXfer xfer = passing();
    SearchOptionsPropSheet sheet{context, elements, xfer};

    static SearchOptionsPropSheetXfer passing() {
        SearchOptionsPropSheetXfer x = xferOf(lumdb::AnalysisSettings::defaults());
        x.search.smoothing.points = "9";
        x.search.smoothing.displayedPoints = "5";
        x.select.searchRange = "0.1";
        x.select.neutrals = true;
        return x;
    }
    QWidget* control(const QString& name) {
        SearchValuesPropPage& v = *sheet.searchPage();
        SelectElementPropPage& e = *sheet.selectPage();
        SmoothingControls& s = v.smoothing();
        const QStringList names{"ft",    "std", "cut", "ftw",   "sg",     "deg", "sgw", "zoom",
                                "noise", "nv",  "neu", "range", "irange", "lo",  "hi"};
        QList<QWidget*> controls{s.fourier, s.standard, s.cutoff, s.fourierWidth, s.polynomial};
        controls << s.degree << s.polynomialWidth << s.displayedOnly << v.noiseBox();
        controls << v.noiseField() << e.neutralsBox() << e.searchRangeField();
        controls << e.intensityRangeBox() << e.lowerIntensityField() << e.upperIntensityField();
        return controls.value(names.indexOf(name));
    }
};

}  // namespace

class SearchOptionsTest : public QObject {
    Q_OBJECT
  private slots:
    void checksInOrder() {
        std::ifstream in(std::string(LUMORA_TEST_DATA) +
                         "/source/dialogs/data/search_options_checks.tsv");
        std::string line;
        int cases = 0;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            const QStringList c = QString::fromStdString(line).split('\t');
            Fixture f;
            f.sheet.show();
            QVERIFY(QTest::qWaitForWindowActive(&f.sheet));
            for (const QString& set : c[0].split(' ')) {
                const QString name = set.section('=', 0, 0), value = set.section('=', 1);
                QWidget* control = f.control(name);
                QVERIFY2(control, qPrintable(name));
                if (auto* box = qobject_cast<QCheckBox*>(control))
                    box->setChecked(value == "1");
                else
                    static_cast<QLineEdit*>(control)->setText(value == "_" ? "" : value);
            }
            if (c[1] != "-")
                f.messages.answers.push_back(c[1] == "Yes" ? MessageBox::Answer::Yes
                                                           : MessageBox::Answer::No);
            const bool accepted = c[2] == "ok";
            // The other page is in front, so a refusal must bring its own forward.
            f.sheet.tabs()->setCurrentIndex(accepted ? 0 : 1 - c[4].toInt());
            f.sheet.accept();
            QCOMPARE(f.sheet.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(f.messages.shown.size(), c[1] == "-" && accepted ? 0 : 1);
            if (accepted) {
                // What the window takes, as its settings file would hold it.
                lumdb::AnalysisSettings taken;
                takeXfer(f.xfer, taken);
                lumcore::IniFile ini;
                lumdb::saveAnalysisSettings(ini, {}, taken);
                for (const QString& expect : c[3].split(' ')) {
                    const std::string key = expect.section('=', 0, 0).toStdString();
                    QCOMPARE(ini.getString(key == "Neutrals" ? lumdb::kSectionElementSelection
                                                             : lumdb::kSectionSearchValues,
                                           key),
                             expect.section('=', 1).toStdString());
                }
            } else {
                QCOMPARE(f.messages.shown[0].text, QString(c[2]).replace("\\n", "\n"));
                QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Eingabefehler"));
                QCOMPARE(f.messages.beeps, 1);
                QCOMPARE(f.sheet.focusWidget(), f.control(c[3]));
                QCOMPARE(f.sheet.tabs()->currentIndex(), c[4].toInt());
                QCOMPARE(f.xfer.select.searchRange, QStringLiteral("0.1"));  // nothing handed back
            }
            ++cases;
        }
        QCOMPARE(cases, 28);
    }

    void enablingAndFilters() {
        Fixture f;
        SearchValuesPropPage& p = *f.sheet.searchPage();
        SmoothingControls& s = p.smoothing();
        QVERIFY(!s.cutoff->isEnabled() && !s.standard->isEnabled() && !s.degree->isEnabled());
        QVERIFY(!p.noiseField()->isEnabled() && !p.filterDataBox()->isEnabled());
        s.fourier->setChecked(true);
        QVERIFY(s.cutoff->isEnabled() && p.filterDataBox()->isEnabled());
        s.cutoff->clear();
        QTest::keyClicks(s.cutoff, "1e2-x5");
        QCOMPARE(s.cutoff->text(), QStringLiteral("125"));
        s.standard->setChecked(true);
        QVERIFY(!s.cutoff->isEnabled() && !s.fourierWidth->isEnabled());
        p.noiseBox()->setChecked(true);
        p.noiseField()->clear();
        QTest::keyClicks(p.noiseField(), "1d-2x,5");
        QCOMPARE(p.noiseField()->text(), QStringLiteral("1d-25"));
        // One "Als Standard speichern" on both pages.
        f.sheet.selectPage()->saveAsDefaultBox()->setChecked(true);
        QVERIFY(p.saveAsDefaultBox()->isChecked());
    }

    // A real diagram: "Einstellungen" opens the sheet, a loaded configuration shows on both
    // pages, OK copies into the window and saves into the settings file while no
    // configuration file is in use; then into the configuration file, and with "Als Standard
    // speichern" into the settings file as well.
    void windowLoadsTakesAndSaves() {
        DiagramSession s;
        QVERIFY(s.started);
        std::string points;
        for (int i = 0; i < 20; ++i) points += std::to_string(400 + i * 0.01) + " 1\n";
        LumoraWindow* w = s.open(s.write("a.txt", points));
        QVERIFY(w);
        QVERIFY(s.shell.trigger(cmd::OpenIdentification));
        QPushButton* settings = w->searchLinesDialog()->settingsButton();
        const QString lmc = s.write("a.lmc",
                                    "[Element Selection]\nFe=1\nNeutrals=0\nHigherIons=1\n"
                                    "[Search Values]\nSearchRange=0.25\nFTFilter=1\n"
                                    "FreqNumber=18\nFreqCutoff=9\nNoise=1\nNoiseValue=2.5\n");
        const auto edit = [&](std::function<void(SearchOptionsPropSheet&)> script) {
            s.shell.dialogs.scripts.push_back(
                [script](QDialog& d) { script(static_cast<SearchOptionsPropSheet&>(d)); });
            settings->click();
        };
        s.shell.files.results.push_back(ScriptedFileDialog::choose(lmc, 1));
        edit([&](SearchOptionsPropSheet& sheet) {
            QCOMPARE(sheet.tabs()->tabText(0) + '|' + sheet.tabs()->tabText(1),
                     QStringLiteral("Linien suchen|Linien identifizieren"));
            QCOMPARE(sheet.selectPage()->elements()->selected()->count(), 0);
            sheet.button(1, SearchOptionsPropSheet::LoadConfiguration)->click();
            SearchValuesPropPage& v = *sheet.searchPage();
            QVERIFY(v.smoothing().fourier->isChecked() && v.noiseBox()->isChecked());
            QCOMPARE(v.smoothing().cutoff->text() + ' ' + v.noiseField()->text(), "18 2.5");
            QCOMPARE(sheet.selectPage()->searchRangeField()->text(), QStringLiteral("0.25"));
            QVERIFY(sheet.selectPage()->higherIonsBox()->isChecked() &&
                    !sheet.selectPage()->neutralsBox()->isChecked());
            QVERIFY(sheet.selectPage()->elements()->selected()->count() > 0);
            // 20 points: a cut-off above them is refused with their count.
            v.smoothing().cutoff->setText("21");
            sheet.accept();
            QCOMPARE(s.lastMessage(), QStringLiteral("Die Filterfrequenz muß kleiner als die "
                                                     "Anzahl der Datenpunkte(20) sein!"));
            v.smoothing().cutoff->setText("20");
            sheet.accept();
        });
        QCOMPARE(s.shell.dialogs.titles.back(),
                 QStringLiteral("Einstellungen: Spektrum identifizieren"));
        const lumdb::AnalysisSettings& a = w->document().analysis;
        QCOMPARE(a.select.SearchRange, 0.25f);
        QVERIFY(a.select.HigherIons && a.search.Noise);
        QCOMPARE(a.search.FreqNumber, 20);
        for (const char* key : {"SearchRange=0.25", "FreqNumber=20", "Fe=1", "NoiseValue=2.5"})
            QVERIFY2(s.shell.settingsBytes().contains(key), key);

        // "Konfiguration speichern" writes the sheet's values; cancelling keeps the window's.
        const QString b = s.dir.filePath("b.lmc");
        s.shell.files.results.push_back(ScriptedFileDialog::choose(b, 1));
        edit([](SearchOptionsPropSheet& sheet) {
            sheet.selectPage()->searchRangeField()->setText("0.5");
            QVERIFY(sheet.saveConfiguration());
        });
        QCOMPARE(a.select.SearchRange, 0.25f);
        const auto file = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        QVERIFY(file(b).contains("SearchRange=0.5"));
        for (const bool asDefault : {false, true}) {
            edit([asDefault](SearchOptionsPropSheet& sheet) {
                sheet.selectPage()->searchRangeField()->setText(asDefault ? "0.75" : "0.125");
                sheet.searchPage()->saveAsDefaultBox()->setChecked(asDefault);
                sheet.accept();
            });
            QVERIFY(file(b).contains(asDefault ? "SearchRange=0.75" : "SearchRange=0.125"));
            QCOMPARE(s.shell.settingsBytes().contains("SearchRange=0.75"), asDefault);
        }
    }
};

QTEST_MAIN(SearchOptionsTest)
#include "search_options_test.moc"
