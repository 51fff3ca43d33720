// The report windows. The line information window of a diagram: 157 writes the selected
// line and adds the next one of the same kind, 158 rewrites it with every line, a database
// line starts afresh, a closed window comes back new, the caption's lines and its cut,
// saving, the status dialog's cancel keeping what was written, and printing's pages. The
// database search window: the question, the caption of the range, closing on cancel, on a
// failed search and on a cancelled report, the defaults it keeps and stores, saving the
// result as text or RTF (and refusing an unwritable file), and the guard its run holds:
// while it pumps events, a diagram beside it and that diagram's identification dialog are
// disabled, its commands and every close are refused, and all comes back when it ends.
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>
#include <utility>

#include "DiagramSession.h"
#include "ScriptedRunHost.h"
#include "TestFiles.h"
#include "app/Commands.h"
#include "app/Profile.h"
#include "dialogs/analysis/SearchLinesDialog.h"
#include "dialogs/search/SearchEngineDialog.h"
#include "lumreport/LineInfoReport.h"
#include "reports/LineInfoFrameWindow.h"
#include "reports/ReportPreview.h"
#include "reports/ReportPrinter.h"
#include "reports/ReportView.h"
#include "reports/SearchEngineEdit.h"
#include "services/QtRunHost.h"
#include "services/ShowStatusDialog.h"

namespace {

CLine identified(float x) {
    CLine line(x, 7);
    line.candidateLabels = {"Fe I 500.01;0.3", "Fe II 499.99;0.2"};
    line.candidateRecords = {"0.3;1;2", "0.2;3;4"};
    line.candidateColors = {11, 22};
    return line;
}

// How many paragraphs of the report read exactly `text`.
int count(const lumreport::Report& report, std::string_view text) {
    int n = 0;
    for (std::size_t i = 0; i < report.size(); ++i)
        n += report.text(i).find(text) != std::string_view::npos;
    return n;
}

struct Session : DiagramSession {
    LumoraWindow* w = nullptr;
    explicit Session(int lines) {
        w = open(write("probe.txt", "400 1\n500 5\n600 2\n"));
        if (!w) return;
        SpectrumRecord& r = w->document().overlays().currentRecord();
        w->document().analysisDisplay = true;
        r.foundLinesShown = 1;
        for (int k = 0; k < lines; ++k) r.spectrumLines.add(identified(400.0f + 10.0f * float(k)));
    }
    bool run(int id, int selected = -1) {
        if (selected >= 0) w->document().selectLine(selected);
        return w->commands().run(id);
    }
};

// The Qt run host, calling `hook` once, at the first pump of the run.
class HookedRunHost : public QtRunHost {
  public:
    HookedRunHost(QWidget* owner, MessageBox& messages, std::function<void()> hook)
        : QtRunHost(owner, messages), hook_(std::move(hook)) {}

  protected:
    bool pump() override {
        if (const std::function<void()> hook = std::exchange(hook_, {})) hook();
        return QtRunHost::pump();
    }

  private:
    std::function<void()> hook_;
};

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
    return QString::fromLatin1(lumtest::readFile(path.toStdString()));
}

// Clicks "Abbruch" in the reports' status dialog at the first pump of events.
void cancelStatusSoon() {
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* status = qobject_cast<ShowStatusDialog*>(w))
                if (auto* b = status->findChild<QPushButton*>()) b->click();
    });
}

}  // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void selectedLinesAddUpAllLinesRewrite() {
        Session s(3);
        QVERIFY(s.w);
        QVERIFY(!s.w->commands().isEnabled(cmd::SelectedLineInfo));  // nothing selected
        QVERIFY(s.run(cmd::SelectedLineInfo, 1));
        LineInfoFrameWindow* info = s.w->lineInfoWindow();
        QVERIFY(info && info->isVisible() && info->isWindow());
        QCOMPARE(info->windowTitle(), QString("probe.txt: 410 nm"));
        QCOMPARE(count(info->report(), "Wellenlänge:"), 1);
        QVERIFY(s.run(cmd::SelectedLineInfo, 2));
        QCOMPARE(s.w->lineInfoWindow(), info);
        QCOMPARE(info->windowTitle(), QString("probe.txt: 410 nm, 420 nm"));
        QCOMPARE(count(info->report(), "Wellenlänge:"), 2);
        QCOMPARE(count(info->report(), "Fe II"), 2);

        QVERIFY(s.run(cmd::AllLinesInfo));
        QCOMPARE(info->windowTitle(), QString("probe.txt: 400 nm, 410 nm, 420 nm"));
        QCOMPARE(count(info->report(), "Wellenlänge:"), 3);

        // A database line is of another kind: the window starts afresh.
        SpectrumRecord& r = s.w->document().overlays().currentRecord();
        r.foundLinesShown = 0;
        r.databaseLinesShown = 1;
        CSearchEngineLine db;
        db.wavelength = 404.5f;
        db.label = "Fe I;0.5";
        db.record = "0.5;1;2";
        r.databaseLines.add(db);
        QVERIFY(s.run(cmd::SelectedLineInfo, 0));
        QCOMPARE(info->kind(), LineInfoFrameWindow::Kind::DatabaseLines);
        QCOMPARE(info->windowTitle(), QString("probe.txt: 404.5 nm"));
        QCOMPARE(count(info->report(), "Wellenlänge:"), 0);
        QCOMPARE(count(info->report(), "Datenbank:"), 1);

        // Closed by the user: gone, and the next command makes a new one.
        info->close();
        QTRY_VERIFY(s.w->lineInfoWindow() == nullptr);
        QVERIFY(s.run(cmd::AllLinesInfo));
        QVERIFY(s.w->lineInfoWindow());
        s.w->closeLineInfo();
        QTRY_VERIFY(s.w->lineInfoWindow() == nullptr);
    }

    void captionIsCutAndCancelKeepsWhatWasWritten() {
        Session s(200);
        QVERIFY(s.w);
        // "Abbruch" at the first pump: the lines written so far stay.
        cancelStatusSoon();
        QVERIFY(s.run(cmd::AllLinesInfo));
        LineInfoFrameWindow* info = s.w->lineInfoWindow();
        QVERIFY(info);
        QCOMPARE(info->windowTitle().size(), qsizetype(255));
        const int written = count(info->report(), "Wellenlänge:");
        QVERIFY(written >= 1 && written < 200);

        // Saved as text and as RTF; an unwritable place is "Dateifehler".
        QTemporaryDir out;
        QVERIFY(info->saveTo(out.filePath("info.txt")));
        QVERIFY(info->saveTo(out.filePath("info.Rtf")));
        QFile rtf(out.filePath("info.Rtf"));
        QVERIFY(rtf.open(QIODevice::ReadOnly) && rtf.readAll().startsWith("{\\rtf1"));
        QVERIFY(!info->saveTo(out.filePath("nicht/da.txt")));
        QCOMPARE(s.shell.messages.shown.back().caption, QString("Dateifehler"));
    }

    void printedPagesFollowTheModel() {
        lumreport::Report report;
        for (int k = 0; k < 40; ++k)
            lumreport::appendFoundLineBlock(report, identified(400.0f + k), 0);
        QTemporaryDir out;
        QPdfWriter pdf(out.filePath("info.pdf"));
        const int pages = reportprint::print(
            pdf, report, QString::fromStdString(lumreport::lineInfoTitle("probe.txt")));
        // Every line needs 14 of the 1/96-inch units of the text area (the page less 120).
        QVERIFY(pages >=
                int(report.size()) * 14 / int(pdf.height() * 96.0 / pdf.resolution() - 120));
        QVERIFY(QFileInfo(out.filePath("info.pdf")).size() > 1000);
        // A range prints its pages only; one beyond the end prints nothing.
        QPdfWriter part(out.filePath("part.pdf")), none(out.filePath("none.pdf"));
        QCOMPARE(reportprint::print(part, report, "x", 2, 2), 1);
        QCOMPARE(reportprint::print(none, report, "x", pages + 1, pages + 3), 0);

        // The preview pages through them, one or two at a time.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(out.filePath("preview.pdf"));
        ReportPreview preview(printer, "Vorschau", [&](QPrinter& p) {
            reportprint::print(p, report, "probe.txt - Linieninformation");
        });
        preview.show();
        QTRY_COMPARE(preview.pages()->pageCount(), pages);
        QCOMPARE(preview.pageText(), QString("Seite 1"));
        preview.showTwoPages(true);
        QCOMPARE(preview.pageText(), QString("Seite 1 - 2"));
        preview.showTwoPages(false);
        for (int k = 0; k < pages + 2; ++k) preview.nextPage();
        QCOMPARE(preview.pageText(), QString("Seite %1").arg(pages));
        preview.previousPage();
        QCOMPARE(preview.pageText(), QString("Seite %1").arg(pages - 1));
    }

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
            cancelStatusSoon();
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

    void searchRunHoldsTheDiagrams() {
        Harness h;
        h.windows.diagram = &LumoraWindow::open;
        QVERIFY(h.startSelectingAll());
        QTemporaryDir dir;
        std::string peak;
        for (int i = 0; i < 400; ++i)
            peak += std::to_string(370 + i * 0.05) + (i == 200 ? " 900\n" : " 50\n");
        lumtest::writeFile(dir.filePath("peak.txt").toStdString(), peak);
        QVERIFY(h.app().client()->openDocument(dir.filePath("peak.txt")));
        QCoreApplication::processEvents();
        auto* diagram = qobject_cast<LumoraWindow*>(h.app().client()->currentSubWindow()->widget());
        QVERIFY(diagram);
        QVERIFY(h.trigger(cmd::OpenIdentification));
        SearchLinesDialog* lines = diagram->searchLinesDialog();
        QVERIFY(lines && lines->isEnabled());
        const auto activateDiagram = [&] {
            h.app().client()->setActiveSubWindow(
                qobject_cast<QMdiSubWindow*>(diagram->parentWidget()));
        };

        bool checked = false;
        SearchEngineEdit* edit = nullptr;
        h.context().setRunHostFactory([&](QWidget* owner) {
            return std::make_unique<HookedRunHost>(owner, h.messages, [&, owner] {
                edit = qobject_cast<SearchEngineEdit*>(owner);
                QVERIFY(edit && edit->running());
                // The identification's "Starten", the diagram's commands, the closes.
                lines->startButton()->click();
                QVERIFY(diagram->protocol().isEmpty());
                QVERIFY(!diagram->isEnabled() && !lines->isEnabled());
                activateDiagram();
                QVERIFY(!h.isEnabled(cmd::IdentifySpectrum));
                h.frame().dispatch(cmd::IdentifySpectrum);
                QVERIFY(diagram->protocol().isEmpty());
                QVERIFY(!diagram->parentWidget()->close() && !edit->parentWidget()->close());
                QVERIFY(!h.frame().close());
                checked = true;
            });
        });
        h.answer("370", "390");
        QVERIFY(h.trigger(cmd::SearchEngineOpen));
        QTRY_VERIFY(checked);
        QTRY_VERIFY(edit->view()->report());
        QVERIFY(!edit->result().empty());
        QCOMPARE(h.app().client()->childCount(), 2);
        QVERIFY(diagram->isEnabled() && lines->isEnabled() && diagram->protocol().isEmpty());
        activateDiagram();
        QVERIFY(h.isEnabled(cmd::IdentifySpectrum));
    }
};

QTEST_MAIN(ReportWindowsTest)
#include "reportwindows_test.moc"
