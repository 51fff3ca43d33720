// The x axis of a real diagram: the unit question while a file is opened (conversion, its
// undo entry on the new spectrum's own stack and exact undo and redo, cancel leaving
// nothing, wavenumbers of 0 refused), the wavelength adjustments 126 and 154 with their
// checks, found lines following a stretch, and the mercury lamp sample moved onto its lines.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cmath>
#include <map>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "dialogs/xaxis/ChangeWavelengthDialog.h"
#include "dialogs/xaxis/ConvertPtoWDialog.h"
#include "dialogs/xaxis/ConvertWavelengthDialog.h"
#include "dialogs/xaxis/ShortFileName.h"
#include "lumcore/IniFile.h"

namespace {

using X = ConvertWavelengthDialogXfer;
using P = ConvertPtoWDialog;
using Method = ConvertPtoWDialogXfer::Method;

// Ångström (x minimum above 2000), and pixel numbers (range = points - 1).
constexpr const char* kAngstrom = "4000.3 1\n4500.7 5\n5000.1 3\n6000.9 2\n";
constexpr const char* kPixels = "0 1\n1 4\n2 9\n3 2\n";
constexpr const char* kNanometres = "400 1\n450 5\n500 3\n550 2\n";

struct Session : DiagramSession {
    LumoraWindow* open(const QString& path) {
        return started ? DiagramSession::open(path) : nullptr;
    }
    // The next "Wellenlängenformat": `check` sees it, `option` is chosen (none: cancel).
    void answerFormat(std::optional<X::Option> option, bool propose = true,
                      std::function<void(ConvertWavelengthDialog&)> check = {}) {
        shell.dialogs.scripts.push_back([=](QDialog& d) {
            auto& dialog = dynamic_cast<ConvertWavelengthDialog&>(d);
            if (check) check(dialog);
            if (!option) return d.reject();
            dialog.radio(*option)->setChecked(true);
            dialog.proposeBox()->setChecked(propose);
            d.accept();
        });
    }
    // The next "Wellenlänge": the new value typed and the fixed point kept or not; the texts
    // shown and whether it was accepted are recorded.
    QStringList texts;
    bool fixedEnabled = false;
    void answerWavelength(const QString& value, bool keep) {
        shell.dialogs.scripts.push_back([=, this](QDialog& d) {
            auto& dialog = dynamic_cast<ChangeWavelengthDialog&>(d);
            texts = dialog.texts();
            fixedEnabled = dialog.fixedPointEnabled();
            dialog.newField()->setText(value);
            dialog.keepBox()->setChecked(keep);
            d.accept();
        });
    }
    // The next "Wellenlängenzuordnung": the method and the fields given (the others as
    // they are); `check` sees the dialog first.
    void answerCalibration(Method method, std::map<P::Field, QString> fields,
                           std::function<void(ConvertPtoWDialog&)> check = {}) {
        shell.dialogs.scripts.push_back([=](QDialog& d) {
            auto& dialog = dynamic_cast<ConvertPtoWDialog&>(d);
            if (check) check(dialog);
            dialog.radio(method)->setChecked(true);
            for (const auto& [field, text] : fields) dialog.field(field)->setText(text);
            d.accept();
        });
    }
    std::vector<float> xs(LumoraWindow* w, std::size_t position) {
        std::vector<float> x;
        for (const TPointF& p : w->document().overlays().record(position).points) x.push_back(p.x);
        return x;
    }
    std::string setting(const char* key) {
        return lumcore::IniFile::load(shell.settingsPath().toStdString())
            .getString("Convert Data", key, "-");
    }
};

bool bitsEqual(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace

class XAxisWindowTest : public QObject {
    Q_OBJECT
  private slots:
    // Ångström to nm on opening; undo and redo give both x lists back bit for bit with the
    // format block and labels; the question's box is remembered.
    void convertsOnOpeningUndoablyAndExactly() {
        Session s;
        const QString path = s.write("angstrom.txt", kAngstrom);
        s.answerFormat(X::Angstrom, false, [&](ConvertWavelengthDialog& d) {
            QVERIFY(d.radio(X::Angstrom)->isChecked());
            QVERIFY(d.proposeBox()->isChecked());
            QCOMPARE(d.shownName(), shortFileName(path));
        });
        LumoraWindow* w = s.open(path);
        QVERIFY(w);
        QCOMPARE(s.setting("ConvertWDialog"), std::string("0"));
        DiagramDocument& doc = w->document();
        const SpectrumRecord& r = doc.overlays().currentRecord();
        const std::vector<float> nm = s.xs(w, 0);
        QCOMPARE(nm.front(), 400.03f);
        QCOMPARE(r.axisText.xUnit + "|" + doc.axis.xLabel, std::string("nm|Wellenlänge"));
        QCOMPARE(r.xFormat.formatCode, 0);

        QVERIFY(s.shell.trigger(cmd::Undo));
        QVERIFY(bitsEqual(s.xs(w, 0), {4000.3f, 4500.7f, 5000.1f, 6000.9f}));
        QCOMPARE(r.xFormat.formatCode, 1);
        QCOMPARE(r.axisText.xUnit, std::string("A"));
        QCOMPARE(r.plotInfo.xMax, 6000.9f);
        QCOMPARE(doc.range()[1], 6000.9f);
        QVERIFY(s.shell.trigger(cmd::Redo));
        QVERIFY(bitsEqual(s.xs(w, 0), nm));
        QCOMPARE(r.xFormat.formatCode, 0);

        // With the box cleared the next file is not asked about.
        QVERIFY(w->addSpectrumFile(s.write("b.txt", kAngstrom)));
        QCOMPARE(s.shell.dialogs.titles.size(), 1);
        QCOMPARE(s.xs(w, 1).front(), 4000.3f);
    }

    // An overlay's conversion entry is on its own stack; a cancelled question opens nothing
    // and leaves no entry; wavenumbers of 0 are refused with the spectrum unchanged.
    void overlayCancelAndRefusal() {
        Session s;
        LumoraWindow* w = s.open(s.write("nm.txt", kNanometres));
        QVERIFY(w && s.shell.dialogs.titles.isEmpty());
        DiagramDocument& doc = w->document();
        OverlayTable& table = doc.overlays();

        s.answerFormat(std::nullopt);
        QVERIFY(!w->addSpectrumFile(s.write("cancel.txt", kAngstrom)));
        QCOMPARE(table.count(), std::size_t(1));
        QVERIFY(s.shell.messages.shown.isEmpty());
        QVERIFY(!table.history(1).canUndo());
        s.answerFormat(std::nullopt);
        QVERIFY(!s.shell.app().client()->openDocument(s.write("cancel2.txt", kAngstrom)));
        QVERIFY(s.shell.messages.shown.isEmpty());

        s.answerFormat(X::Angstrom);
        QVERIFY(w->addSpectrumFile(s.write("overlay.txt", kAngstrom)));
        QCOMPARE(table.current(), std::size_t(1));
        QCOMPARE(table.history(1).undoCount(), std::size_t(1));
        QCOMPARE(table.history(0).undoCount(), std::size_t(0));

        s.answerFormat(X::Wavenumbers);
        QVERIFY(w->addSpectrumFile(s.write("pixels.txt", kPixels)));
        QVERIFY(s.lastMessage().startsWith(
            "Die Datei beinhaltet Wellenzahlen, die kleiner oder gleich 0 sind."));
        QVERIFY(s.shell.messages.shown.back().beep);
        QVERIFY(bitsEqual(s.xs(w, 2), {0, 1, 2, 3}));
        QVERIFY(!table.history(2).canUndo());
        QCOMPARE(doc.axis.xLabel, std::string("Punkte"));
    }

    void shortensLongNames() {
        const QString plain(300, 'n');
        QCOMPARE(shortFileName(plain), plain);
        QCOMPARE(shortFileName("/" + plain), "/" + plain);
        QCOMPARE(shortFileName("/home/user/spectra/2026/december/" + plain), "/home/.../" + plain);
        QCOMPARE(shortFileName("C:\\Messungen\\Lampen\\Quecksilber\\Dezember\\MERC.SPC"),
                 QStringLiteral("C:\\...\\MERC.SPC"));
        QCOMPARE(shortFileName("/tmp/short.txt"), QStringLiteral("/tmp/short.txt"));
    }

    // 126 at the reticle: its texts, the checks (a new value, a finite one, one that is not
    // the kept fixed point), a shift and then a stretch about the fixed point.
    void adjustsAtTheReticle() {
        Session s;
        LumoraWindow* w = s.open(s.write("nm.txt", kNanometres));
        QVERIFY(w);
        DiagramDocument& doc = w->document();
        QVERIFY(!s.shell.isEnabled(cmd::AdjustWavelength));
        w->setReticleShown(true);
        w->moveReticle({450, 5});
        QVERIFY(s.shell.isEnabled(cmd::AdjustWavelength));

        s.answerWavelength("452", false);
        QVERIFY(s.shell.trigger(cmd::AdjustWavelength));
        QCOMPARE(s.texts, QStringList({"Alte Wellenlänge:", "450",
                                       "Neue Wellenlänge:", "Wellenlänge:", "0", "nm"}));
        QVERIFY(!s.fixedEnabled);
        QVERIFY(bitsEqual(s.xs(w, 0), {402, 452, 502, 552}));
        QCOMPARE(doc.reticle.position.x, 452.0f);

        const struct {
            const char* value;
            bool keep;
            const char* message;
        } refused[] = {{"", false, "Geben Sie eine neue Wellenlänge an!"},
                       {"1e99", false, "Geben Sie eine neue Wellenlänge an!"},
                       {"452", true,
                        "Die neue Wellenlänge muß sich von der festen Wellenlänge unterscheiden!"}};
        w->moveReticle({502, 3});
        for (const auto& row : refused) {
            s.shell.messages.shown.clear();
            s.answerWavelength(row.value, row.keep);
            QVERIFY(s.shell.trigger(cmd::AdjustWavelength));
            QCOMPARE(s.lastMessage(), QString::fromUtf8(row.message));
            QVERIFY(bitsEqual(s.xs(w, 0), {402, 452, 502, 552}));
        }
        // 502 to 552 keeping 452: doubled about it.
        s.answerWavelength("552", true);
        QVERIFY(s.shell.trigger(cmd::AdjustWavelength));
        QVERIFY(s.fixedEnabled);
        QVERIFY(bitsEqual(s.xs(w, 0), {352, 452, 552, 652}));
        QCOMPARE(doc.reticle.position.x, 552.0f);
        QCOMPARE(doc.overlays().currentRecord().xTransform[1], 2.0f);
        QVERIFY(s.shell.trigger(cmd::Undo));
        QVERIFY(bitsEqual(s.xs(w, 0), {402, 452, 502, 552}));
    }

    // 154 on a selected found line of a pixel spectrum, then a mirroring stretch: the lines
    // follow, stay sorted and the selection stays on its line.
    void foundLinesFollowWithTheirSelection() {
        Session s;
        s.answerFormat(X::None);
        LumoraWindow* w = s.open(s.write("pixels.txt", kPixels));
        QVERIFY(w);
        DiagramDocument& doc = w->document();
        SpectrumRecord& r = doc.overlays().currentRecord();
        for (float x : {1.0f, 2.0f, 3.0f}) {
            CLine line;
            line.x = x;
            r.spectrumLines.add(line);
        }
        r.foundLinesShown = 1;
        doc.selectLine(0);
        QVERIFY(s.shell.isEnabled(cmd::LineWavelength));
        s.answerWavelength("11", false);
        QVERIFY(s.shell.trigger(cmd::LineWavelength));
        QCOMPARE(s.texts.mid(0, 1) + s.texts.mid(2, 2) + s.texts.mid(5),
                 QStringList({"Alter Punkt:", "Neuer Punkt:", "Punkt", "Pkt"}));
        QCOMPARE(r.spectrumLines[0].x, 11.0f);
        QVERIFY(w->applyScaling({10.0f, -1.0f, 0.0f, 1.0f}));
        QCOMPARE(r.spectrumLines.size(), std::size_t(3));
        QVERIFY(r.spectrumLines[0].x < r.spectrumLines[2].x);
        // x = 10 - x0 about the anchor 0: the selected line of pixel 1 is the largest, at 9.
        QCOMPARE(doc.selectedLine(), 2);
        QCOMPARE(r.spectrumLines[2].x, 9.0f);
    }

    // A pixel overlay calibrated through two points on opening: its entry on its own stack;
    // the settings keep the fields, an empty one as its standard text. Later (132) a
    // recalibration starts from the pixels, "Keine Wellenlängenzuordnung" gives them back,
    // and undo and redo restore each state bit for bit.
    void calibratesPixelsFromThePixels() {
        Session s;
        LumoraWindow* w = s.open(s.write("nm.txt", kNanometres));
        QVERIFY(w);
        s.answerFormat(X::Pixels);
        s.answerCalibration(Method::TwoPoints,
                            {{P::Point1, "1"},
                             {P::Point2, "3"},
                             {P::Wavelength1, "500"},
                             {P::Wavelength2, "510"},
                             {P::Wavelength, ""}},
                            [](ConvertPtoWDialog& d) {
                                QCOMPARE(d.pointCount(), 4);
                                QVERIFY(!d.takeButton()->isEnabled());
                                QVERIFY(!d.field(P::Dispersion)->isEnabled());
                            });
        QVERIFY(w->addSpectrumFile(s.write("pixels.txt", kPixels)));
        const std::vector<float> first = s.xs(w, 1);
        QVERIFY(bitsEqual(first, {495, 500, 505, 510}));
        OverlayTable& table = w->document().overlays();
        QCOMPARE(table.history(1).undoCount(), std::size_t(1));
        QCOMPARE(table.history(0).undoCount(), std::size_t(0));
        QCOMPARE(s.setting("Scaling") + s.setting("Point2") + s.setting("MainWavelength"),
                 std::string("13500"));
        QCOMPARE(table.currentRecord().axisText.xUnit, std::string("nm"));

        // A shift first, then a point and dispersion from the pixels, not from the shifted x.
        QVERIFY(w->applyScaling({3.0f, 1.0f, 0.0f, 1.0f}));
        s.answerFormat(X::Pixels, true, [](ConvertWavelengthDialog& d) {
            QVERIFY(d.radio(X::Pixels)->isChecked());
        });
        // Beside the diagram, which takes no command meanwhile.
        s.answerCalibration(Method::PointAndDispersion,
                            {{P::Point, "2"}, {P::Wavelength, "600"}, {P::Dispersion, "-2"}},
                            [&s](ConvertPtoWDialog& d) {
                                QVERIFY(d.property(ModalRunner::kBesideWindow).toBool());
                                QVERIFY(!s.shell.isEnabled(cmd::Undo));
                            });
        QVERIFY(s.shell.trigger(cmd::WavelengthFormat));
        const std::vector<float> second = s.xs(w, 1);
        QVERIFY(bitsEqual(second, {604, 602, 600, 598}));
        QCOMPARE(w->document().range()[0], 598.0f);
        s.answerFormat(X::Pixels);  // the calibration cancelled: nothing changes
        QVERIFY(s.shell.trigger(cmd::WavelengthFormat));
        QVERIFY(bitsEqual(s.xs(w, 1), second));
        QCOMPARE(table.history(1).undoCount(), std::size_t(3));
        s.answerFormat(X::Pixels);
        s.answerCalibration(Method::None, {});
        QVERIFY(s.shell.trigger(cmd::WavelengthFormat));
        QVERIFY(bitsEqual(s.xs(w, 1), {0, 1, 2, 3}));
        QCOMPARE(w->document().axis.xLabel, std::string("Punkte"));

        QVERIFY(s.shell.trigger(cmd::Undo));
        QVERIFY(bitsEqual(s.xs(w, 1), second));
        QVERIFY(s.shell.trigger(cmd::Undo));
        QVERIFY(s.shell.trigger(cmd::Undo));  // the shift
        QVERIFY(bitsEqual(s.xs(w, 1), first));
        QCOMPARE(table.currentRecord().xFormat.offset, 495.0f);
        for (int i = 0; i < 3; ++i) QVERIFY(s.shell.trigger(cmd::Redo));
        QVERIFY(bitsEqual(s.xs(w, 1), {0, 1, 2, 3}));
        QCOMPARE(table.currentRecord().xFormat.calibrationCode, 0);
    }

    // The checks of "Wellenlängenzuordnung", in order, each with its field; a negative
    // dispersion is taken, and nothing is checked without a calibration
    // (data/calibration_checks.tsv).
    void calibrationChecks() {
        ScriptedMessageBox messages;
        ConvertPtoWDialogXfer x;
        x.label = "C:\\a;b;c;4;1";
        const QStringList names =
            QString("Point1 Point2 Wavelength1 Wavelength2 Point Wavelength Dispersion").split(' ');
        QFile file(LUMORA_TEST_DATA "/source/diagram/data/calibration_checks.tsv");
        QVERIFY(file.open(QIODevice::ReadOnly));
        int rows = 0;
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
            if (line.isEmpty() || line.startsWith('#')) continue;
            const QStringList c = line.split('\t'),
                              fields = c[1].split(' ').replaceInStrings("_", "");
            ConvertPtoWDialog d(x, messages, [] { return std::optional<float>(7.5f); }, {});
            d.show();
            d.radio(Method(QStringList({"two", "one", "none"}).indexOf(c[0])))->setChecked(true);
            for (int f = 0; f < 7; ++f) d.field(P::Field(f))->setText(fields[f]);
            d.accept();
            ++rows;
            QCOMPARE(d.result(), int(c[3] == "ok" ? QDialog::Accepted : QDialog::Rejected));
            if (c[3] == "ok") continue;
            QCOMPARE(messages.shown.back().text, c[3]);
            QCOMPARE(d.focusWidget(), d.field(P::Field(names.indexOf(c[2]))));
        }
        QCOMPARE(rows, 18);
        // The name is split off at the last two ";"; the reticle's value goes into the point
        // field last focused, once until the focus changes or the reticle moves.
        x.method = Method::TwoPoints;
        ConvertPtoWDialog d(x, messages, [] { return std::optional<float>(7.5f); }, {});
        d.show();
        QCOMPARE(d.shownName(), QStringLiteral("C:\\a;b;c"));
        QFocusEvent in(QEvent::FocusIn);
        QCoreApplication::sendEvent(d.field(P::Point2), &in);
        d.takeButton()->click();
        QCOMPARE(d.field(P::Point2)->text(), QStringLiteral("7.5"));
        QVERIFY(!d.takeButton()->isEnabled());
        d.reticleMoved();
        QVERIFY(d.takeButton()->isEnabled());
    }

    // The mercury lamp sample is stored in wavenumbers: converted on opening it spans
    // 499.86 to 588.07 nm; its 545.34 nm peak moved onto 546.074 nm and then 578.31 onto
    // 579.066 keeping 546.074 put the third line within 0.03 nm of 576.960.
    void mercurySampleOntoItsLines() {
        const QString file = QStringLiteral(LUMORA_SHARED "/samples/spc/MERC.SPC");
        if (!QFile::exists(file)) QSKIP("no shared samples");
        Session s;
        s.answerFormat(X::Wavenumbers, true, [](ConvertWavelengthDialog& d) {
            QVERIFY(d.radio(X::Wavenumbers)->isChecked());
        });
        LumoraWindow* w = s.open(file);
        QVERIFY(w);
        const TPointList& points = w->document().overlays().currentRecord().points;
        QVERIFY(std::fabs(points.front().x - 499.86) < 0.005);
        QVERIFY(std::fabs(points.back().x - 588.07) < 0.005);
        const auto peakNear = [&](double x) {
            TPointF best{0, -1};
            for (const TPointF& p : points)
                if (std::fabs(p.x - x) < 0.5 && p.y > best.y) best = p;
            return best;
        };
        w->setReticleShown(true);
        const TPointF green = peakNear(545.34);
        w->moveReticle(green);
        s.answerWavelength("546.074", false);
        QVERIFY(s.shell.trigger(cmd::AdjustWavelength));
        w->moveReticle(peakNear(578.31 + 546.074 - green.x));
        s.answerWavelength("579.066", true);
        QVERIFY(s.shell.trigger(cmd::AdjustWavelength));
        QVERIFY(s.fixedEnabled);
        QVERIFY(std::fabs(peakNear(546.074).x - 546.074) < 0.001);
        QVERIFY(std::fabs(peakNear(576.96).x - 576.960) < 0.03);
    }
};

QTEST_MAIN(XAxisWindowTest)
#include "xaxis_window_test.moc"
