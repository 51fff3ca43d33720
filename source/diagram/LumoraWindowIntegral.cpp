// The diagram window's integral: the modeless "Integral" dialog follows the active diagram,
// "Berechnen" integrates the current spectrum between the two bounds, and the points the
// bounds snapped to are marked in the diagram until the dialog closes.
#include <QString>
#include <algorithm>

#include "app/AppContext.h"
#include "diagram/LumoraWindow.h"
#include "dialogs/IntegralDialog.h"
#include "dialogs/NumberField.h"
#include "lumdb/XAxis.h"
#include "lumgl/lumgl.h"
#include "services/MessageBox.h"
#include "services/StringTable.h"

void LumoraWindow::attachIntegral(IntegralDialog& dialog, bool fresh) {
    if (fresh) {
        connect(&dialog, &IntegralDialog::computeRequested, this, &LumoraWindow::computeIntegral);
        connect(&dialog, &QDialog::finished, this, &LumoraWindow::closeIntegral);
    }
    dialog.setDiagramActive(true);
    // The units of the spectrum integrated: the result's is the y unit times the x unit.
    const SAxisText none;
    const SAxisText& units =
        document_.overlays().empty() ? none : document_.overlays().currentRecord().axisText;
    dialog.setUnits(QString::fromStdString(units.xUnit), QString::fromStdString(units.yUnit));
}

void LumoraWindow::computeIntegral() {
    auto* dialog = qobject_cast<IntegralDialog*>(modelessDialog(Modeless::Integral));
    if (!dialog || document_.overlays().empty()) return;
    const std::array<float, 4> range = document_.range();
    if (!dialog->check(range[0], range[1])) return;
    IntegralDialogXfer& x = dialog->xfer();
    const float a = numberfield::read(x.left).value_or(0.0f);
    const float b = numberfield::read(x.right).value_or(0.0f);
    // The left bound is the one on the left as the axis is displayed.
    const bool inverted = range[0] > range[1];
    const float left = inverted ? std::max(a, b) : std::min(a, b);
    const float right = inverted ? std::min(a, b) : std::max(a, b);
    if (integrate(left, right)) return;
    context_.messages().show(
        dialog, QStringLiteral("Der Integralwert liegt außerhalb des Zahlenbereichs!"),
        strings::InputError, MessageBox::Icon::Exclamation, MessageBox::Buttons::Ok, true);
}

// Integrates the current spectrum between the points `left` and `right` snap to, marks them
// and shows them with the value in the dialog. False, with nothing changed, when the value
// is refused.
bool LumoraWindow::integrate(float left, float right) {
    const TPointList& points = document_.overlays().currentRecord().points;
    const std::optional<lumdb::IntegralResult> result =
        lumdb::trapezoidIntegral(points, left, right);
    if (!result) return false;
    document_.integralBounds = {points[result->leftIndex], points[result->rightIndex]};
    document_.integralDisplay = true;
    integralData_ = points.data();
    integralSize_ = points.size();
    if (auto* dialog = qobject_cast<IntegralDialog*>(modelessDialog(Modeless::Integral)))
        dialog->xfer().value = numberfield::text(static_cast<float>(result->value));
    showIntegralBounds();
    redraw();
    return true;
}

// Another spectrum became current (or the current one was closed or replaced): the shown
// integral is computed anew on it from the same bounds, or goes off when it cannot be.
void LumoraWindow::followIntegral() {
    if (!document_.integralDisplay) return;
    const TPointList* points =
        document_.overlays().empty() ? nullptr : &document_.overlays().currentRecord().points;
    if (points && points->data() == integralData_ && points->size() == integralSize_) return;
    if (!points || !integrate(document_.integralBounds[0].x, document_.integralBounds[1].x))
        closeIntegral();
}

// The snapped bounds into the dialog, the left one first.
void LumoraWindow::showIntegralBounds() {
    auto* dialog = qobject_cast<IntegralDialog*>(modelessDialog(Modeless::Integral));
    if (!dialog) return;
    IntegralDialogXfer& x = dialog->xfer();
    x.left = numberfield::text(document_.integralBounds[0].x);
    x.right = numberfield::text(document_.integralBounds[1].x);
    dialog->showXfer();
}

// The dialog was closed: the markers go with it.
void LumoraWindow::closeIntegral() {
    if (!document_.integralDisplay) return;
    document_.integralDisplay = false;
    document_.integralBounds = {};
    redraw();
}

// A dashed line in the current spectrum's pen from the x axis up to each snapped point,
// kept inside the frame; a bound outside the displayed x range is not marked.
void LumoraWindow::drawIntegralBounds(lumgl::Canvas& canvas, const SPlotInfo& laidOut) const {
    if (!document_.integralDisplay || document_.overlays().empty()) return;
    const SPlotInfo& info = document_.overlays().currentRecord().plotInfo;
    SPenDesc pen = document_.plot().stateFlags & kStateBlackWhite ? info.framePen : info.curvePen;
    pen.width = canvas.pixelUnit();
    pen.style = PenStyle::Dash;
    canvas.setPen(pen);
    const int left = std::min(laidOut.origin.x, laidOut.bottomRight.x);
    const int right = std::max(laidOut.origin.x, laidOut.bottomRight.x);
    const int top = std::min(laidOut.topLeft.y, laidOut.origin.y);
    const int bottom = std::max(laidOut.topLeft.y, laidOut.origin.y);
    for (const TPointF& bound : document_.integralBounds) {
        const SDevicePoint at = DataToMousePoint(bound, laidOut);
        if (at.x < left || at.x > right) continue;
        canvas.moveTo({at.x, laidOut.origin.y});
        canvas.lineTo({at.x, std::clamp(at.y, top, bottom)});
    }
}
