// The diagram window's displayed range and mouse: the zoom rectangle, autoscale and x
// inversion as undoable range changes, picking a line by a click, the double click and the
// context menu.
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRubberBand>
#include <algorithm>

#include "app/Commands.h"
#include "diagram/LineHitTest.h"
#include "diagram/LumoraWindow.h"
#include "lumgl/Markers.h"
#include "lumgl/PlotError.h"
#include "lumgl/lumgl.h"
#include "lumgl_qt/QtCanvas.h"

namespace {

// Text measured in the fonts the screen draws with, without a window to draw on.
struct ScreenMetrics {
    QImage image{8, 8, QImage::Format_RGB32};
    QPainter painter{&image};
    lumgl::QtCanvas canvas{painter, SDeviceRect{0, 0, 8, 8}, &image, true};
};

// The pixel length every label is taken to have, for the document's label settings.
int sampleLength(const DiagramDocument& document, const SPlotInfo& laidOut,
                 const lumgl::TextMetrics& metrics) {
    const auto& select = document.analysis.select;
    return lumgl::SampleLabelLength(laidOut, select.IntensityValues, select.IntensityOption,
                                    metrics);
}

QRect toQRect(const SDeviceRect& r) {
    return {r.left, r.top, r.width(), r.height()};
}

}  // namespace

void LumoraWindow::declareRangeCommands() {
    const auto add = [this](int id, CommandTable::Run run) {
        commands_.add(
            id, std::move(run), [this, id] { return !minimised() && document_.isEnabled(id); },
            [this, id] { return document_.isChecked(id); });
    };
    add(cmd::Zoom, [this] { requestZoom(); });
    add(cmd::AutoscaleX, [this] { autoscaleRange(true, false); });
    add(cmd::AutoscaleXY, [this] { autoscaleRange(true, true); });
    add(cmd::AutoscaleY, [this] { autoscaleRange(false, true); });
    add(cmd::InvertX, [this] { invertX(); });
    // The selected line's marker is drawn over everything else.
    painter_.setLayer(DiagramPainter::Layer::Selection,
                      [this](lumgl::Canvas& canvas, const SPlotInfo& laidOut) {
                          drawSelection(canvas, laidOut);
                      });
}

// A zoom rectangle is dragged next; adding lines ends.
void LumoraWindow::requestZoom() {
    if (zoom_ == Zoom::Dragging) return;
    zoom_ = Zoom::Requested;
    setCursor(Qt::CrossCursor);
    if (document_.addLineMode) {
        document_.addLineMode = false;
        changed();
    }
}

bool LumoraWindow::cancelZoom() {
    if (zoom_ == Zoom::Off) return false;
    zoom_ = Zoom::Off;
    if (rubberBand_) rubberBand_->hide();
    unsetCursor();
    return true;
}

void LumoraWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    // While a pixel calibration picks its points a click only moves the reticle.
    if (document_.calibrating) {
        if (document_.overlays().empty()) return;
        try {
            moveReticle(MousePointToData({at.x(), at.y()},
                                         document_.overlays().currentRecord().points, laidOut_));
        } catch (const lumgl::PlotError&) {
            // outside the plot: the reticle stays
        }
        return;
    }
    if (zoom_ == Zoom::Requested) {
        // The rectangle is drawn within the plot area only.
        if (!toQRect(laidOut_.plotRect).contains(at)) return;
        zoom_ = Zoom::Dragging;
        zoomStart_ = at;
        if (!rubberBand_) rubberBand_ = new QRubberBand(QRubberBand::Rectangle, this);
        rubberBand_->setGeometry(QRect(at, QSize()));
        rubberBand_->show();
        return;
    }
    if (zoom_ == Zoom::Off && document_.analysisDisplay && !document_.addLineMode &&
        !document_.calibrating)
        selectLineAt(at);
}

void LumoraWindow::mouseMoveEvent(QMouseEvent* event) {
    if (zoom_ != Zoom::Dragging) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QRect area = toQRect(laidOut_.plotRect);
    const QPoint at = event->position().toPoint();
    const QPoint end(std::clamp(at.x(), area.left(), area.right()),
                     std::clamp(at.y(), area.top(), area.bottom()));
    rubberBand_->setGeometry(QRect(zoomStart_, end).normalized());
}

// A rectangle more than 5 pixels wide and high becomes the displayed range; a smaller one
// is taken for a slip of the hand.
void LumoraWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (zoom_ != Zoom::Dragging || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    cancelZoom();
    const QRect area = toQRect(laidOut_.plotRect);
    const QPoint at = event->position().toPoint();
    const int x = std::clamp(at.x(), area.left(), area.right());
    const int y = std::clamp(at.y(), area.top(), area.bottom());
    const SDeviceRect rect{std::min(x, zoomStart_.x()), std::min(y, zoomStart_.y()),
                           std::max(x, zoomStart_.x()), std::max(y, zoomStart_.y())};
    if (rect.width() <= 5 || rect.height() <= 5) return;
    SPlotInfo zoomed = laidOut_;
    try {
        ZoomRectToValues(rect, zoomed);
    } catch (const lumgl::PlotError& error) {
        reportPlotError(error.code());
        return;
    }
    applyDisplayRange({zoomed.xMin, zoomed.xMax, zoomed.yMin, zoomed.yMax});
}

void LumoraWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || zoom_ == Zoom::Dragging) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    commands_.run(cmd::AutoscaleXY);
    document_.selectLine(-1);
    changed();
}

// Autoscale as an undoable range change: the range is found on the document, with room for
// the line labels, and then applied anew from the range it had.
void LumoraWindow::autoscaleRange(bool x, bool y) {
    const std::array<float, 4> before = document_.range();
    if (!document_.autoscale(x, y)) {
        reportPlotError(lumgl::kErrorNoData);
        return;
    }
    const int error = raiseForLabels();
    const std::array<float, 4> after = document_.range();
    SPlotInfo& plot = document_.plot();
    plot.xMin = before[0];
    plot.xMax = before[1];
    plot.yMin = before[2];
    plot.yMax = before[3];
    applyDisplayRange(after);
    if (error) reportPlotError(error);
}

// While the analysis display is on, raises the top of the displayed range until the labels
// of the shown lines fit in the frame, measured in the screen's fonts. Returns the drawing
// error that stopped it (the range then stays), or 0.
int LumoraWindow::raiseForLabels() {
    if (!document_.analysisDisplay) return 0;
    const ScreenMetrics metrics;
    lumgl::DiagramComposer composer = DiagramPainter::compose(document_);
    try {
        composer.makeRoomForLabels(metrics.canvas);
    } catch (const lumgl::PlotError& error) {
        return error.code();
    }
    document_.plot().yMax = composer.info().yMax;
    return 0;
}

void LumoraWindow::invertX() {
    document_.invertX();
    if (document_.integralDisplay) showIntegralBounds();
    changed();
    emit rangeChanged();
}

void LumoraWindow::selectLineAt(QPoint position) {
    if (document_.overlays().empty()) return;
    const ScreenMetrics metrics;
    linehit::Pick hit;
    try {
        hit = linehit::pick(document_.overlays().currentRecord(), {position.x(), position.y()},
                            laidOut_, sampleLength(document_, laidOut_, metrics.canvas));
    } catch (const lumgl::PlotError&) {
        return;  // a diagram that cannot be drawn shows no lines to pick
    }
    if (hit.index < 0) return;
    document_.selectLine(hit.index);
    changed();
}

void LumoraWindow::drawSelection(lumgl::Canvas& canvas, const SPlotInfo& laidOut) const {
    if (document_.overlays().empty() || document_.selectedLine() < 0) return;
    const SpectrumRecord& spectrum = document_.overlays().currentRecord();
    const linehit::Pick line{document_.selectedLine(), !spectrum.foundLineSelected};
    const std::optional<SDeviceRect> box =
        linehit::selectionBox(spectrum, line, laidOut, sampleLength(document_, laidOut, canvas));
    if (!box) return;
    canvas.setPen(SPenDesc{0, 1, PenStyle::Dot});
    canvas.moveTo({box->left, box->top});
    canvas.lineTo({box->right, box->top});
    canvas.lineTo({box->right, box->bottom});
    canvas.lineTo({box->left, box->bottom});
    canvas.lineTo({box->left, box->top});
}

std::vector<ContextMenuItem> LumoraWindow::contextMenuItems() const {
    return ::contextMenuItems(document_, commands_,
                              modelessDialog(Modeless::DisplayRange) != nullptr,
                              modelessDialog(Modeless::Scaling) != nullptr);
}

// The menu at the mouse; not while a pixel calibration picks its points with the mouse.
void LumoraWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (document_.calibrating || zoom_ == Zoom::Dragging) return;
    QMenu menu;  // not a child: it outlives the window should a command close it
    for (const ContextMenuItem& item : contextMenuItems()) {
        if (!item.id) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.text);
        action->setData(item.id);
        action->setEnabled(item.enabled);
        action->setCheckable(item.checkable);
        action->setChecked(item.checked);
    }
    const QPointer<LumoraWindow> self(this);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen && self) commands_.run(chosen->data().toInt());
}
