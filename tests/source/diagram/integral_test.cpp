// The integral of a real diagram: command 135 opens the modeless dialog, "Berechnen" over a
// triangle whose area is known, the markers of the snapped bounds, the checks of the bounds,
// x inversion swapping them, and "Schließen" switching the display off.
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QtTest>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "dialogs/IntegralDialog.h"
#include "lumgl/lumgl.h"

namespace {

// Peaks at (500, 100) over 400 to 600: 10000 in all; from 450 on 3750 + 3750 + 1250.
constexpr const char* kTriangle = "400 0\n450 50\n500 100\n550 50\n600 0\n";

struct Session : DiagramSession {
    LumoraWindow* w = nullptr;
    IntegralDialog* dialog = nullptr;

    void open() {
        QVERIFY(started);
        w = DiagramSession::open(write("triangle.txt", kTriangle));
        QVERIFY(w);
        w->parentWidget()->resize(520, 400);
        SAxisText& units = w->document().overlays().currentRecord().axisText;
        units.xUnit = "nm";
        units.yUnit = "V";
        QVERIFY(shell.trigger(cmd::Integral));
        dialog = qobject_cast<IntegralDialog*>(w->modelessDialog(LumoraWindow::Modeless::Integral));
        QVERIFY(dialog && dialog->isVisible());
    }
    void compute(const char* left, const char* right) {
        dialog->leftField()->setText(left);
        dialog->rightField()->setText(right);
        dialog->computeButton()->click();
    }
    QStringList shown() const {
        return {dialog->leftField()->text(), dialog->rightField()->text(),
                dialog->valueField()->text()};
    }
    // Pixels off the background in the image column of a bound, between the x axis and the
    // point it snapped to.
    int markedPixels(TPointF bound) {
        w->grab();
        const QImage& image = w->diagramImage();
        const SDevicePoint at = DataToMousePoint(bound, w->laidOut());
        const QRgb background = image.pixel(at.x + 3, at.y + 3);
        int marked = 0;
        for (int y = at.y + 4; y < w->laidOut().origin.y - 2; ++y)
            marked += image.pixel(at.x, y) != background;
        return marked;
    }
};

}  // namespace

class IntegralTest : public QObject {
    Q_OBJECT
  private slots:
    void computesMarksSwapsAndCloses() {
        Session s;
        s.open();
        QCOMPARE(s.shell.frame().action(cmd::Integral)->shortcut(), QKeySequence("Ctrl+I"));
        QCOMPARE(s.dialog->windowTitle(), QStringLiteral("Integral"));
        QCOMPARE(s.dialog->leftUnit() + '|' + s.dialog->valueUnit(), QStringLiteral("nm|V nm"));
        DiagramDocument& doc = s.w->document();
        const int unmarked = s.markedPixels({450, 50});

        // Bounds given right to left snap to the first points at or beyond them.
        s.compute("590", "4.1d2");
        QCOMPARE(s.shown(), QStringList({"450", "600", "8750"}));
        QVERIFY(doc.integralDisplay);
        QVERIFY(s.markedPixels({450, 50}) > unmarked + 20);
        s.compute("400", "600");
        QCOMPARE(s.dialog->valueField()->text(), QStringLiteral("10000"));

        // Inverting x swaps the bounds: the left one is the larger now, the value stays, and
        // computing again on the inverted axis gives the same.
        QVERIFY(s.shell.trigger(cmd::InvertX));
        QCOMPARE(s.shown(), QStringList({"600", "400", "10000"}));
        QCOMPARE(doc.integralBounds[0].x, 600.0f);
        s.compute("450", "600");
        QCOMPARE(s.shown(), QStringList({"600", "450", "8750"}));

        // Another current spectrum is integrated anew between the same bounds.
        QVERIFY(s.w->addSpectrumFile(s.write("flat.txt", "400 2\n450 2\n500 2\n550 2\n600 2\n")));
        QCOMPARE(s.shown(), QStringList({"600", "450", "300"}));
        QVERIFY(s.w->setCurrentSpectrum(0));
        QCOMPARE(s.shown(), QStringList({"600", "450", "8750"}));

        // "Schließen": the dialog goes, and the markers with it.
        s.dialog->closeButton()->click();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!doc.integralDisplay);
        QVERIFY(!s.w->modelessDialog(LumoraWindow::Modeless::Integral));
        QVERIFY(s.markedPixels({450, 50}) < unmarked + 10);  // the flat curve crosses it

        // Opened again it shows the last bounds; without a diagram "Berechnen" is disabled.
        QVERIFY(s.shell.trigger(cmd::Integral));
        auto* again =
            qobject_cast<IntegralDialog*>(s.w->modelessDialog(LumoraWindow::Modeless::Integral));
        QVERIFY(again && again->leftField()->text() == "600");
        QVERIFY(again->computeButton()->isEnabled());
        s.shell.app().client()->closeAllSubWindows();
        QCoreApplication::processEvents();
        QVERIFY(!again->computeButton()->isEnabled());
    }

    void refusesBoundsInOrder() {
        Session s;
        s.open();
        struct Row {
            const char* left;
            const char* right;
            const char* message;
            bool leftFocused;
        };
        const Row rows[] = {
            {"", "500", "Geben Sie die linke Integralgrenze an!", true},
            {"1e99", "500", "Geben Sie die linke Integralgrenze an!", true},
            {"450", "", "Geben Sie die rechte Integralgrenze an!", false},
            {"399", "1e99", "Geben Sie die rechte Integralgrenze an!", false},
            {"399", "500", "Die linke Integralgrenze liegt nicht im Diagrammbereich!", true},
            {"601", "500", "Die linke Integralgrenze liegt nicht im Diagrammbereich!", true},
            {"450", "600.01", "Die rechte Integralgrenze liegt nicht im Diagrammbereich!", false},
        };
        for (const Row& row : rows) {
            s.shell.messages.shown.clear();
            s.compute(row.left, row.right);
            QCOMPARE(s.shell.messages.shown.size(), 1);
            const auto& box = s.shell.messages.shown.back();
            QCOMPARE(box.text, QString::fromUtf8(row.message));
            QVERIFY(box.caption == "Eingabefehler" && box.beep &&
                    box.icon == MessageBox::Icon::Exclamation);
            QCOMPARE(s.dialog->focusWidget(),
                     row.leftFocused ? s.dialog->leftField() : s.dialog->rightField());
            QVERIFY(!s.w->document().integralDisplay);
        }
        // Inside the data but outside the displayed range is refused too.
        s.w->applyDisplayRange({450, 550, 0, 110});
        s.compute("440", "500");
        QCOMPARE(s.lastMessage(),
                 QStringLiteral("Die linke Integralgrenze liegt nicht im Diagrammbereich!"));
        s.compute("450", "550");
        QCOMPARE(s.dialog->valueField()->text(), QStringLiteral("7500"));
    }
};

QTEST_MAIN(IntegralTest)
#include "integral_test.moc"
