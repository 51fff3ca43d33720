// The database search window: the question, the caption of the range, closing on cancel, on
// a failed search and on a cancelled report, the defaults it keeps and stores, saving the
// result as text or RTF (and refusing an unwritable file), and printing its pages.
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPdfWriter>
#include <QPushButton>
#include <QtTest>

#include "ScriptedRunHost.h"
#include "ShellHarness.h"
#include "app/Profile.h"
#include "dialogs/search/SearchEngineDialog.h"
#include "lumreport/SearchReport.h"
#include "reports/ReportPrinter.h"
#include "reports/ReportView.h"
#include "reports/SearchEngineEdit.h"
#include "services/ShowStatusDialog.h"

namespace {

struct Harness : ShellHarness {
    Harness() { windows.searchWindow = &SearchEngineEdit::open; }

    // Every element and stage selected, so that any range holds lines.
    bool startSelectingAll() {
        if (!startWithDatabase()) return false;
        for (CElement& e : context().searchElements) e.selected = true;
        context().searchSettings.neutrals = context().searchSettings.firstIons = true;
        return true;
    }
    // Answers the next question with the range and OK (`saveDefault` ticks the box).
    void answer(const QString& lower, const QString& upper, bool saveDefault = false) {
        dialogs.scripts.push_back([=](QDialog& d) {
            auto& dialog = dynamic_cast<SearchEngineDialog&>(d);
            dialog.field(SearchEngineDialog::LowerWavelength)->setText(lower);
            dialog.field(SearchEngineDialog::UpperWavelength)->setText(upper);
            if (saveDefault) dialog.saveAsDefault()->setChecked(true);
            dialog.accept();
        });
    }
    // Opens a search window and waits until it has asked (and searched, when answered).
    SearchEngineEdit* search() {
        const int before = app().client()->childCount();
        if (!trigger(117)) return nullptr;
        auto* edit = qobject_cast<SearchEngineEdit*>(app().client()->activeSubWindow()->widget());
        const int asked = dialogs.titles.size();
        if (!QTest::qWaitFor([&] { return dialogs.titles.size() > asked; }, 5000)) return nullptr;
        QCoreApplication::processEvents();
        return app().client()->childCount() > before ? edit : nullptr;
    }
};

QString fileText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void searchShowsTheRangeAndKeepsTheDefaults() {
        Harness h;
        QVERIFY(h.startSelectingAll());
        h.answer("400", "500");
        SearchEngineEdit* edit = h.search();
        QVERIFY(edit);
        QCOMPARE(h.dialogs.titles, QStringList({"Datenbanksuche"}));
        QCOMPARE(edit->parentWidget()->windowTitle(), QString("400 nm bis 500 nm"));
        QVERIFY(edit->result().size() > 10);
        for (const CSearchEngineLine& line : edit->result().items())
            QVERIFY(line.wavelength >= 400 && line.wavelength <= 500);
        QVERIFY(edit->view()->report() && edit->view()->report()->size() > edit->result().size());
        // The next window starts with this one's range; nothing stored without the box.
        QCOMPARE(h.context().searchSettings.upperWavelength, 500.0);
        QVERIFY(!h.settingsBytes().contains("[Search Engine]"));

        // Equal bounds pass and make the caption; the box stores the defaults.
        h.answer("404.5", "404.5", true);
        SearchEngineEdit* same = h.search();
        QVERIFY(same && same != edit);
        QCOMPARE(same->parentWidget()->windowTitle(), QString("404.5 nm bis 404.5 nm"));
        const Profile stored(h.settingsPath());
        QCOMPARE(stored.getString("Search Engine", "LowerWavelength", {}), QString("404.5"));
        QCOMPARE(stored.getString("Search Engine", "Neutrals", {}), QString("1"));
        QCOMPARE(h.app().client()->childCount(), 2);
    }

    void cancelAndFailureClose() {
        Harness h;
        QVERIFY(h.startSelectingAll());
        QVERIFY(!h.search());  // the question cancelled
        QTRY_COMPARE(h.app().client()->childCount(), 0);
        // A database file that has gone: the library asks for the disc, the user cancels and
        // the window closes.
        QDir data(h.path() + "/Data");
        for (const QString& name : data.entryList(QDir::Files))
            if (name != "Elements.lmt") QVERIFY(data.remove(name));
        h.messages.answers = {MessageBox::Answer::Cancel};
        h.answer("400", "500");
        h.search();
        QTRY_COMPARE(h.app().client()->childCount(), 0);
        QCOMPARE(h.messages.shown.size(), 1);
        QCOMPARE(h.messages.shown[0].caption, QString("Datenbankquelle"));
    }

    void cancelledReportClosesAndLeavesOthersWhole() {
        Harness h;
        QVERIFY(h.startSelectingAll());
        h.answer("200", "900");
        SearchEngineEdit* whole = h.search();
        QVERIFY(whole);
        // "Abbruch" in the status dialog at the report's first pump.
        h.answer("200", "900");
        h.dialogs.scripts.back() = [inner = h.dialogs.scripts.back()](QDialog& d) {
            inner(d);
            QTimer::singleShot(0, [] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* status = qobject_cast<ShowStatusDialog*>(w))
                        if (auto* b = status->findChild<QPushButton*>()) b->click();
            });
        };
        h.context().setRunHostFactory([](QWidget*) {  // a search that does not pump
            return std::make_unique<lumtest::ScriptedRunHost>();
        });
        QVERIFY(h.trigger(117));
        QTRY_COMPARE(h.app().client()->childCount(), 1);
        QCOMPARE(h.app().client()->subWindowList().front()->widget(), whole);

        // The other window's save writes every row, whatever was cancelled elsewhere.
        QTemporaryDir out;
        const QString text = out.filePath("ergebnis.txt");
        QVERIFY(whole->saveResultTo(text));
        const QStringList rows = fileText(text).split('\n', Qt::SkipEmptyParts);
        const auto results = std::count_if(rows.begin(), rows.end(),
                                           [](const QString& r) { return r.front().isDigit(); });
        QCOMPARE(qsizetype(results), qsizetype(whole->result().size()));
    }

    void savesTextAndRtfAndReportsFailures() {
        Harness h;
        QVERIFY(h.startSelectingAll());
        h.answer("400", "410");
        SearchEngineEdit* edit = h.search();
        QVERIFY(edit);
        QTemporaryDir out;
        // No extension: the filter's; the folder is remembered for the next time.
        h.files.results = {ScriptedFileDialog::choose(out.filePath("bericht"), 2),
                           ScriptedFileDialog::choose(out.filePath("liste.TXT"), 2)};
        QVERIFY(h.trigger(119));
        QVERIFY(h.trigger(119));
        QCOMPARE(h.files.requests[0].caption, QString("Ergebnis speichern unter"));
        QCOMPARE(h.files.requests[1].directory, QDir::cleanPath(out.path()));
        const QString rtf = fileText(out.filePath("bericht.rtf"));
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("Gefundene Linien:"));
        const QString text = fileText(out.filePath("liste.TXT"));
        QVERIFY(text.startsWith("Orvenit Lumora Datenbank\n"));
        QVERIFY(!text.contains("\\rtf"));
        QVERIFY(h.messages.shown.isEmpty());

        // An unwritable place: "Dateifehler", and an existing file stays as it was.
        QVERIFY(!edit->saveResultTo(out.filePath("gibt/es/nicht.txt")));
        QCOMPARE(h.messages.shown.size(), 1);
        QCOMPARE(h.messages.shown[0].caption, QString("Dateifehler"));
        QVERIFY(h.messages.shown[0].text.startsWith("Die Datei "));
    }

    void printsEveryPageOfTheModel() {
        lumreport::Report report;
        for (int i = 0; i < 300; ++i) {
            report.startParagraph(lumreport::ParagraphKind::Text, lumreport::TabSet::Table);
            report.append("\t" + std::to_string(400 + i) + "\tFe I\t13");
        }
        QTemporaryDir out;
        QPdfWriter pdf(out.filePath("bericht.pdf"));
        pdf.setResolution(300);
        const int lines = int(pdf.height() * 96.0 / 300) - 120;  // text area in 1/96 inch
        const int pages = reportprint::print(pdf, report, "Orvenit Lumora Datenbank");
        QVERIFY(pages >= 2);
        // 300 rows at 14-unit letters need at least 300 * 14 units of page.
        QVERIFY(pages >= 300 * 14 / lines);
        QPdfWriter partial(out.filePath("teil.pdf"));
        QCOMPARE(reportprint::print(partial, report, "x", 2, 2), 1);
    }
};

QTEST_MAIN(SearchWindowTest)
#include "searchwindow_test.moc"
