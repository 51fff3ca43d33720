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
#include "dialogs/NumberField.h"
#include "dialogs/display/DisplayOptionDialogs.h"
#include "dialogs/search/SearchEngineDialog.h"

namespace {

CElement entry(const char* name, bool molecule = false) {
    return {name, molecule ? "*M" : "*A", MakeColor(0, 0, 200), {}, false};
}

struct Fixture {
    ScriptedMessageBox messages;
    ScriptedFileDialog files;
    ScriptedModalRunner dialogs;
    AppContext context{{&messages, &files, &dialogs}};
    TElementArray elements = {entry("H I"), entry("Fe I"), entry("Fe II"), entry("AlO", true)};
    SearchEngineDialogXfer xfer;
    SearchEngineDialog dialog;
    explicit Fixture(SearchEngineDialog::Use use = SearchEngineDialog::Use::DatabaseSearch,
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
            ++cases;
        }
        QCOMPARE(cases, 13);
    }

    void filtersAndBothUses() {
        Fixture search;
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
        for (Fixture* f : {&search, &lines}) {
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
        Fixture g(SearchEngineDialog::Use::DatabaseSearch, initial);
        g.context.lastConfigDir = dir.path() + "/start";
        g.dialog.neutrals()->setChecked(true);
        g.elements[1].selected = g.elements[3].selected = true;  // Fe I, AlO
        const QString path = dir.filePath("sel.lmc");
        g.files.results.push_back(ScriptedFileDialog::choose(path, 1));
        QVERIFY(g.dialog.saveConfiguration());
        const FileDialog::Request saved = g.files.requests.back();
        QCOMPARE(saved.filter, QStringLiteral("Lumora Konfiguration  (*.lmc)|*.lmc"));
        QCOMPARE(saved.defaultSuffix + saved.directory, "lmc" + dir.path() + "/start");
        QCOMPARE(g.context.lastConfigDir, dir.path());

        // Everything changed, then loaded back; the check box is the user's, not the file's.
        for (CElement& e : g.elements) e.selected = !e.selected;
        g.fill({"7", "500", "1", "1d5"}, "000");
        g.dialog.saveAsDefault()->setChecked(true);
        g.files.results.push_back(ScriptedFileDialog::choose(path, 1));
        QVERIFY(g.dialog.loadConfiguration());
        QCOMPARE(g.files.requests.back().caption, QStringLiteral("Konfiguration laden"));
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
};

QTEST_MAIN(SearchDialogTest)
#include "search_test.moc"
