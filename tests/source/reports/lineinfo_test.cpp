// The line information window of a diagram: 157 writes the selected line and adds the next
// one of the same kind, 158 rewrites it with every line, a database line starts afresh, a
// closed window comes back new, the caption's lines and its cut, saving, the status dialog's
// cancel keeping what was written, and printing's pages.
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "lumreport/LineInfoReport.h"
#include "reports/LineInfoFrameWindow.h"
#include "reports/ReportPreview.h"
#include "reports/ReportPrinter.h"
#include "reports/ReportView.h"
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

}  // namespace

class LineInfoTest : public QObject {
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
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* status = qobject_cast<ShowStatusDialog*>(w))
                    if (auto* b = status->findChild<QPushButton*>()) b->click();
        });
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
        QVERIFY(pages > 1);
        QVERIFY(QFileInfo(out.filePath("info.pdf")).size() > 1000);
        // A range beyond the end prints nothing.
        QPdfWriter none(out.filePath("none.pdf"));
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
};

QTEST_MAIN(LineInfoTest)
#include "lineinfo_test.moc"
