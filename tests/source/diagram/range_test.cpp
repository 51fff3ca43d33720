// The displayed range and the mouse in a real diagram: zoom rectangles with undo, autoscale,
// x inversion, Escape during a zoom, picking a line by a click, the double click and the
// context menu's items. The reticle: kept on in the settings file it appears on the data
// point at the middle of the plot with its read-out and label; the arrow keys step it and
// beep at the end; after moves and a full redraw the cached image is exactly a fresh drawing
// plus the cross.
#include <QLabel>
#include <QStatusBar>
#include <QtTest>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "diagram/DisplayValueDialog.h"
#include "lumgl/Markers.h"
#include "lumgl/lumgl.h"
#include "lumgl_qt/QtCanvas.h"

namespace {

constexpr const char* kReticleOn = "[InitWindow]\r\nLine Cursor=1\r\n";

struct Session : DiagramSession {
    LumoraWindow* w = nullptr;

    explicit Session(const QByteArray& settings = {}) : DiagramSession(settings) {}
    // A new diagram of `points`, shown whole and laid out at a known size.
    bool open(const char* name, const std::string& points) {
        if (!started || !(w = DiagramSession::open(write(name, points)))) return false;
        w->parentWidget()->resize(520, 400);
        QCoreApplication::processEvents();
        w->grab();
        return true;
    }
    DiagramDocument& doc() { return w->document(); }
    // Command 127 and a drag from a to b with the left button.
    void zoom(QPoint a, QPoint b) {
        QVERIFY(shell.trigger(cmd::Zoom));
        QTest::mousePress(w, Qt::LeftButton, {}, a);
        QTest::mouseMove(w, b);
        QTest::mouseRelease(w, Qt::LeftButton, {}, b);
        w->grab();
    }
    std::vector<int> menuIds() {
        std::vector<int> ids;
        for (const ContextMenuItem& item : w->contextMenuItems()) ids.push_back(item.id);
        return ids;
    }
    // Reticle on (in the settings file), on a diagram of 21 points from 400 to 600 (y rises
    // to 10 at 500 and falls again).
    bool openPeak() {
        std::string points;
        for (int k = 0; k <= 20; ++k)
            points +=
                std::to_string(400 + 10 * k) + ' ' + std::to_string(10 - std::abs(k - 10)) + '\n';
        return open("peak.txt", points) && w->reticleDrawn();
    }
    const TPointList& points() { return doc().overlays().currentRecord().points; }
    TPointF position() { return doc().reticle.position; }
    QString readout() { return shell.frame().statusBar()->findChild<QLabel*>("readout")->text(); }
    int lineCursor() {
        return shell.context().profile().read().getInt("InitWindow", "Line Cursor", -1);
    }
    // The diagram drawn anew into an image of the window's size, with the cross when given.
    QImage fresh(bool cross) {
        QImage image(w->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        lumgl::QtCanvas canvas(painter, SDeviceRect{0, 0, image.width(), image.height()}, &image);
        const SPlotInfo laidOut = w->painter().paint(canvas, doc());
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

class RangeTest : public QObject {
    Q_OBJECT
  private slots:
    void zoomUndoAutoscaleAndInversion() {
        Session s;
        QVERIFY(s.open("a.txt", "400 0\n450 50\n500 100\n550 20\n600 0\n"));
        // Three zooms, each dragged up and left: the rectangle's edges become the limits.
        std::vector<std::array<float, 4>> ranges{s.doc().range()};
        for (int k = 0; k < 3; ++k) {
            const SPlotInfo before = s.w->laidOut();
            const QPoint a(before.origin.x + 40, before.topLeft.y + 30);
            s.zoom({before.bottomRight.x - 50, before.origin.y - 20}, a);
            const auto r = s.doc().range();
            QVERIFY(r[1] - r[0] < ranges.back()[1] - ranges.back()[0]);
            QVERIFY(qAbs(DataToMousePoint({r[0], r[3]}, before).x - a.x()) <= 1);
            QVERIFY(qAbs(DataToMousePoint({r[0], r[3]}, before).y - a.y()) <= 1);
            ranges.push_back(r);
        }
        for (int k = 2; k >= 0; --k) {
            QVERIFY(s.shell.trigger(cmd::Undo));
            QCOMPARE(s.doc().range(), ranges[std::size_t(k)]);
        }
        QVERIFY(!s.shell.isEnabled(cmd::Undo));

        // 5 pixels in either direction is no zoom, nor one cancelled by Escape while asked
        // for or dragged; 6 by 6 is one.
        s.zoom({100, 100}, {105, 200});
        s.zoom({100, 100}, {200, 105});
        QVERIFY(s.shell.trigger(cmd::Zoom));
        QTest::keyClick(s.w, Qt::Key_Escape);
        QVERIFY(!s.w->zoomPending());
        QVERIFY(s.shell.trigger(cmd::Zoom));
        QTest::mousePress(s.w, Qt::LeftButton, {}, {100, 100});
        QTest::mouseMove(s.w, {200, 200});
        QTest::keyClick(s.w, Qt::Key_Escape);
        QTest::mouseRelease(s.w, Qt::LeftButton, {}, {200, 200});
        QCOMPARE(s.doc().range(), ranges[0]);
        QVERIFY(!s.shell.isEnabled(cmd::Undo));
        s.zoom({100, 100}, {106, 106});
        const float zoomedLeft = s.doc().range()[0];

        // Autoscale y over 0..100 gives -2.2..110 and keeps x; undone, x comes back.
        QVERIFY(s.shell.trigger(cmd::AutoscaleY));
        const auto y = s.doc().range();  // within float rounding of the values by hand
        QVERIFY(qAbs(y[2] + 2.2f) < 1e-4f && qAbs(y[3] - 110.0f) < 1e-4f && y[0] == zoomedLeft);
        QVERIFY(s.shell.trigger(cmd::AutoscaleX));
        QCOMPARE(s.doc().range()[0], 400.0f);
        QVERIFY(s.shell.trigger(cmd::Undo));
        QCOMPARE(s.doc().range()[0], zoomedLeft);
        // Inverted, the window and the spectrum's data run from right to left.
        QVERIFY(s.shell.trigger(cmd::InvertX));
        QCOMPARE(s.doc().range()[1], zoomedLeft);
        QCOMPARE(s.doc().overlays().currentRecord().plotInfo.xMin, 600.0f);

        // Labels cannot be fitted on a logarithmic x axis from 0: the user is told once, the
        // axis goes back to linear, and the autoscaled range still counts.
        QVERIFY(s.open("c.txt", "0 1\n10 5\n20 2\n"));
        SpectrumRecord& c = s.doc().overlays().currentRecord();
        c.spectrumLines.add(CLine(10, 5));
        c.spectrumLines[0].speciesLabels = {"Fe I 10.00;0.5"};
        c.foundLinesShown = 1;
        s.doc().analysisDisplay = true;
        QVERIFY(s.shell.trigger(cmd::LogX));
        const qsizetype shown = s.shell.messages.shown.size();
        QVERIFY(s.shell.trigger(cmd::AutoscaleXY));
        QCOMPARE(s.shell.messages.shown.size(), shown + 1);
        QVERIFY(s.shell.messages.shown.back().text.startsWith("Logarithmische Darstellung der x"));
        QVERIFY(!s.doc().isChecked(cmd::LogX) && s.shell.isEnabled(cmd::Undo));
    }

    void pickingLinesAndTheContextMenu() {
        Session s;
        QVERIFY(s.open("a.txt", "400 0\n450 50\n500 100\n550 20\n600 0\n"));
        SpectrumRecord& r = s.doc().overlays().currentRecord();
        r.spectrumLines.add(CLine(450, 50));
        r.spectrumLines.add(CLine(550, 20));
        r.spectrumLines[0].speciesLabels = {"Fe I 450.00;0.5", "Ar II 450.01;0.2", "H I 450.0;1"};
        r.foundLinesShown = 1;
        r.newFile = 0;
        s.doc().analysisDisplay = true;
        s.w->grab();
        const auto at = [&](std::size_t k, int dx, int dy) {
            const CLine& line = r.spectrumLines[k];
            const SDevicePoint p = DataToMousePoint({line.x, line.y}, s.w->laidOut());
            return QPoint(p.x + dx, p.y + dy);
        };
        // A click on a marker picks its line, whose selection box is drawn.
        QTest::mouseClick(s.w, Qt::LeftButton, {}, at(1, 0, -15));
        QCOMPARE(s.doc().selectedLine(), 1);
        const QImage shot = s.w->grab().toImage();
        bool marked = false;
        for (int y = at(1, 0, -40).y(); y < at(1, 0, -6).y(); ++y)
            marked |= shot.pixel(at(1, -6, 0).x(), y) == qRgb(0, 0, 0);
        QVERIFY(marked);
        // Beside the marker, where three labels reach (17 pixels), only once the spectrum
        // carries labels; never during a pixel calibration.
        QTest::mouseClick(s.w, Qt::LeftButton, {}, at(0, 15, -10));
        QCOMPARE(s.doc().selectedLine(), 1);
        r.newFile = 1;
        s.doc().calibrating = true;
        QTest::mouseClick(s.w, Qt::LeftButton, {}, at(0, 15, -10));
        QCOMPARE(s.doc().selectedLine(), 1);
        s.doc().calibrating = false;
        QTest::mouseClick(s.w, Qt::LeftButton, {}, at(0, 15, -10));
        QCOMPARE(s.doc().selectedLine(), 0);

        using V = std::vector<int>;
        QCOMPARE(s.menuIds(), (V{cmd::AddLine, cmd::DeleteLine, cmd::DeleteAllLines,
                                 cmd::LineWavelength, cmd::SelectedLineInfo, cmd::EditLineEntries,
                                 0, cmd::Reticle, 0, cmd::DisplayRange, cmd::Scaling}));
        QVERIFY(!s.w->contextMenuItems()[9].checked);

        // A double click shows the data whole, undoably, and drops the selection; the menu
        // then offers all lines only, and shows the reticle and the open dialog.
        s.doc().changeRange({440, 560, 0, 60});
        QTest::mouseDClick(s.w, Qt::LeftButton, {}, {200, 200});
        QVERIFY(s.doc().selectedLine() == -1 && !r.foundLineSelected);
        QCOMPARE(s.doc().range()[0], 400.0f);
        QVERIFY(s.shell.trigger(cmd::Undo));
        QCOMPARE(s.doc().range()[0], 440.0f);
        s.doc().reticle.shown = true;
        QWidget dialog;
        s.w->setModelessDialog(LumoraWindow::Modeless::DisplayRange, &dialog);
        QCOMPARE(s.menuIds(), (V{cmd::AddLine, cmd::DeleteAllLines, 0, cmd::Reticle, 0,
                                 cmd::DisplayRange, cmd::Scaling, cmd::AdjustWavelength}));
        const std::vector<ContextMenuItem> open = s.w->contextMenuItems();
        QVERIFY(open[3].checked && open[5].checked && !open[6].checked);

        // A database line is picked by its label above the bar (its top found in the image).
        CSearchEngineLine db;
        db.wavelength = 500;
        db.label = "Ar II ;0.5";
        db.color = MakeColor(0, 0, 255);
        r.databaseLines.add(db);
        r.foundLinesShown = 0;
        r.databaseLinesShown = 1;
        const QImage bars = s.w->grab().toImage();
        const int x = DataToMousePoint({500, 0}, s.w->laidOut()).x;
        int top = 0;
        while (top < bars.height() && bars.pixel(x, top) != qRgb(0, 0, 255)) ++top;
        QTest::mouseClick(s.w, Qt::LeftButton, {}, {x, top - 25});
        QVERIFY(s.doc().selectedLine() == 0 && r.databaseLineSelected);
    }

    void reticle() {
        Session s(kReticleOn);
        QVERIFY(s.openPeak());
        // On a point of the spectrum, the one nearest in x to the middle of the plot area.
        const SPlotInfo& laid = s.w->laidOut();
        const int middle = (laid.origin.x + laid.bottomRight.x) / 2;
        const SDevicePoint at = s.w->reticlePoint();
        QVERIFY(std::find(s.points().begin(), s.points().end(), s.position()) != s.points().end());
        for (const TPointF& p : s.points())
            QVERIFY(std::abs(DataToMousePoint(p, laid).x - middle) >= std::abs(at.x - middle));
        QCOMPARE(at, DataToMousePoint(s.position(), laid));
        SAxisText& units = s.doc().overlays().currentRecord().axisText;
        units.xUnitStatus = "nm";
        units.yUnitStatus = "Counts";
        QVERIFY(s.w->stepReticle(-1) && s.w->stepReticle(1));
        QCOMPARE(s.readout(), QStringLiteral("x: 500 nm, y: 10 Counts"));
        // The label: "x: 500 " | " y: 10", two pixels into the plot area, centred on the cross.
        DisplayValueDialog* label = s.w->reticleLabel();
        QVERIFY(label->isVisible());
        QCOMPARE(label->xText() + "|" + label->yText(), QStringLiteral("x: 500 | y: 10"));
        QCOMPARE(label->y(), laid.topLeft.y + 2);
        QCOMPARE(label->x(), int(std::trunc(at.x - label->width() / 2.0)));
        s.doc().addLineMode = true;
        s.w->placeReticleLabel();
        QVERIFY(!label->isVisible());
        s.doc().addLineMode = false;

        // Off and on again: remembered at once; off clears the read-out and hides the label.
        QVERIFY(s.shell.trigger(cmd::Reticle));
        QCOMPARE(s.lineCursor(), 0);
        QVERIFY(s.readout().isEmpty() && !label->isVisible());
        QCOMPARE(s.w->diagramImage(), s.fresh(false));
        QVERIFY(s.shell.trigger(cmd::Reticle));
        QCOMPARE(s.lineCursor(), 1);
        QVERIFY(label->isVisible() && s.w->reticlePoint() == at);

        // The arrow keys step it, with Shift ten points, and beep at the end.
        QTest::keyClick(s.w, Qt::Key_Right);
        QCOMPARE(s.position().x, 510.0f);
        QTest::keyClick(s.w, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(s.position().x, 410.0f);
        for (int k = 0; k < 2; ++k) QTest::keyClick(s.w, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(s.position(), s.points().back());
        const int beeps = s.shell.messages.beeps;
        QTest::keyClick(s.w, Qt::Key_Right);
        QCOMPARE(s.shell.messages.beeps, beeps + 1);
        QCOMPARE(s.position(), s.points().back());
        // Move, redraw with grid lines, move: the image is a fresh drawing plus the cross.
        QVERIFY(s.w->stepReticle(-3));
        QVERIFY(s.shell.trigger(cmd::HorizontalGrid));
        s.w->grab();
        QVERIFY(s.w->stepReticle(-5));
        QCOMPARE(s.w->diagramImage(), s.fresh(true));

        // A range that leaves the reticle outside puts it at the new middle.
        s.w->applyDisplayRange({400, 460, 0, 11});
        s.w->grab();
        QCOMPARE(s.position(), (TPointF{430, 3}));
        // Another spectrum made current takes the reticle to its own nearest point.
        QVERIFY(s.w->addSpectrumFile(s.write("other.txt", "395 1\n428 2\n436 3\n470 4\n")));
        s.w->grab();
        QCOMPARE(s.position(), (TPointF{428, 2}));
    }
};

QTEST_MAIN(RangeTest)
#include "range_test.moc"
