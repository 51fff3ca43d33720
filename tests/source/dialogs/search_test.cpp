// "Datenbanksuche": its checks in order (texts, beep, focus, the stage question), what OK
// hands back, the character filters, the display options of both uses and a configuration
// saved and loaded again.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "ShellHarness.h"
#include "app/AppContext.h"
#include "dialogs/display/DisplayOptionDialogs.h"
#include "dialogs/search/SearchEngineDialog.h"

namespace {

CElement entry(const char* name, bool molecule = false) {
    return {name, molecule ? "*M" : "*A", MakeColor(0, 0, 200), {}, false};
}

TElementArray sampleTable() {
    return {entry("H I"), entry("Fe I"), entry("Fe II"), entry("O I"), entry("AlO", true)};
}

QString chosen(const TElementArray& elements) {
    QStringList names;
    for (const CElement& e : elements)
        if (e.selected) names << QString::fromStdString(e.name);
    return names.join(',');
}

struct Fixture {
    ScriptedMessageBox messages;
    ScriptedFileDialog files;
    ScriptedModalRunner dialogs;
    AppContext context{{&messages, &files, &dialogs}};
    TElementArray elements = sampleTable();
    SearchEngineDialogXfer xfer;
    SearchEngineDialog dialog;
    explicit Fixture(SearchEngineDialog::Use use = SearchEngineDialog::Use::DatabaseSearch,
                     SearchEngineDialogXfer initial = {})
        : xfer(std::move(initial)), dialog(context, use, elements, xfer) {}
};

}  // namespace

class SearchDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void checksInOrder() {
        std::ifstream in(std::string(LUMORA_TEST_DATA) + "/source/dialogs/data/search_checks.tsv");
        std::string line;
        int cases = 0;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            const QStringList c = QString::fromStdString(line).split('\t');
            QCOMPARE(c.size(), 8);
            Fixture f;
            f.dialog.show();
            QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
            for (int k = 0; k < 4; ++k)
                f.dialog.field(SearchEngineDialog::Field(k))->setText(c[k] == "_" ? "" : c[k]);
            f.dialog.neutrals()->setChecked(c[4][0] == '1');
            f.dialog.firstIons()->setChecked(c[4][1] == '1');
            f.dialog.higherIons()->setChecked(c[4][2] == '1');
            if (c[5] != "-")
                f.messages.answers.push_back(c[5] == "Yes" ? MessageBox::Answer::Yes
                                                           : MessageBox::Answer::No);
            f.dialog.accept();
            const bool accepted = c[6] == "ok";
            QCOMPARE(f.dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(f.dialog.isVisible(), !accepted);
            QCOMPARE(f.messages.shown.size(), c[5] == "-" ? (accepted ? 0 : 1) : 1);
            if (accepted) {
                SSearchEngineVal v;
                takeXfer(f.xfer, v);
                const QStringList n = c[7].split(' ');
                QCOMPARE(v.LowerWavelength, n[0].toFloat());
                QCOMPARE(v.UpperWavelength, n[1].toFloat());
                QCOMPARE(v.LowerIntensity, n[2].toFloat());
                QCOMPARE(v.UpperIntensity, n[3].toFloat());
                QCOMPARE(QString("%1%2%3")
                             .arg(int(v.Neutrals))
                             .arg(int(v.FirstIons))
                             .arg(int(v.HigherIons)),
                         c[4]);
                QCOMPARE(f.xfer.upperIntensity, c[3]);
            } else {
                QCOMPARE(f.messages.shown[0].text, QString(c[6]).replace("\\n", "\n"));
                QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Eingabefehler"));
                QCOMPARE(f.messages.shown[0].icon, MessageBox::Icon::Exclamation);
                QCOMPARE(f.messages.shown[0].buttons,
                         c[5] == "-" ? MessageBox::Buttons::Ok : MessageBox::Buttons::YesNo);
                QCOMPARE(f.messages.beeps, 1);
                const QStringList foci = {"lw", "uw", "li", "ui"};
                QWidget* focus =
                    c[7] == "neutrals"
                        ? static_cast<QWidget*>(f.dialog.neutrals())
                        : f.dialog.field(SearchEngineDialog::Field(foci.indexOf(c[7])));
                QCOMPARE(f.dialog.focusWidget(), focus);
                // A refused OK hands nothing back.
                QVERIFY(f.xfer.lowerWavelength.isEmpty());
                QCOMPARE(f.dialog.neutrals()->isChecked(), c[4][0] == '1');
            }
            ++cases;
        }
        QCOMPARE(cases, 13);
    }

    void filtersAndBothUses() {
        Fixture search;
        QCOMPARE(search.dialog.windowTitle(), QStringLiteral("Datenbanksuche"));
        QLineEdit* wavelength = search.dialog.field(SearchEngineDialog::UpperWavelength);
        QLineEdit* intensity = search.dialog.field(SearchEngineDialog::UpperIntensity);
        QTest::keyClicks(wavelength, "1d5e-2.3x");
        QTest::keyClicks(intensity, "1d5E+2.3x-");
        QCOMPARE(wavelength->text(), QStringLiteral("152.3"));
        QCOMPARE(intensity->text(), QStringLiteral("1d5E+2.3-"));

        // Each use opens its own options dialog; OK takes the choice, cancel does not.
        search.dialogs.scripts.push_back([](QDialog& d) {
            auto& o = static_cast<SearchEngineDisplayOptionDialog&>(d);
            o.sortRadio(displayoption::Sort::Intensity)->setChecked(true);
            o.intensityRadio(displayoption::Intensity::Aik)->setChecked(true);
            o.accept();
        });
        search.dialog.displayOptions();
        search.dialog.displayOptions();  // rejected by the runner
        SearchEngineDialogXfer shown;
        shown.intensityValues = true;
        Fixture lines(SearchEngineDialog::Use::DatabaseLines, shown);
        QCOMPARE(lines.dialog.windowTitle(),
                 QStringLiteral("Einstellungen: Linienpostionen aus Datenbank anzeigen"));
        lines.dialogs.scripts.push_back([](QDialog& d) {
            auto& o = static_cast<LineDisplayOptionDialog&>(d);
            QVERIFY(o.showValues());
            o.findChild<QCheckBox*>()->setChecked(false);
            o.intensityRadio(displayoption::Intensity::FValue)->setChecked(true);
            o.accept();
        });
        lines.dialog.displayOptions();
        QCOMPARE(search.dialogs.titles.size(), 2);
        QCOMPARE(lines.dialogs.titles.size(), 1);
        for (Fixture* f : {&search, &lines}) {
            f->dialog.field(SearchEngineDialog::LowerWavelength)->setText("1");
            f->dialog.field(SearchEngineDialog::UpperWavelength)->setText("2");
            f->dialog.field(SearchEngineDialog::LowerIntensity)->setText("0");
            f->dialog.field(SearchEngineDialog::UpperIntensity)->setText("1");
            f->dialog.neutrals()->setChecked(true);
            f->dialog.saveAsDefault()->setChecked(true);
            f->dialog.accept();
            QCOMPARE(f->dialog.result(), int(QDialog::Accepted));
            QVERIFY(f->xfer.saveAsDefault);
        }
        QCOMPARE(search.xfer.sortOption, 2);
        QCOMPARE(search.xfer.intensityOption, 2);
        QCOMPARE(lines.xfer.intensityOption, 1);
        QVERIFY(!lines.xfer.intensityValues);
    }

    void configurationRoundTrip() {
        QTemporaryDir dir;
        SearchEngineDialogXfer initial =
            xferOf(SSearchEngineVal{"", false, true, true, 400.5f, 500, 1, 1e5f});
        initial.sortOption = 1;
        Fixture g(SearchEngineDialog::Use::DatabaseSearch, initial);
        g.context.lastConfigDir = dir.path() + "/start";
        g.dialog.neutrals()->setChecked(true);
        g.elements[1].selected = g.elements[4].selected = true;  // Fe I, AlO
        const QString path = dir.filePath("sel.lmc");
        g.files.results.push_back(ScriptedFileDialog::choose(path, 1));
        QVERIFY(g.dialog.saveConfiguration());
        const FileDialog::Request saved = g.files.requests.back();
        QCOMPARE(saved.caption, QStringLiteral("Konfiguration speichern"));
        QCOMPARE(saved.filter, QStringLiteral("Lumora Konfiguration  (*.lmc)|*.lmc"));
        QCOMPARE(saved.defaultSuffix, QStringLiteral("lmc"));
        QCOMPARE(saved.directory, dir.path() + "/start");
        QCOMPARE(g.context.lastConfigDir, dir.path());
        const lumcore::IniFile ini = lumcore::IniFile::load(path.toStdString());
        QCOMPARE(ini.getString("Element Selection", "UpperIntensity"), std::string("100000"));
        QCOMPARE(ini.getString("Element Selection", "Fe II"), std::string("0"));

        // Everything changed, then loaded back; the check box is the user's, not the file's.
        for (CElement& e : g.elements) e.selected = !e.selected;
        g.dialog.higherIons()->setChecked(false);
        g.dialog.field(SearchEngineDialog::LowerWavelength)->setText("7");
        g.dialog.saveAsDefault()->setChecked(true);
        g.files.results.push_back(ScriptedFileDialog::choose(path, 1));
        QVERIFY(g.dialog.loadConfiguration());
        QCOMPARE(g.files.requests.back().caption, QStringLiteral("Konfiguration laden"));
        QCOMPARE(chosen(g.elements), QStringLiteral("Fe I,AlO"));
        QCOMPARE(g.dialog.field(SearchEngineDialog::LowerWavelength)->text(),
                 QStringLiteral("400.5"));
        QCOMPARE(g.dialog.field(SearchEngineDialog::UpperIntensity)->text(),
                 QStringLiteral("100000"));
        QVERIFY(g.dialog.neutrals()->isChecked() && g.dialog.firstIons()->isChecked() &&
                g.dialog.higherIons()->isChecked());
        QVERIFY(g.dialog.saveAsDefault()->isChecked());
        g.dialog.accept();
        QCOMPARE(g.xfer.sortOption, 1);
        QVERIFY(!g.dialog.saveConfiguration() && !g.dialog.loadConfiguration());  // cancelled

        // A file that cannot be written is told, and nothing is claimed.
        g.files.results.push_back(ScriptedFileDialog::choose(dir.filePath("no/x.lmc"), 1));
        QVERIFY(!g.dialog.saveConfiguration());
        QCOMPARE(g.messages.shown.back().caption, QStringLiteral("Dateifehler"));
        QCOMPARE(g.messages.shown.back().text,
                 "Die Datei " + dir.filePath("no/x.lmc") + " kann nicht geschrieben werden.");
    }
};

QTEST_MAIN(SearchDialogTest)
#include "search_test.moc"
