// The analysis runs of a real diagram on the sample database: the identification view (151)
// and its dialog, the protocols of line search and identification (152) and of the database's
// line positions (160) line by line, the legend's summary, "Abbruch" in each library run, the
// guard that holds while a run pumps events, the smoothed curve, smoothing and combining.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cmath>
#include <random>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "dialogs/analysis/CombineSpectraDialog.h"
#include "dialogs/analysis/SearchLinesDialog.h"
#include "dialogs/analysis/SmoothDataDialog.h"
#include "lumgl/RecordingCanvas.h"
#include "services/QtRunHost.h"
#include "services/SearchStatusDialog.h"

namespace {

// Four Fe I lines of the sample database on a noisy base, 0.01 nm per point.
const double kFeLines[] = {371.9935, 373.4864, 374.5561, 385.9911};

std::string feSpectrum(double scale) {
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 2.0);
    const double heights[] = {1000, 800, 500, 700};
    std::string text;
    for (int i = 0; i < 4096; ++i) {
        const double x = 360.0 + i * 0.01;
        double y = 100 + noise(rng);
        for (int k = 0; k < 4; ++k)
            y += scale * heights[k] * std::exp(-std::pow((x - kFeLines[k]) / 0.03, 2));
        text += std::to_string(x) + ' ' + std::to_string(y) + '\n';
    }
    return text;
}

// The moves and lines drawn after the first choice of `pen`, up to the next pen.
std::string pathAfter(const std::string& trace, const std::string& pen) {
    const std::size_t at = trace.find("pen " + pen + "\n");
    if (at == std::string::npos) return {};
    const std::size_t from = trace.find('\n', at) + 1;
    const std::size_t to = trace.find("pen ", from);
    return trace.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

// The Qt run host with a hook at every pump of the run, which may press "Abbruch".
class ScriptedPumpHost : public QtRunHost {
  public:
    using Hook = std::function<void(ScriptedPumpHost&)>;
    ScriptedPumpHost(QWidget* owner, MessageBox& messages, Hook hook)
        : QtRunHost(owner, messages), hook_(std::move(hook)) {}
    int pumps = 0;
    void pressAbort() {
        QVERIFY(statusDialog());
        statusDialog()->findChild<QPushButton*>("abortButton")->click();
    }

  protected:
    bool pump() override {
        if (hook_) hook_(*this);
        ++pumps;
        return QtRunHost::pump();
    }

  private:
    Hook hook_;
};

struct Session : DiagramSession {
    LumoraWindow* w = nullptr;

    void open(const std::string& text = feSpectrum(1.0), const QString& name = "fe.txt") {
        QVERIFY(started);
        w = DiagramSession::open(write(name, text));
        QVERIFY(w);
        DiagramDocument& doc = w->document();
        for (TElementArray* list : {&doc.identificationElements, &doc.databaseElements})
            for (CElement& e : *list) e.selected = e.name == "Fe";
        doc.analysis.select.Neutrals = doc.analysis.select.FirstIons = true;
        doc.analysis.select.SearchRange = 0.1f;
        doc.database.Neutrals = true;
    }
    void onPump(ScriptedPumpHost::Hook hook) {
        shell.context().setRunHostFactory([this, hook](QWidget* owner) {
            return std::make_unique<ScriptedPumpHost>(owner, shell.messages, hook);
        });
    }
    SearchLinesDialog* dialog() const { return w->searchLinesDialog(); }
    // The protocol written since `from`.
    QStringList since(qsizetype from) const { return w->protocol().mid(from); }
    QStringList legend() const {
        QStringList texts;
        for (const auto& e : w->document().legendEntries()) texts << QString::fromStdString(e.text);
        return texts;
    }
};

}  // namespace

class AnalysisRunsTest : public QObject {
    Q_OBJECT
  private slots:
    void identifiesAndWritesTheProtocol() {
        Session s;
        s.open();
        QVERIFY(!s.shell.isEnabled(cmd::IdentifySpectrum));
        s.w->document().changeRange({365, 390, 0, 1200});
        QVERIFY(s.shell.trigger(cmd::OpenIdentification));
        QVERIFY(s.shell.frame().action(cmd::OpenIdentification)->isChecked());
        QVERIFY(s.dialog() && s.dialog()->isVisible());
        QCOMPARE(s.w->document().overlays().currentHistory().undoCount(), 0u);

        // Both steps, no filter, the whole spectrum.
        QVERIFY(s.shell.trigger(cmd::IdentifySpectrum));
        QCOMPARE(s.w->protocol(),
                 QStringList({"Liniensuche (fe.txt):", "- Suchintervall: 360 - 400.95 nm",
                              "- Rauschen: automatische Erkennung", "- Erfolg: 4 Linien gefunden",
                              "Linienidentifizierung (fe.txt):", "- Spezies: Neutrale und Ionen",
                              "- Trefferintervall: +/- 0.1 nm", "- alle Intensitäten",
                              "- Erfolg: 4 von 4 Linien identifiziert"}));
        QCOMPARE(s.dialog()->protocol(), s.w->protocol());
        const SpectrumRecord& r = s.w->document().overlays().currentRecord();
        QVERIFY(r.foundLinesShown && !r.databaseLinesShown && r.newFile);
        for (std::size_t k = 0; k < 4; ++k)
            QVERIFY(std::abs(r.spectrumLines[k].x - kFeLines[k]) < 0.011);

        // Ctrl+C in the list copies the selected lines.
        s.dialog()->protocolList()->item(1)->setSelected(true);
        s.dialog()->protocolList()->item(3)->setSelected(true);
        QTest::keyClick(s.dialog()->protocolList(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("- Suchintervall: 360 - 400.95 nm\n- Erfolg: 4 Linien gefunden"));

        // The legend sums the run up.
        DiagramDocument& doc = s.w->document();
        doc.legend = {true, 1, true, true, true};
        QCOMPARE(s.legend(),
                 QStringList({"fe.txt:", "Liniensuche im Spektrum:", "- 4 Linien gefunden",
                              "Linienidentifizierung:", "- Trefferintervall: +/- 0.1 nm",
                              "- 4 Linien identifiziert"}));

        // Both filters, a set noise, only higher ions, an intensity range, the displayed range
        // with the x axis turned round: the interval is still ordered.
        SLineSearchVal& v = doc.analysis.search;
        v.FTFilter = v.SGFilter = v.Noise = v.ZoomData = true;
        v.NoiseValue = 2;
        v.PolynomOrder = 2;
        v.FilterWidth = 5;
        doc.analysis.filterData = false;
        doc.analysis.select = {.text = {},
                               .HigherIons = true,
                               .SearchRange = 0.05f,
                               .IntensityRange = true,
                               .LowerIntensity = 10,
                               .UpperIntensity = 5000};
        QVERIFY(s.shell.trigger(cmd::InvertX));
        qsizetype at = s.w->protocol().size();
        QVERIFY(s.shell.trigger(cmd::IdentifySpectrum));
        QStringList lines = s.since(at);
        QCOMPARE(lines.mid(0, 5),
                 QStringList({"Liniensuche (fe.txt):", "- Suchintervall: 365 - 390 nm",
                              "- Datenglättung: Wiener-Fourierfilter, Polynomfilter",
                              "- Geglättete Daten: nicht anzeigen", "- Rauschen: gesetzter Wert"}));
        QCOMPARE(lines.mid(6, 4), QStringList({"Linienidentifizierung (fe.txt):", "- Spezies: ",
                                               "- Trefferintervall: +/- 0.05 nm",
                                               "- Intensitäten von 10 bis 5000"}));
        QCOMPARE(lines[5], QString("- Erfolg: %1 Linien gefunden").arg(r.spectrumLines.size()));
        QCOMPARE(s.legend().mid(1, 3),
                 QStringList({"Liniensuche im Spektrum:", "- Datenglättung: WF-Filter",
                              "                 und SGP-Filter"}));

        // Identification only: the dialog's boxes reach the window at once.
        doc.analysis.select.Neutrals = true;
        doc.analysis.select.IntensityRange = false;
        s.dialog()->searchLinesBox()->click();
        QVERIFY(!doc.runLineSearch);
        const std::size_t found = r.spectrumLines.size();
        at = s.w->protocol().size();
        s.dialog()->startButton()->click();
        lines = s.since(at);
        QCOMPARE(lines.mid(0, 2),
                 QStringList({"Linienidentifizierung (fe.txt):", "- Spezies: Neutrale"}));
        QCOMPARE(r.spectrumLines.size(), found);

        // The database's positions: the boxes give way to the other choice.
        s.dialog()->databaseButton()->click();
        QVERIFY(!s.dialog()->searchLinesBox()->isEnabled() && !doc.identifyMode);
        s.dialog()->settingsButton()->click();
        QCOMPARE(s.shell.dialogs.titles.back(),
                 QStringLiteral("Einstellungen: Linienpostionen aus Datenbank anzeigen"));
        at = s.w->protocol().size();
        QVERIFY(s.shell.trigger(cmd::ShowDatabaseLines));
        lines = s.since(at);
        QCOMPARE(lines.mid(0, 3), QStringList({"Datenbanksuche:", "- Suchintervall: 360 - 401 nm",
                                               "- Intensitätsintervall: 0 - 10000"}));
        QVERIFY(r.databaseLines.size() > 4 && !r.foundLinesShown && r.databaseLinesShown);
        QCOMPARE(lines[3], QString("- %1 Linien gefunden").arg(r.databaseLines.size()));
        QCOMPARE(s.legend().mid(1), QStringList({"Datenbanklinien:", lines[3]}));
        QCOMPARE(doc.overlays().currentHistory().undoCount(), 0u);

        // "Schließen" switches the view off, as F9 does.
        s.dialog()->closeButton()->click();
        QVERIFY(!doc.analysisDisplay && !s.dialog());
        QVERIFY(!s.shell.frame().action(cmd::OpenIdentification)->isChecked());
    }

    // A spectrum without peaks is not identified; x values that are not monotonic refuse the
    // run before anything changes.
    void refusedRuns() {
        Session s;
        std::string flat;
        for (int i = 0; i < 500; ++i) flat += std::to_string(400 + i * 0.01) + " 50\n";
        s.open(flat, "flat.txt");
        QVERIFY(s.shell.trigger(cmd::OpenIdentification));
        QVERIFY(s.shell.trigger(cmd::IdentifySpectrum));
        QCOMPARE(s.w->protocol().mid(3), QStringList({"- Keine Linien gefunden"}));
        QCOMPARE(s.lastMessage(), QStringLiteral("Es wurden keine markierten Linien zur "
                                                 "Identifizierung gefunden.\nÜberprüfen Sie "
                                                 "die Einstellungen."));

        s.open("400 1\n401 5\n400.5 2\n402 1\n", "zigzag.txt");
        QVERIFY(s.shell.trigger(cmd::OpenIdentification));
        s.w->applyDisplayRange({400, 402, 0, 6});
        QVERIFY(s.shell.trigger(cmd::IdentifySpectrum));
        QCOMPARE(s.lastMessage(),
                 s.dir.filePath("zigzag.txt") +
                     "\n\nDie x-Werte der Datei sind nicht streng monoton steigend oder fallend. "
                     "Eine Liniensuche oder Linienidentifizierung kann nicht ausgeführt werden!");
        QCOMPARE(s.w->document().overlays().currentHistory().undoCount(), 1u);
        QVERIFY(s.w->protocol().isEmpty());
    }

    // "Abbruch" in each library run: the partial result goes, the protocol says so, the dialog
    // comes back. While the run pumps, nothing else gets in.
    void abortDropsTheResultAndTheGuardHolds() {
        Session s;
        s.open();
        LumoraWindow* first = s.w;
        QVERIFY(s.shell.trigger(cmd::OpenIdentification));
        LumoraWindow* second = s.DiagramSession::open(s.write("fe2.txt", feSpectrum(0.5)));
        QVERIFY(second && second != first);
        QVERIFY(s.shell.trigger(cmd::OpenIdentification));
        s.shell.app().client()->setActiveSubWindow(
            qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QCOMPARE(s.window(), first);

        bool checked = false;
        bool handedOver = false;
        s.onPump([&](ScriptedPumpHost& host) {
            if (host.pumps != 0) return;
            // Another diagram's Ctrl+F9, a close of either diagram or of the program, the
            // dialogs: all refused or disabled.
            auto* area = s.shell.app().client();
            area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(second->parentWidget()));
            QVERIFY(!s.shell.isEnabled(cmd::IdentifySpectrum));
            s.shell.frame().dispatch(cmd::IdentifySpectrum);
            QVERIFY(second->protocol().isEmpty());
            QVERIFY(!first->parentWidget()->close() && !second->parentWidget()->close());
            QVERIFY(!s.shell.frame().close());
            QVERIFY(!first->searchLinesDialog()->isEnabled());
            QVERIFY(!second->searchLinesDialog()->isEnabled());
            QVERIFY(!second->isEnabled());
            s.shell.app().client()->whenIdle([&] { handedOver = true; });
            QVERIFY(!handedOver);
            checked = true;
            host.pressAbort();
        });
        DiagramDocument& doc = first->document();
        const SpectrumRecord& r = doc.overlays().currentRecord();
        first->searchLinesDialog()->startButton()->click();
        QVERIFY(checked);
        QCOMPARE(first->protocol().mid(3), QStringList({"Abbruch durch Anwender!"}));
        QVERIFY(r.spectrumLines.empty());
        QVERIFY(first->searchLinesDialog()->isEnabled() && second->isEnabled());
        QCOMPARE(s.shell.app().client()->childCount(), 2);
        QTRY_VERIFY(handedOver);

        // The identification cancelled: the lines stay, their candidates go.
        s.onPump({});
        SearchLinesDialog* dialog = first->searchLinesDialog();
        dialog->identifyLinesBox()->setChecked(false);
        dialog->startButton()->click();
        QCOMPARE(r.spectrumLines.size(), 4u);
        s.onPump([](ScriptedPumpHost& host) {
            if (host.pumps == 0) host.pressAbort();
        });
        dialog->searchLinesBox()->setChecked(false);
        dialog->identifyLinesBox()->setChecked(true);
        qsizetype at = first->protocol().size();
        dialog->startButton()->click();
        QCOMPARE(first->protocol().mid(at + 4), QStringList({"Abbruch durch Anwender!"}));
        QCOMPARE(r.spectrumLines.size(), 4u);
        for (const CLine& line : r.spectrumLines) QVERIFY(line.candidateLabels.empty());
        QVERIFY(!r.newFile);

        // The database's positions cancelled.
        at = first->protocol().size();
        dialog->databaseButton()->click();
        dialog->startButton()->click();
        QCOMPARE(first->protocol().mid(at + 3), QStringList({"Abbruch durch Anwender!"}));
        QVERIFY(r.databaseLines.empty());
        QVERIFY(s.shell.isEnabled(cmd::IdentifySpectrum));
    }

    // Smoothing into a new overlay: the widths are checked against the points that will be
    // smoothed (the displayed ones here), a huge number saturates and is refused, the result
    // is current under its own name, and the choices are kept in the settings file.
    void smoothsIntoANewOverlay() {
        Session s;
        s.open();
        s.w->document().changeRange({370, 380, 0, 1200});  // 1001 points displayed
        QStringList told;
        s.shell.dialogs.scripts.push_back([&](QDialog& d) {
            auto& dialog = static_cast<SmoothDataDialog&>(d);
            QVERIFY(!dialog.degreeField()->isEnabled());
            dialog.polynomialBox()->setChecked(true);
            dialog.degreeField()->setText("2");
            dialog.polynomialWidthField()->setText("1002");
            dialog.displayedOnlyBox()->setChecked(true);
            dialog.accept();
            told << s.lastMessage();
            dialog.fourierBox()->setChecked(true);
            QVERIFY(dialog.cutoffField()->isEnabled());
            dialog.standardBox()->setChecked(true);
            QVERIFY(!dialog.cutoffField()->isEnabled());
            dialog.standardBox()->setChecked(false);
            dialog.cutoffField()->setText("99999999999999999999");
            dialog.fourierWidthField()->setText("8");
            dialog.accept();
            told << s.lastMessage();
            QCOMPARE(d.result(), int(QDialog::Rejected));
            dialog.fourierBox()->setChecked(false);
            dialog.polynomialWidthField()->setText("1001");  // n itself passes
            dialog.accept();
        });
        QVERIFY(s.shell.trigger(cmd::Smoothing));
        QCOMPARE(told, QStringList({"Die Filterbreite muß kleiner als die Anzahl der "
                                    "Datenpunkte(1001) sein!",
                                    "Die Filterfrequenz muß kleiner als die Anzahl der "
                                    "Datenpunkte(1001) sein!"}));
        const OverlayTable& table = s.w->document().overlays();
        QCOMPARE(table.count(), 2u);
        QCOMPARE(table.current(), 1u);
        const SpectrumRecord& made = table.currentRecord();
        QCOMPARE(QString::fromStdString(made.fileName), s.dir.filePath("fe.txt") + " geglätted");
        QVERIFY(made.points.size() > 900 && made.points.front().x > made.points.back().x);
        QVERIFY(made.plotInfo.xMin < made.plotInfo.xMax);
        const QByteArray ini = s.shell.settingsBytes();
        for (const char* key :
             {"SGFilter=1", "PolynomOrder=2", "FilterWidth=1001", "ZoomData=1", "FTFilter=0"})
            QVERIFY2(ini.contains(key), key);

        // A full diagram takes no smoothed overlay.
        for (int k = 2; k < 12; ++k) QVERIFY(s.w->addSpectrumFile(s.dir.filePath("fe.txt")));
        const int beeps = s.shell.messages.beeps;
        QVERIFY(s.shell.trigger(cmd::Smoothing));
        QCOMPARE(s.lastMessage(), QStringLiteral("Es können keine Dateien mehr überlagert "
                                                 "werden.\nBitte schließen Sie vor der "
                                                 "Datenglättung eine Datei."));
        QCOMPARE(s.shell.messages.beeps, beeps + 1);
        QCOMPARE(table.count(), 12u);
    }

    // Combining: the new overlay's name, a common range without a point of the coarser
    // spectrum (refused with a message, not an empty overlay), division by zero.
    void combinesIntoANewOverlay() {
        Session s;
        s.open("400 1\n410 2\n420 4\n430 8\n", "a.txt");
        QVERIFY(s.w->addSpectrumFile(s.write("b.txt", "405 1\n415 0\n425 0\n435 1\n")));
        QVERIFY(s.w->addSpectrumFile(s.write("c.txt", "411.0 1\n411.1 1\n411.2 1\n411.3 1\n")));
        const auto choose = [&](int first, int operation, int second) {
            s.shell.dialogs.scripts.push_back([=](QDialog& d) {
                auto& dialog = static_cast<CombineSpectraDialog&>(d);
                QCOMPARE(dialog.firstBox()->itemText(2), QStringLiteral("c.txt"));
                dialog.firstBox()->setCurrentIndex(first);
                dialog.operationBox()->setCurrentIndex(operation);
                dialog.secondBox()->setCurrentIndex(second);
                dialog.accept();
            });
            return s.shell.trigger(cmd::SpectrumArithmetic);
        };
        const OverlayTable& table = s.w->document().overlays();
        QVERIFY(choose(0, 1, 1));
        QCOMPARE(table.count(), 4u);
        QCOMPARE(table.current(), 3u);
        QCOMPARE(table.currentRecord().fileName, std::string("(a.txt)+(b.txt)"));
        // a's grid in the common range 405 to 430, falling: 430, 420, 410.
        const TPointList& sum = table.currentRecord().points;
        QCOMPARE(sum.size(), 3u);
        QCOMPARE(sum.front().x, 430.0f);
        QCOMPARE(sum.front().y, 8.5f);

        QVERIFY(choose(0, 0, 2));
        QCOMPARE(table.count(), 4u);
        QCOMPARE(s.lastMessage(),
                 QStringLiteral("Die Spektren haben keine gemeinsamen Wellenlängenbereich!"));

        QVERIFY(choose(0, 3, 1));
        QCOMPARE(s.lastMessage(), QStringLiteral("Vorgang abgebrochen: Division durch Null!"));
        QCOMPARE(table.count(), 4u);
        QCOMPARE(table.current(), 3u);
    }

    // The smoothed data of a line search drawn over the current spectrum: in a pen of its own
    // and mapped as the spectrum is, only while the filter-data byte is set, following a shift
    // of the spectrum and its undo, gone when another spectrum becomes current (also a new
    // smoothed overlay, which takes its own scaling values) or it closes.
    void smoothedCurveOverTheCurrentSpectrum() {
        Session s;
        s.open();
        DiagramDocument& doc = s.w->document();
        doc.analysis.search.SGFilter = true;
        doc.analysis.search.PolynomOrder = 2;
        doc.analysis.search.FilterWidth = 5;
        doc.analysis.filterData = true;
        doc.runIdentification = false;
        QVERIFY(s.shell.trigger(cmd::OpenIdentification));
        QVERIFY(s.shell.trigger(cmd::IdentifySpectrum));
        QCOMPARE(doc.smoothed.size(), doc.overlays().currentRecord().points.size());
        const auto trace = [&] {
            lumgl::RecordingCanvas canvas(SDeviceRect{0, 0, 720, 460});
            s.w->painter().paint(canvas, doc, DiagramPainter::Target::Output);
            return canvas.trace();
        };
        const std::string smoothed = pathAfter(trace(), "#808080 1 solid");
        QVERIFY(std::count(smoothed.begin(), smoothed.end(), '\n') > 100);
        QVERIFY(smoothed.rfind("move ", 0) == 0);
        doc.analysis.filterData = false;
        QVERIFY(trace().find("#808080") == std::string::npos);
        // Drawn as the spectrum itself would be with the smoothed values.
        SpectrumRecord& r = doc.overlays().currentRecord();
        const TPointList measured = r.points;
        r.points = doc.smoothed;
        QCOMPARE(pathAfter(trace(), "#ff0000 1 solid"), smoothed);
        r.points = measured;

        // A shift moves it with the spectrum, and so does its undo.
        const float x0 = doc.smoothed.front().x;
        QVERIFY(s.w->applyScaling({1.0f, 1.0f, 0.0f, 1.0f}));
        QVERIFY(std::abs(doc.smoothed.front().x - (x0 + 1.0f)) < 1e-3f);
        QVERIFY(doc.undo());
        QVERIFY(std::abs(doc.smoothed.front().x - x0) < 1e-3f);
        // Smoothing into a new overlay: that one is current, with its own scaling values.
        QVERIFY(s.w->applyScaling({0.5f, 1.0f, 0.0f, 1.0f}));
        s.shell.dialogs.scripts.push_back([](QDialog& d) { d.accept(); });
        QVERIFY(s.shell.trigger(cmd::Smoothing));
        QVERIFY(doc.overlays().count() == 2u && doc.smoothed.empty());
        QCOMPARE(doc.scaling, (std::array<float, 4>{0.0f, 1.0f, 0.0f, 1.0f}));
        doc.closeCurrent();
        // Another spectrum becomes current: the curve is not its own. Closing it goes too.
        QVERIFY(s.w->addSpectrumFile(s.write("b.txt", feSpectrum(0.5))));
        QVERIFY(doc.smoothed.empty());
        QVERIFY(s.shell.trigger(cmd::IdentifySpectrum));
        QVERIFY(!doc.smoothed.empty());
        doc.closeCurrent();
        QVERIFY(doc.smoothed.empty());
    }
};

QTEST_MAIN(AnalysisRunsTest)
#include "analysis_runs_test.moc"
