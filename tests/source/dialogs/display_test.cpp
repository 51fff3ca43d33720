// The plot dialogs: the checks of "Darstellung" and "Skalierung" (number fields with "d"
// exponents and float range), the font text of "Beschriftung", the display-option mapping,
// and in the started program the range dialog, labels, curve colour, legend and file list of
// a real diagram.
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

#include "DiagramSession.h"
#include "TestFiles.h"
#include "app/Commands.h"
#include "diagram/LumoraWindow.h"
#include "dialogs/display/DisplayOptionDialogs.h"
#include "dialogs/display/PlotDispDialog.h"
#include "dialogs/display/PlotEditDialog.h"
#include "dialogs/display/SelectPlotBox.h"
#include "dialogs/display/ViewOptionsDialog.h"
#include "lumgl/RecordingCanvas.h"

namespace {

struct Session : DiagramSession {
    QString spectrum(int k) {
        return write(QStringLiteral("s%1.txt").arg(k),
                     "400 1\n500 " + std::to_string(3 + k) + "\n600 2\n");
    }
    LumoraWindow* open(int k) { return DiagramSession::open(spectrum(k)); }
    lumcore::IniFile settings() { return shell.context().profile().read(); }
};

}  // namespace

class DisplayTest : public QObject {
    Q_OBJECT
  private slots:
    void axisDialogChecks() {
        const auto rows =
            lumtest::tableRows(LUMORA_TEST_DATA "/source/dialogs/data/axis_checks.tsv");
        QCOMPARE(rows.size(), std::size_t(16));
        for (const std::string& line : rows) {
            const QStringList c = QString::fromStdString(line).split('\t');
            QCOMPARE(c.size(), 7);
            ScriptedMessageBox messages;
            PlotEditDialog range(messages);
            PlotDispDialog scaling(messages);
            AxisNumbersDialog& dialog =
                c[0] == "range" ? static_cast<AxisNumbersDialog&>(range) : scaling;
            std::array<float, 4> handed{};
            int handedOn = 0;
            connect(&range, &PlotEditDialog::rangeApplied, [&](const std::array<float, 4>& r) {
                handed = r;
                ++handedOn;
            });
            connect(&scaling, &PlotDispDialog::scalingApplied,
                    [&](const PlotDispDialog::Scaling& s) {
                        handed = {s.xShift, s.xStretch, s.yShift, s.yStretch};
                        ++handedOn;
                    });
            for (int f = 0; f < 4; ++f)
                dialog.field(AxisNumbersDialog::Field(f))->setText(c[1 + f] == "_" ? "" : c[1 + f]);
            const bool accepted = c[5] == "ok";
            QCOMPARE(dialog.apply(), accepted);
            QCOMPARE(handedOn, accepted ? 1 : 0);
            if (accepted) {
                const QStringList v = c[6].split(' ');
                for (int f = 0; f < 4; ++f)
                    QCOMPARE(handed[f], std::strtof(v[f].toUtf8().constData(), nullptr));
                QVERIFY(messages.shown.isEmpty());
            } else {
                QCOMPARE(messages.shown.size(), 1);
                QCOMPARE(messages.shown[0].text, c[5]);
                QCOMPARE(messages.shown[0].caption, QStringLiteral("Eingabefehler"));
                QCOMPARE(messages.beeps, 1);
                QCOMPARE(dialog.focusWidget(),
                         dialog.field(AxisNumbersDialog::Field(c[6].toInt())));
            }
        }

        // Without an active diagram there is nothing to check or to hand the values to.
        ScriptedMessageBox messages;
        PlotEditDialog idle(messages);
        idle.setDiagramActive(false);
        QVERIFY(!idle.applyButton()->isEnabled());
        QVERIFY(idle.apply() && messages.shown.isEmpty());
    }

    void fontTextAndDisplayOptions() {
        // A font text without commas is a point size; the font dialog starts from it.
        ScriptedModalRunner runner;
        ViewOptionsXfer x;
        x.fontName = QStringLiteral("Liberation Sans");
        x.fontType = QStringLiteral("12");
        ViewOptionsDialog dialog(x, runner, {});
        QFont offered;
        runner.scripts.push_back([&](QDialog& d) {
            auto& fonts = static_cast<QFontDialog&>(d);
            offered = fonts.currentFont();
            QFont bigger(QStringLiteral("Liberation Sans"));
            bigger.setPointSize(14);
            bigger.setBold(true);
            fonts.setCurrentFont(bigger);
            fonts.accept();
        });
        dialog.chooseFont();
        QCOMPARE(offered.pointSize(), 12);
        QCOMPARE(offered.weight(), QFont::Normal);
        QVERIFY(!offered.italic());
        dialog.accept();
        const ViewOptionsXfer back = dialog.xfer();
        QCOMPARE(back.fontSize, QStringLiteral("14"));
        const QStringList type = back.fontType.split(',');
        QVERIFY(type.size() == 4 && type[0].toInt() > 14 && type[1] == "14" && type[2] == "1" &&
                type[3] == "0");
        // Missing fields count 0; a point size of 0 or below becomes 11.
        QCOMPARE(LabelFontType::parse("20,-3").text(), std::string("20,11,0,0"));

        // The option integers pick one radio (in the order relative, f value, Aik and element,
        // wavelength, intensity; the first out of range); OK gives them back as the radios say.
        for (const int option : {0, 1, 2, 7, -1}) {
            const int back = option == 1 || option == 2 ? option : 0;
            SearchEngineDisplayOptionDialog search(option, option);
            QVERIFY(search.intensityRadio(displayoption::Intensity(back))->isChecked());
            QVERIFY(search.sortRadio(displayoption::Sort(back))->isChecked());
            QVERIFY(search.intensityOption() == back && search.sortOption() == back);
            LineDisplayOptionDialog line(option, option == 1);
            QVERIFY(line.intensityRadio(displayoption::Intensity(back))->isChecked());
            QVERIFY(line.intensityOption() == back && line.showValues() == (option == 1));
        }
    }

    void rangeDialogFollowsTheDiagrams() {
        Session s;
        QVERIFY(s.started);
        LumoraWindow* first = s.open(0);
        QVERIFY(first);
        first->document().axis.xUnit = "pm";
        QVERIFY(s.shell.trigger(cmd::DisplayRange));
        auto* dialog = qobject_cast<PlotEditDialog*>(
            first->modelessDialog(LumoraWindow::Modeless::DisplayRange));
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->field(AxisNumbersDialog::X1)->text(), QStringLiteral("400"));
        QCOMPARE(dialog->xLabel() + dialog->xUnit(), QStringLiteral("Wellenlänge:pm"));
        dialog->field(AxisNumbersDialog::X1)->setText("6e2");
        dialog->field(AxisNumbersDialog::X2)->setText("450");
        dialog->applyButton()->click();
        QCOMPARE(first->document().range()[0], 600.0f);
        QCOMPARE(first->document().range()[1], 450.0f);
        // It keeps its place beside the main window when that moves.
        QWidget& frame = s.shell.frame();
        frame.move(frame.pos() + QPoint(0, 20));
        QCOMPARE(dialog->pos().y(), frame.frameGeometry().top());
        // Undo puts the range back, and the dialog shows it.
        QVERIFY(s.shell.trigger(cmd::Undo));
        QCOMPARE(dialog->field(AxisNumbersDialog::X1)->text(), QStringLiteral("400"));
        // A second diagram takes the dialog over; with no diagram left it has nothing to act on.
        LumoraWindow* second = s.open(5);
        QVERIFY(second != first);
        QCOMPARE(second->modelessDialog(LumoraWindow::Modeless::DisplayRange), dialog);
        QVERIFY(!first->modelessDialog(LumoraWindow::Modeless::DisplayRange));
        dialog->field(AxisNumbersDialog::Y2)->setText("50");
        dialog->applyButton()->click();
        QCOMPARE(second->document().range()[3], 50.0f);
        QVERIFY(first->document().range()[3] != 50.0f);
        s.shell.app().client()->closeAllSubWindows();
        QCoreApplication::processEvents();
        QVERIFY(!dialog->applyButton()->isEnabled());
    }

    void labelsColourLegendAndFileList() {
        Session s;
        QVERIFY(s.started);
        LumoraWindow* window = s.open(0);
        QVERIFY(window);
        // "Beschriftung": a label equal to its built-in text is stored as "&".
        s.shell.dialogs.scripts.push_back([](QDialog& d) {
            auto& options = static_cast<ViewOptionsDialog&>(d);
            options.field(3)->setText(QStringLiteral("Intensität"));
            options.field(2)->setText(QStringLiteral("Å"));
            options.findChildren<QRadioButton*>()[1]->setChecked(true);
            options.findChildren<QCheckBox*>()[0]->setChecked(true);
            options.accept();
        });
        QVERIFY(s.shell.trigger(cmd::Labels));
        const lumcore::IniFile ini = s.settings();
        const char* view = "View Options";
        const std::string expected =
            "xLabel=& yLabel=Intensität xUnit=Å yUnit=& FontType=15,11,0,0 FontName=Arial "
            "ShowLegend=1 LegendPosition=2 FileNames=1 LineSearch=0 LineIdentification=0";
        for (const std::string& pair : lumtest::split(expected, ' '))
            QCOMPARE(pair.substr(0, pair.find('=') + 1) +
                         ini.getString(view, pair.substr(0, pair.find('=')), "?"),
                     pair);
        QVERIFY(s.shell.isEnabled(cmd::Legend) && s.shell.frame().action(cmd::Legend)->isChecked());

        // The legend lists the file names; 173 hides it and says so in the settings.
        lumgl::RecordingCanvas shown({0, 0, 720, 460});
        window->painter().paint(shown, window->document());
        QVERIFY(shown.trace().find("\"s0.txt:\"") != std::string::npos);
        QVERIFY(s.shell.trigger(cmd::Legend));
        QCOMPARE(s.settings().getInt(view, "ShowLegend", -1), 0);
        lumgl::RecordingCanvas hidden({0, 0, 720, 460});
        window->painter().paint(hidden, window->document());
        QVERIFY(hidden.trace().find("s0.txt:") == std::string::npos);

        // "Diagrammfarbe": the chosen colour, width 1, the old style; the palette offered.
        QColor custom;
        s.shell.dialogs.scripts.push_back([&](QDialog& d) {
            auto& colours = static_cast<QColorDialog&>(d);
            custom = QColorDialog::customColor(3);
            colours.setCurrentColor(QColor(10, 20, 30));
            colours.accept();
        });
        QVERIFY(s.shell.trigger(cmd::DiagramColor));
        QCOMPARE(custom, QColor(255, 0, 0));
        const SPenDesc pen = window->document().overlays().currentRecord().plotInfo.curvePen;
        QVERIFY(pen == (SPenDesc{MakeColor(10, 20, 30), 1, PenStyle::Solid}));

        // The second spectrum opens the file list; choosing a line makes its spectrum current.
        QVERIFY(window->addSpectrumFile(s.spectrum(1)));
        auto* box = qobject_cast<SelectPlotBox*>(
            window->modelessDialog(LumoraWindow::Modeless::PlotSelection));
        QVERIFY(box && box->list()->count() == 2);
        QCOMPARE(box->list()->currentRow(), 1);
        QCOMPARE(box->list()->item(0)->foreground().color(), QColor(10, 20, 30));
        box->list()->setCurrentRow(0);
        QCoreApplication::processEvents();
        QCOMPARE(window->document().overlays().current(), std::size_t(0));
        QCOMPARE(box->list()->currentRow(), 0);
        // Delete in the list reaches the diagram as its own key press.
        struct KeySpy : QObject {
            QList<int> keys;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::KeyPress) keys << static_cast<QKeyEvent*>(e)->key();
                return false;
            }
        } spy;
        window->installEventFilter(&spy);
        QTest::keyClick(box->list(), Qt::Key_Delete);
        QCOMPARE(spy.keys, QList<int>{Qt::Key_Delete});
    }
};

QTEST_MAIN(DisplayTest)
#include "display_test.moc"
