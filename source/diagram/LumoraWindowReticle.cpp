// The diagram window's reticle: command 172, the cross drawn on the cached diagram image with
// the pixels under it saved (a move restores them, saves the new ones and draws, and only the
// two lines' pixels reach the screen), the status-bar read-out, the value label, and the
// arrow keys that step it along the current spectrum.
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/AppContext.h"
#include "app/Commands.h"
#include "diagram/DisplayValueDialog.h"
#include "diagram/LumoraWindow.h"
#include "lumcore/Printf.h"
#include "lumgl/Markers.h"
#include "lumgl/PlotError.h"
#include "lumgl/lumgl.h"
#include "lumgl_qt/QtCanvas.h"
#include "services/MessageBox.h"

namespace {

// The point of `points` nearest in x to `p` (on a tie the one the walk along x stops at).
// Worked out in data units, so a position that is already a point stays exactly where it is,
// however many points share its pixel column.
TPointF nearestPoint(TPointF p, const TPointList& points) {
    TPointF best = DisplaceDataPoint(p, points, 0);
    for (int side : {-1, 1}) {
        const TPointF other = DisplaceDataPoint(p, points, side);
        if (std::fabs(double(other.x) - p.x) < std::fabs(double(best.x) - p.x)) best = other;
    }
    return best;
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

void LumoraWindow::declareReticleCommands() {
    commands_.add(
        cmd::Reticle, [this] { setReticleShown(!document_.reticle.shown); },
        [this] { return !minimised() && document_.isEnabled(cmd::Reticle); },
        [this] { return document_.isChecked(cmd::Reticle); });
    // The arrow keys reach the diagram once it has the focus.
    setFocusPolicy(Qt::StrongFocus);
    valueLabel_ = new DisplayValueDialog(this);
    valueLabel_->hide();
    // A reticle kept on in the settings file appears, with its label, at the first drawing.
    if (document_.reticle.shown) {
        makeReticleBuffers();
        document_.reticle.label = document_.reticle.reposition = true;
    }
}

// One entry per pixel of the screen, or of the window when it is the larger (a window
// spanning two screens), so the cross always reaches across the whole frame.
void LumoraWindow::makeReticleBuffers() {
    const QSize screenSize = screen() ? screen()->size() : QSize();
    MakeReticleStruct(reticleBuffers_, true, std::max(screenSize.width(), width() + 1),
                      std::max(screenSize.height(), height() + 1));
}

void LumoraWindow::setReticleShown(bool shown) {
    if (shown == document_.reticle.shown) return;
    DiagramDocument::Reticle& reticle = document_.reticle;
    if (shown) {
        makeReticleBuffers();
        reticle.shown = reticle.label = reticle.reposition = true;
        if (imageDrawn_ && !backingStale_) {
            QPainter painter(&backing_);
            lumgl::QtCanvas canvas(painter, SDeviceRect{0, 0, width(), height()}, &backing_, true);
            if (const int failure = drawReticleAnew(canvas)) notePlotError(failure);
            canvas.flush();
            update(reticleRegion());
        } else {
            update();
        }
    } else {
        if (reticleOnImage_ && !backingStale_) {
            const QRegion drawn = reticleRegion();
            QPainter painter(&backing_);
            lumgl::QtCanvas canvas(painter, SDeviceRect{0, 0, width(), height()}, &backing_, true);
            DrawReticle(laidOut_, reticlePoint_, reticleBuffers_, true, false, false, canvas);
            canvas.flush();
            update(drawn);
        }
        reticleOnImage_ = false;
        reticle.shown = reticle.label = false;
        MakeReticleStruct(reticleBuffers_, false, 0, 0);
        context_.showReadout(QString());
    }
    placeReticleLabel();
    context_.profile().writeInt(QStringLiteral("InitWindow"), QStringLiteral("Line Cursor"),
                                shown ? 1 : 0);
    emit commandStatesChanged();
}

// Places the cross on a freshly drawn image: at the middle of the plot area when it is new or
// a range change moved it there, else on the current spectrum's point nearest to where it was
// (the current spectrum may have changed). Returns a drawing error's code, or 0.
int LumoraWindow::drawReticleAnew(lumgl::Canvas& canvas) {
    reticleOnImage_ = false;
    DiagramDocument::Reticle& reticle = document_.reticle;
    if (!reticle.shown || document_.overlays().empty()) return 0;
    if (reticleBuffers_.horizontalCapacity() <= std::size_t(width()) ||
        reticleBuffers_.verticalCapacity() <= std::size_t(height()))
        makeReticleBuffers();
    const TPointList& points = document_.overlays().currentRecord().points;
    try {
        if (reticle.reposition) {
            const SDevicePoint middle{(laidOut_.origin.x + laidOut_.bottomRight.x) / 2,
                                      laidOut_.origin.y};
            reticle.position = MousePointToData(middle, points, laidOut_);
        } else {
            reticle.position = nearestPoint(reticle.position, points);
        }
        reticle.reposition = false;
        reticlePoint_ = DataToMousePoint(reticle.position, laidOut_);
        DrawReticle(laidOut_, reticlePoint_, reticleBuffers_, false, true, true, canvas);
    } catch (const lumgl::PlotError& error) {
        return error.code();
    }
    reticleOnImage_ = true;
    showReticleValues();
    return 0;
}

bool LumoraWindow::stepReticle(int steps) {
    DiagramDocument::Reticle& reticle = document_.reticle;
    if (!reticle.shown || document_.overlays().empty()) return false;
    TPointF next;
    try {
        next =
            DisplaceDataPoint(reticle.position, document_.overlays().currentRecord().points, steps);
    } catch (const lumgl::PlotError& error) {
        notePlotError(error.code());
        return false;
    }
    if (next.x == reticle.position.x && next.y == reticle.position.y) {
        context_.messages().beep();
        return false;
    }
    reticle.position = next;
    shiftReticle();
    return true;
}

void LumoraWindow::moveReticle(TPointF position) {
    if (!document_.reticle.shown || document_.overlays().empty()) return;
    try {
        document_.reticle.position =
            nearestPoint(position, document_.overlays().currentRecord().points);
    } catch (const lumgl::PlotError& error) {
        notePlotError(error.code());
        return;
    }
    shiftReticle();
}

// Restore, save, draw at the new position; only the pixels of the old and the new lines are
// painted again. Before the image has a drawing the next drawing places the cross.
void LumoraWindow::shiftReticle() {
    if (!reticleOnImage_ || backingStale_) {
        update();
        return;
    }
    SDevicePoint to;
    try {
        to = DataToMousePoint(document_.reticle.position, laidOut_);
    } catch (const lumgl::PlotError& error) {
        notePlotError(error.code());
        return;
    }
    QRegion changed = reticleRegion();
    {
        QPainter painter(&backing_);
        lumgl::QtCanvas canvas(painter, SDeviceRect{0, 0, width(), height()}, &backing_, true);
        DrawReticle(laidOut_, to, reticleBuffers_, true, true, true, canvas);
    }
    reticlePoint_ = to;
    changed += reticleRegion();
    update(changed);
    showReticleValues();
}

// The pixels the two lines cover on the image.
QRegion LumoraWindow::reticleRegion() const {
    QRegion region;
    if (!reticleOnImage_) return region;
    const lumgl::ReticleSpan across =
        lumgl::HorizontalReticleSpan(laidOut_, reticleBuffers_, reticlePoint_);
    const lumgl::ReticleSpan down =
        lumgl::VerticalReticleSpan(laidOut_, reticleBuffers_, reticlePoint_);
    if (!across.empty()) region += QRect(across.first, reticlePoint_.y, across.count(), 1);
    if (!down.empty()) region += QRect(reticlePoint_.x, down.first, 1, down.count());
    return region;
}

// The status bar's read-out of a point of the current spectrum: "x: %g %s, y: %g %s" with
// its status-bar units (a unit it has none of leaves no blank behind).
QString LumoraWindow::readoutText(TPointF p) const {
    const SAxisText& units = document_.overlays().currentRecord().axisText;
    const auto value = [](float v, const std::string& unit) {
        return unit.empty() ? lumcore::strprintf("%g", double(v))
                            : lumcore::strprintf("%g %s", double(v), unit.c_str());
    };
    return text("x: " + value(p.x, units.xUnitStatus) + ", y: " + value(p.y, units.yUnitStatus));
}

// The read-out and the label. While lines are added the status bar shows the marker instead.
void LumoraWindow::showReticleValues() {
    const TPointF p = document_.reticle.position;
    if (!document_.addLineMode) context_.showReadout(readoutText(p));
    valueLabel_->SetValues(text(lumcore::strprintf("x: %g", double(p.x))),
                           text(lumcore::strprintf("y: %g", double(p.y))));
    placeReticleLabel();
    emit reticleMoved();
}

// Two pixels below the top of the plot area, centred on the cross (the left edge is the
// cross's x less half the label's width, rounded toward zero).
void LumoraWindow::placeReticleLabel() {
    if (!valueLabel_) return;
    const DiagramDocument::Reticle& reticle = document_.reticle;
    const bool shown = reticle.shown && reticle.label && !document_.addLineMode && reticleOnImage_;
    if (shown)
        valueLabel_->move(int(std::trunc(reticlePoint_.x - valueLabel_->width() / 2.0)),
                          laidOut_.topLeft.y + 2);
    valueLabel_->setVisible(shown);
}

void LumoraWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape && cancelZoom()) return;
    // While lines are added the keys belong to the marker.
    if ((key != Qt::Key_Left && key != Qt::Key_Right) || !document_.reticle.shown ||
        document_.addLineMode) {
        QWidget::keyPressEvent(event);
        return;
    }
    // The arrows go the way they point, also on an inverted x axis.
    int steps = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    if (key == Qt::Key_Left) steps = -steps;
    if (document_.plot().xMin > document_.plot().xMax) steps = -steps;
    if (stepReticle(steps) && isVisible())
        QCursor::setPos(mapToGlobal(QPoint(reticlePoint_.x, reticlePoint_.y)));
}
