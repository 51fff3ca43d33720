// Line editing in the diagram window: add-line mode with its marker, which follows the mouse
// on the current spectrum's points and adds a line on a click or Enter; deleting the selected
// line or all lines; and the candidate list of a found line in "Linieneinträge".
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/AppContext.h"
#include "app/Commands.h"
#include "diagram/LumoraWindow.h"
#include "dialogs/lines/EditLineEntries.h"
#include "lumcore/Printf.h"
#include "lumdb/Candidate.h"
#include "lumgl/PlotError.h"
#include "lumgl/lumgl.h"
#include "lumgl_qt/QtCanvas.h"
#include "services/ModalRunner.h"

void LumoraWindow::declareLinesCommands() {
    const auto add = [this](int id, CommandTable::Run run) {
        commands_.add(id, std::move(run),
                      [this, id] { return !minimised() && document_.isEnabled(id); });
    };
    add(cmd::AddLine, [this] { enterAddLineMode(); });
    add(cmd::DeleteLine, [this] {
        if (document_.deleteSelectedLine()) changed();
    });
    add(cmd::DeleteAllLines, [this] {
        if (document_.deleteAllLines()) changed();
    });
    add(cmd::EditLineEntries, [this] { editLineEntries(); });
    // Whatever changed the document may have ended add-line mode (another spectrum, undo).
    connect(this, &LumoraWindow::commandStatesChanged, this, [this] { followAddLineMode(); });
}

// The marker starts on the reticle when it is shown, else on the point of the current
// spectrum in the middle of the plot.
void LumoraWindow::enterAddLineMode() {
    const OverlayTable& table = document_.overlays();
    if (table.empty()) return;
    const TPointList& points = table.currentRecord().points;
    if (document_.reticle.shown) {
        addLineMarker_ = document_.reticle.position;
    } else {
        const SDeviceRect& area = laidOut().plotRect;
        try {
            addLineMarker_ = MousePointToData({(area.left + area.right) / 2, 0}, points, laidOut());
        } catch (const lumgl::PlotError&) {
            return;  // no points to put a line on
        }
    }
    document_.addLineMode = true;
    followAddLineMode();
}

void LumoraWindow::moveAddLineMarker(QPoint position) {
    const OverlayTable& table = document_.overlays();
    if (table.empty()) return;
    TPointF moved;
    try {
        moved =
            MousePointToData({position.x(), position.y()}, table.currentRecord().points, laidOut());
    } catch (const lumgl::PlotError&) {
        return;
    }
    const QRegion before = addLineMarkerRegion();
    addLineMarker_ = moved;
    showMarkerReadout();
    update(before + addLineMarkerRegion());
}

void LumoraWindow::addLineAtMarker() {
    document_.addLine(addLineMarker_);
    changed();  // which ends the mode on the widget too
}

void LumoraWindow::followAddLineMode() {
    document_.followLineDisplay();
    const bool on = document_.addLineMode;
    if (on == addLineShown_) return;
    addLineShown_ = on;
    if (on) {
        // The marker follows the mouse with no button held.
        trackedBefore_ = hasMouseTracking();
        setMouseTracking(true);
        setCursor(Qt::CrossCursor);
        setFocus(Qt::OtherFocusReason);
        showMarkerReadout();
    } else {
        // The read-out goes back to the reticle's, if there is one.
        setMouseTracking(trackedBefore_);
        unsetCursor();
        const OverlayTable& table = document_.overlays();
        context_.showReadout(document_.reticle.shown && !table.empty()
                                 ? readoutText(document_.reticle.position)
                                 : QString());
    }
    placeReticleLabel();
    update();
}

// The marker is drawn over the cached diagram, not into it, so that following the mouse
// repaints two narrow columns and nothing is drawn anew: a dashed line through the plot at
// its x and a small cross on the point.
QRegion LumoraWindow::addLineMarkerRegion() const {
    if (!document_.addLineMode || !imageDrawn_) return {};
    const SDevicePoint p = DataToMousePoint(addLineMarker_, laidOut_);
    const SDeviceRect& area = laidOut_.plotRect;
    if (p.x < area.left || p.x > area.right) return {};
    return QRegion(p.x, area.top, 1, area.bottom - area.top + 1) +
           QRegion(p.x - 5, p.y - 5, 12, 12);
}

void LumoraWindow::drawAddLineMarker(QPainter& painter) const {
    if (addLineMarkerRegion().isEmpty()) return;
    const SDevicePoint p = DataToMousePoint(addLineMarker_, laidOut_);
    const SDeviceRect& area = laidOut_.plotRect;
    painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
    painter.drawLine(p.x, area.top, p.x, area.bottom);
    painter.setPen(QPen(Qt::red, 1));
    painter.drawLine(p.x - 5, p.y, p.x + 5, p.y);
    painter.drawLine(p.x, p.y - 5, p.x, p.y + 5);
}

void LumoraWindow::showMarkerReadout() {
    const OverlayTable& table = document_.overlays();
    if (table.empty()) return;
    context_.showReadout(readoutText(addLineMarker_));
}

bool LumoraWindow::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (document_.addLineMode) {
                if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                    addLineAtMarker();
                    return true;
                }
                if (key->key() == Qt::Key_Escape) {
                    document_.addLineMode = false;
                    followAddLineMode();
                    return true;
                }
            }
            if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier &&
                commands_.run(cmd::DeleteLine))
                return true;
            break;
        }
        case QEvent::MouseMove:
            if (!document_.addLineMode) break;
            moveAddLineMarker(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            if (!document_.addLineMode) break;
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
                moveAddLineMarker(mouse->position().toPoint());
                addLineAtMarker();
            }
            return true;
        }
        default:
            break;
    }
    return QWidget::event(event);
}

// The candidates of the selected found line, each in its element's colour; those kept give
// the line its species entries anew.
void LumoraWindow::editLineEntries() {
    if (!document_.isEnabled(cmd::EditLineEntries)) return;
    const CLine& line =
        document_.overlays().currentRecord().spectrumLines[std::size_t(document_.selectedLine())];
    EditLineEntriesXfer xfer;
    for (std::size_t i = 0; i < line.candidateLabels.size(); ++i)
        xfer.entries.append(
            {QString::fromStdString(line.candidateLabels[i]),
             lumgl::QtCanvas::toQColor(i < line.candidateColors.size() ? line.candidateColors[i]
                                                                       : TColor{}),
             int(i)});
    EditLineEntries dialog(xfer, this);
    connect(&dialog, &EditLineEntries::helpRequested, this, [this] {
        if (context_.showHelp) context_.showHelp();
    });
    if (context_.dialogs().run(dialog) != QDialog::Accepted) return;
    std::vector<std::size_t> keep;
    for (const EditLineEntriesXfer::Entry& entry : xfer.entries)
        keep.push_back(std::size_t(entry.source));
    if (document_.keepCandidates(keep)) changed();
}
