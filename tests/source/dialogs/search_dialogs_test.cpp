// The settings dialogs of the searches. "Datenbanksuche": its checks in order (texts, beep,
// focus, the stage question), what OK hands back, the character filters, the display options
// of both uses and a configuration saved and loaded again. "Einstellungen: Spektrum
// identifizieren": the checks of both pages through OK (texts, beep, focus, the page brought
// forward, the stage question), the character filters, and a real diagram's sheet taking a
// loaded configuration, copying into the window and saving.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "DiagramSession.h"
#include "TestFiles.h"
#include "app/AppContext.h"
#include "app/Commands.h"
#include "dialogs/NumberField.h"
#include "dialogs/analysis/SearchLinesDialog.h"
#include "dialogs/analysis/SearchOptionsPropSheet.h"
#include "dialogs/display/DisplayOptionDialogs.h"
#include "dialogs/elements/ElementListBox.h"
#include "dialogs/elements/ElementSelectionPanel.h"
#include "dialogs/search/SearchEngineDialog.h"

namespace {

CElement entry(const char* name, bool molecule = false) {
    return {name, molecule ? "*M" : "*A", MakeColor(0, 0, 200), {}, false};
}

// The scripted services and the context handed to a dialog.
struct Services {
    ScriptedMessageBox messages;
    ScriptedFileDialog files;
    ScriptedModalRunner dialogs;
    AppContext context{{&messages, &files, &dialogs}};
};

struct SearchFixture : Services {
    TElementArray elements = {entry("H I"), entry("Fe I"), entry("Fe II"), entry("AlO", true)};
    SearchEngineDialogXfer xfer;
    SearchEngineDialog dialog;
    explicit SearchFixture(SearchEngineDialog::Use use = SearchEngineDialog::Use::DatabaseSearch,
                           SearchEngineDialogXfer initial = {})
        : xfer(std::move(initial)), dialog(context, use, elements, xfer) {}
    void fill(const QStringList& texts, const QString& stages) {
        for (int k = 0; k < 4; ++k)
            dialog.field(SearchEngineDialog::Field(k))->setText(texts[k] == "_" ? "" : texts[k]);
        dialog.neutrals()->setChecked(stages[0] == '1');
        dialog.firstIons()->setChecked(stages[1] == '1');
        dialog.higherIons()->setChecked(stages[2] == '1');
    }
};

struct SheetFixture : Services {
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

class SearchDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void searchChecksInOrder() {
        const auto rows =
            lumtest::tableRows(LUMORA_TEST_DATA "/source/dialogs/data/search_checks.tsv");
        QCOMPARE(rows.size(), std::size_t(13));
        for (const std::string& line : rows) {
            const QStringList c = QString::fromStdString(line).split('\t');
            QCOMPARE(c.size(), 8);
            SearchFixture f;
            f.dialog.show();
            QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
            f.fill(c.mid(0, 4), c[4]);
            if (c[5] != "-")
                f.messages.answers.push_back(c[5] == "Yes" ? MessageBox::Answer::Yes
                                                           : MessageBox::Answer::No);
            f.dialog.accept();
            const bool accepted = c[6] == "ok";
            QCOMPARE(f.dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(f.messages.shown.size(), c[5] == "-" && accepted ? 0 : 1);
            if (accepted) {
                SSearchEngineVal v;
                takeXfer(f.xfer, v);
                const QStringList n = c[7].split(' ');
                const float read[] = {v.LowerWavelength, v.UpperWavelength, v.LowerIntensity,
                                      v.UpperIntensity};
                for (int k = 0; k < 4; ++k) QCOMPARE(read[k], n[k].toFloat());
                QCOMPARE(QString("%1%2%3")
                             .arg(int(v.Neutrals))
                             .arg(int(v.FirstIons))
                             .arg(int(v.HigherIons)),
                         c[4]);
            } else {
                QCOMPARE(f.messages.shown[0].text, QString(c[6]).replace("\\n", "\n"));
                QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Eingabefehler"));
                QCOMPARE(f.messages.shown[0].buttons,
                         c[5] == "-" ? MessageBox::Buttons::Ok : MessageBox::Buttons::YesNo);
                QCOMPARE(f.messages.beeps, 1);
                const int field = QStringList{"lw", "uw", "li", "ui"}.indexOf(c[7]);
                QCOMPARE(f.dialog.focusWidget(),
                         field < 0 ? static_cast<QWidget*>(f.dialog.neutrals())
                                   : f.dialog.field(SearchEngineDialog::Field(field)));
                // A refused OK hands nothing back and leaves the stages as they were.
                QVERIFY(f.xfer.lowerWavelength.isEmpty());
                QCOMPARE(f.dialog.neutrals()->isChecked(), c[4][0] == '1');
            }
        }
    }

    void filtersAndBothUses() {
        SearchFixture search;
        QTest::keyClicks(search.dialog.field(SearchEngineDialog::UpperWavelength), "1d5e-2.3x");
        QTest::keyClicks(search.dialog.field(SearchEngineDialog::UpperIntensity), "1d5E+2.3x-");
        QCOMPARE(search.dialog.field(SearchEngineDialog::UpperWavelength)->text(),
                 QStringLiteral("152.3"));
        QCOMPARE(search.dialog.field(SearchEngineDialog::UpperIntensity)->text(),
                 QStringLiteral("1d5E+2.3-"));

        // Each use opens its own options dialog; its OK takes the choice.
        search.dialogs.scripts.push_back([](QDialog& d) {
            auto& o = static_cast<SearchEngineDisplayOptionDialog&>(d);
            o.sortRadio(displayoption::Sort::Intensity)->setChecked(true);
            o.accept();
        });
        search.dialog.displayOptions();
        SearchEngineDialogXfer shown;
        shown.intensityValues = true;
        SearchFixture lines(SearchEngineDialog::Use::DatabaseLines, shown);
        lines.dialogs.scripts.push_back([](QDialog& d) {
            auto& o = static_cast<LineDisplayOptionDialog&>(d);
            QVERIFY(o.showValues());
            o.findChild<QCheckBox*>()->setChecked(false);
            o.intensityRadio(displayoption::Intensity::FValue)->setChecked(true);
            o.accept();
        });
        lines.dialog.displayOptions();
        for (SearchFixture* f : {&search, &lines}) {
            f->fill({"1", "2", "0", "1"}, "100");
            f->dialog.saveAsDefault()->setChecked(true);
            f->dialog.accept();
            QVERIFY(f->xfer.saveAsDefault);
        }
        QCOMPARE(search.xfer.sortOption, 2);
        QCOMPARE(lines.xfer.intensityOption, 1);
        QVERIFY(!lines.xfer.intensityValues);
    }

    void configurationRoundTrip() {
        QTemporaryDir dir;
        SearchEngineDialogXfer initial =
            xferOf(SSearchEngineVal{"", false, true, true, 400.5f, 500, 1, 1e5f});
        initial.sortOption = 1;
        SearchFixture g(SearchEngineDialog::Use::DatabaseSearch, initial);
        g.context.lastConfigDir = dir.path() + "/start";
        g.dialog.neutrals()->setChecked(true);
        g.elements[1].selected = g.elements[3].selected = true;  // Fe I, AlO
        const QString path = dir.filePath("sel.lmc");
        g.files.results.push_back(ScriptedFileDialog::choose(path, 1));
        QVERIFY(g.dialog.saveConfiguration());
        const FileDialog::Request saved = g.files.requests.back();
        QCOMPARE(saved.defaultSuffix + saved.directory, "lmc" + dir.path() + "/start");
        QCOMPARE(g.context.lastConfigDir, dir.path());

        // Everything changed, then loaded back; the check box is the user's, not the file's.
        for (CElement& e : g.elements) e.selected = !e.selected;
        g.fill({"7", "500", "1", "1d5"}, "000");
        g.dialog.saveAsDefault()->setChecked(true);
        g.files.results.push_back(ScriptedFileDialog::choose(path, 1));
        QVERIFY(g.dialog.loadConfiguration());
        QVERIFY(g.elements[1].selected && g.elements[3].selected);
        QVERIFY(!g.elements[0].selected && !g.elements[2].selected);
        QCOMPARE(g.dialog.field(SearchEngineDialog::LowerWavelength)->text(),
                 QStringLiteral("400.5"));
        QCOMPARE(numberfield::read(g.dialog.field(SearchEngineDialog::UpperIntensity)).value_or(0),
                 1e5f);
        QVERIFY(g.dialog.higherIons()->isChecked() && g.dialog.saveAsDefault()->isChecked());
        g.dialog.accept();
        QCOMPARE(g.xfer.sortOption, 1);
        QVERIFY(g.xfer.neutrals && g.xfer.firstIons);

        // A file that cannot be written is told, and nothing is claimed.
        g.files.results.push_back(ScriptedFileDialog::choose(dir.filePath("no/x.lmc"), 1));
        QVERIFY(!g.dialog.saveConfiguration());
        QCOMPARE(g.messages.shown.back().caption, QStringLiteral("Dateifehler"));
        QCOMPARE(g.messages.shown.back().text,
                 "Die Datei " + dir.filePath("no/x.lmc") + " kann nicht geschrieben werden.");
    }

    void sheetChecksInOrder() {
        const auto rows =
            lumtest::tableRows(LUMORA_TEST_DATA "/source/dialogs/data/search_options_checks.tsv");
        QCOMPARE(rows.size(), std::size_t(28));
        for (const std::string& line : rows) {
            const QStringList c = QString::fromStdString(line).split('\t');
            SheetFixture f;
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
        }
    }

    void enablingAndFilters() {
        SheetFixture f;
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
            return QByteArray::fromStdString(lumtest::readFile(path.toStdString()));
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

QTEST_MAIN(SearchDialogsTest)
#include "search_dialogs_test.moc"
