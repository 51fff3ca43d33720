// The diagram's reticle: kept on in the settings file it appears on the data point at the
// middle of the plot with its read-out and label; the arrow keys step it and beep at the end;
// after moves and a full redraw the cached image is exactly a fresh drawing plus the cross.
#include <QLabel>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <fstream>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "diagram/DisplayValueDialog.h"
#include "diagram/LumoraWindow.h"
#include "lumgl/Markers.h"
#include "lumgl/lumgl.h"
#include "lumgl_qt/QtCanvas.h"

namespace {

// The reticle is on in the settings file.
struct Session : DiagramSession {
    LumoraWindow* window = nullptr;

    Session() : DiagramSession("[InitWindow]\r\nLine Cursor=1\r\n") {}
    // A diagram of 21 points from 400 to 600 (y rises to 10 at 500 and falls again).
    bool open() {
        std::string points;
        for (int k = 0; k <= 20; ++k)
            points +=
                std::to_string(400 + 10 * k) + ' ' + std::to_string(10 - std::abs(k - 10)) + '\n';
        if (!started || !(window = DiagramSession::open(write("peak.txt", points)))) return false;
        window->parentWidget()->resize(520, 380);
        QCoreApplication::processEvents();
        window->grab();
        return window->reticleDrawn();
    }
    const TPointList& points() { return window->document().overlays().currentRecord().points; }
    TPointF position() { return window->document().reticle.position; }
    QString readout() { return shell.frame().statusBar()->findChild<QLabel*>("readout")->text(); }
    int lineCursor() {
        return shell.context().profile().read().getInt("InitWindow", "Line Cursor", -1);
    }
    // The diagram drawn anew into an image of the window's size, with the cross when given.
    QImage fresh(bool cross) {
        QImage image(window->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        lumgl::QtCanvas canvas(painter, SDeviceRect{0, 0, image.width(), image.height()}, &image);
        const SPlotInfo laidOut = window->painter().paint(canvas, window->document());
        ReticleBuffers buffers;
        MakeReticleStruct(buffers, true, 4000, 4000);
        if (cross)
            DrawReticle(laidOut, DataToMousePoint(position(), laidOut), buffers, false, true, true,
                        canvas);
        canvas.flush();
        return image;
    }
};

}  // namespace

class ReticleTest : public QObject {
    Q_OBJECT
  private slots:
    void placementReadoutAndLabel() {
        Session s;
        QVERIFY(s.open());
        // On a point of the spectrum, the one nearest in x to the middle of the plot area.
        const SPlotInfo& laid = s.window->laidOut();
        const int middle = (laid.origin.x + laid.bottomRight.x) / 2;
        const SDevicePoint at = s.window->reticlePoint();
        QVERIFY(std::find(s.points().begin(), s.points().end(), s.position()) != s.points().end());
        for (const TPointF& p : s.points())
            QVERIFY(std::abs(DataToMousePoint(p, laid).x - middle) >= std::abs(at.x - middle));
        QCOMPARE(at, DataToMousePoint(s.position(), laid));
        SAxisText& units = s.window->document().overlays().currentRecord().axisText;
        units.xUnitStatus = "nm";
        units.yUnitStatus = "Counts";
        QVERIFY(s.window->stepReticle(-1) && s.window->stepReticle(1));
        QCOMPARE(s.readout(), QStringLiteral("x: 500 nm, y: 10 Counts"));
        // The label: "x: 500 " | " y: 10", two pixels into the plot area, centred on the cross.
        DisplayValueDialog* label = s.window->reticleLabel();
        QVERIFY(label->isVisible());
        QCOMPARE(label->xText() + "|" + label->yText(), QStringLiteral("x: 500 | y: 10"));
        QCOMPARE(label->y(), laid.topLeft.y + 2);
        QCOMPARE(label->x(), int(std::trunc(at.x - label->width() / 2.0)));
        s.window->document().addLineMode = true;
        s.window->placeReticleLabel();
        QVERIFY(!label->isVisible());
        s.window->document().addLineMode = false;

        // Off and on again: remembered at once; off clears the read-out and hides the label.
        QVERIFY(s.shell.trigger(cmd::Reticle));
        QCOMPARE(s.lineCursor(), 0);
        QVERIFY(s.readout().isEmpty() && !label->isVisible());
        QCOMPARE(s.window->diagramImage(), s.fresh(false));
        QVERIFY(s.shell.trigger(cmd::Reticle));
        QCOMPARE(s.lineCursor(), 1);
        QVERIFY(label->isVisible() && s.window->reticlePoint() == at);

        // A range that leaves the reticle outside puts it at the new middle.
        s.window->applyDisplayRange({400, 460, 0, 11});
        s.window->grab();
        QCOMPARE(s.position(), (TPointF{430, 3}));
        // Another spectrum made current takes the reticle to its own nearest point.
        const QString other = s.dir.filePath("other.txt");
        std::ofstream(other.toStdString()) << "395 1\n428 2\n436 3\n470 4\n";
        QVERIFY(s.window->addSpectrumFile(other));
        s.window->grab();
        QCOMPARE(s.position(), (TPointF{428, 2}));
    }

    void arrowKeysAndMovesOnTheCachedImage() {
        Session s;
        QVERIFY(s.open());
        QTest::keyClick(s.window, Qt::Key_Right);
        QCOMPARE(s.position().x, 510.0f);
        QTest::keyClick(s.window, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(s.position().x, 410.0f);
        for (int k = 0; k < 2; ++k) QTest::keyClick(s.window, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(s.position(), s.points().back());
        const int beeps = s.shell.messages.beeps;
        QTest::keyClick(s.window, Qt::Key_Right);
        QCOMPARE(s.shell.messages.beeps, beeps + 1);
        QCOMPARE(s.position(), s.points().back());
        // Move, redraw with grid lines, move: the image is a fresh drawing plus the cross.
        QVERIFY(s.window->stepReticle(-3));
        QVERIFY(s.shell.trigger(cmd::HorizontalGrid));
        s.window->grab();
        QVERIFY(s.window->stepReticle(-5));
        QCOMPARE(s.window->diagramImage(), s.fresh(true));
    }
};

QTEST_MAIN(ReticleTest)
#include "reticle_test.moc"
