// The diagram window's plot dialogs: the display range ("Darstellung") and the file list
// ("Dateiliste"), which are modeless, sit beside the main window and follow the active
// diagram; the curve colour, the labels ("Beschriftung") and the legend with its layer.
#include <QColorDialog>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <algorithm>

#include "app/AppContext.h"
#include "app/Commands.h"
#include "diagram/LumoraWindow.h"
#include "dialogs/IntegralDialog.h"
#include "dialogs/display/LabelFontType.h"
#include "dialogs/display/PlotDispDialog.h"
#include "dialogs/display/PlotEditDialog.h"
#include "dialogs/display/SelectPlotBox.h"
#include "dialogs/display/ViewOptionsDialog.h"
#include "lumgl_qt/QtCanvas.h"
#include "services/ModalRunner.h"

namespace {

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

QMdiArea* areaOf(const QWidget* window) {
    const auto* frame = qobject_cast<const QMdiSubWindow*>(window->parentWidget());
    return frame ? frame->mdiArea() : nullptr;
}

// Beside the main window's right edge, each kind of dialog at its own height; inside that
// edge when the screen has no room beside it.
void placeBeside(QWidget* dialog, const QWidget* mainWindow, int slot) {
    const QRect outer = mainWindow->frameGeometry();
    const QSize size = dialog->frameGeometry().size().expandedTo(dialog->sizeHint());
    QPoint at(outer.right() + 1, outer.top() + slot * 160);
    if (const QScreen* screen = mainWindow->screen()) {
        const QRect room = screen->availableGeometry();
        if (at.x() + size.width() > room.right() + 1)
            at.setX(std::max(room.left(), outer.right() + 1 - size.width()));
    }
    dialog->move(at);
}

// The unit an axis shows: the diagram's own, else the current spectrum's.
QString axisUnit(const DiagramDocument& document, bool x) {
    const std::string& own = x ? document.axis.xUnit : document.axis.yUnit;
    if (!own.empty() || document.overlays().empty()) return fromStd(own);
    const SAxisText& spectrum = document.overlays().currentRecord().axisText;
    return fromStd(x ? spectrum.xUnit : spectrum.yUnit);
}

void showAxisTexts(PlotEditDialog& dialog, const DiagramDocument& document) {
    dialog.setAxisTexts(fromStd(document.axis.xLabel) + ':', axisUnit(document, true),
                        fromStd(document.axis.yLabel) + ':', axisUnit(document, false));
}

void showSpectra(SelectPlotBox& box, const DiagramDocument& document) {
    const OverlayTable& table = document.overlays();
    std::vector<SelectPlotBox::Entry> entries;
    for (std::size_t p = 0; p < table.count(); ++p) {
        const SpectrumRecord& r = table.record(p);
        entries.push_back({QFileInfo(fromStd(r.fileName)).fileName(),
                           lumgl::QtCanvas::toQColor(r.plotInfo.curvePen.color)});
    }
    box.setEntries(entries, table.empty() ? -1 : int(table.current()),
                   document.plot().stateFlags & kStateBlackWhite);
}

}  // namespace

void LumoraWindow::declareDialogCommands() {
    const auto enabled = [this](int id) {
        return [this, id] { return !minimised() && document_.isEnabled(id); };
    };
    commands_.add(
        cmd::DisplayRange, [this] { openDisplayRange(); }, enabled(cmd::DisplayRange),
        [this] { return modelessDialog(Modeless::DisplayRange) != nullptr; });
    commands_.add(
        cmd::DiagramColor, [this] { chooseCurveColor(); }, enabled(cmd::DiagramColor));
    commands_.add(
        cmd::Labels, [this] { editViewOptions(); }, enabled(cmd::Labels));
    commands_.add(
        cmd::Legend, [this] { toggleLegend(); }, enabled(cmd::Legend),
        [this] { return document_.isChecked(cmd::Legend); });
    commands_.add(
        cmd::Integral, [this] { openIntegral(); }, enabled(cmd::Integral));
    painter_.setLayer(DiagramPainter::Layer::Integral,
                      [this](lumgl::Canvas& canvas, const SPlotInfo& laidOut) {
                          drawIntegralBounds(canvas, laidOut);
                      });
    painter_.setLayer(
        DiagramPainter::Layer::Legend,
        [this](lumgl::Canvas& canvas, const SPlotInfo& laidOut) { drawLegend(canvas, laidOut); });
    connect(this, &LumoraWindow::commandStatesChanged, this, &LumoraWindow::followDocument);
}

void LumoraWindow::showModeless(Modeless kind, int place, const std::function<QWidget*()>& make) {
    QWidget* dialog = modelessDialog(kind);
    if (!dialog) {
        dialog = make();
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        attachModeless(kind, dialog);
        // The identification dialog stays with its own diagram; the others follow the
        // active one.
        if (kind != Modeless::LineSearch) watchActivation(kind, dialog);
        placeBeside(dialog, window(), place);
    }
    if (dialog->isVisible())
        dialog->raise();
    else
        dialog->show();
    emit commandStatesChanged();
}

void LumoraWindow::openDisplayRange() {
    showModeless(Modeless::DisplayRange, 0,
                 [this] { return new PlotEditDialog(context_.messages(), window()); });
}

void LumoraWindow::openIntegral() {
    showModeless(Modeless::Integral, 3, [this] {
        return new IntegralDialog(integralDialogXfer(), context_.messages(), context_.showHelp,
                                  window());
    });
}

void LumoraWindow::openPlotSelection() {
    auto* box = new SelectPlotBox(window());
    box->setAttribute(Qt::WA_DeleteOnClose);
    attachModeless(Modeless::PlotSelection, box);
    watchActivation(Modeless::PlotSelection, box);
    placeBeside(box, window(), 2);
    box->show();
}

// The file list opens when the diagram gets its second spectrum; the open dialogs show the
// spectra and axis units as they are now.
void LumoraWindow::followDocument() {
    const std::size_t count = document_.overlays().count();
    if (count >= 2 && spectraSeen_ < 2 && !modelessDialog(Modeless::PlotSelection))
        openPlotSelection();
    spectraSeen_ = count;
    if (auto* box = qobject_cast<SelectPlotBox*>(modelessDialog(Modeless::PlotSelection)))
        showSpectra(*box, document_);
    if (auto* range = qobject_cast<PlotEditDialog*>(modelessDialog(Modeless::DisplayRange)))
        showAxisTexts(*range, document_);
    if (auto* integral = qobject_cast<IntegralDialog*>(modelessDialog(Modeless::Integral)))
        attachIntegral(*integral, false);
    if (auto* scaling = qobject_cast<PlotDispDialog*>(modelessDialog(Modeless::Scaling)))
        attachScaling(*scaling, false);
    followIntegral();
}

void LumoraWindow::attachModeless(Modeless kind, QWidget* dialog) {
    if (QMdiArea* area = areaOf(this))
        for (QMdiSubWindow* frame : area->subWindowList()) {
            auto* other = qobject_cast<LumoraWindow*>(frame->widget());
            if (other && other != this && other->modelessDialog(kind) == dialog) {
                other->setModelessDialog(kind, nullptr);
                disconnect(other, nullptr, dialog, nullptr);
                disconnect(dialog, nullptr, other, nullptr);
            }
        }
    const bool fresh = modelessDialog(kind) != dialog;
    setModelessDialog(kind, dialog);
    if (auto* range = qobject_cast<PlotEditDialog*>(dialog)) {
        if (fresh) {
            connect(range, &PlotEditDialog::rangeApplied, this, &LumoraWindow::applyDisplayRange);
            connect(this, &LumoraWindow::rangeChanged, range,
                    [this, range] { range->setRange(document_.range()); });
        }
        range->setDiagramActive(true);
        range->setRange(document_.range());
        showAxisTexts(*range, document_);
    } else if (auto* box = qobject_cast<SelectPlotBox*>(dialog)) {
        if (fresh) {
            // Queued: the list is refilled when the spectrum has become current.
            connect(
                box, &SelectPlotBox::spectrumChosen, this,
                [this](int position) { setCurrentSpectrum(std::size_t(position)); },
                Qt::QueuedConnection);
            connect(box, &SelectPlotBox::deletePressed, this, [this] {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
                QCoreApplication::sendEvent(this, &press);
            });
        }
        showSpectra(*box, document_);
    } else if (auto* integral = qobject_cast<IntegralDialog*>(dialog)) {
        attachIntegral(*integral, fresh);
    } else if (auto* scaling = qobject_cast<PlotDispDialog*>(dialog)) {
        attachScaling(*scaling, fresh);
    }
}

// The dialog goes with whichever diagram becomes active; while another kind of window is
// active it stays open with nothing to act on.
void LumoraWindow::watchActivation(Modeless kind, QWidget* dialog) {
    QMdiArea* area = areaOf(this);
    if (!area) return;
    connect(area, &QMdiArea::subWindowActivated, dialog, [area, kind, dialog] {
        // The area's current window, not the signal's: the main window losing the focus to
        // the dialog itself deactivates the area's window without another taking its place.
        QMdiSubWindow* frame = area->currentSubWindow();
        if (auto* diagram = frame ? qobject_cast<LumoraWindow*>(frame->widget()) : nullptr) {
            diagram->attachModeless(kind, dialog);
            return;
        }
        if (auto* numbers = qobject_cast<AxisNumbersDialog*>(dialog))
            numbers->setDiagramActive(false);
        if (auto* box = qobject_cast<SelectPlotBox*>(dialog)) box->setEntries({}, -1, false);
        if (auto* integral = qobject_cast<IntegralDialog*>(dialog))
            integral->setDiagramActive(false);
    });
}

void LumoraWindow::frameEvent(QEvent* event) {
    if (event->type() == QEvent::Move) placeModeless();
}

void LumoraWindow::placeModeless() {
    int slot = 0;
    for (const Modeless kind : {Modeless::DisplayRange, Modeless::Scaling, Modeless::PlotSelection,
                                Modeless::Integral, Modeless::LineSearch}) {
        if (QWidget* dialog = modelessDialog(kind)) placeBeside(dialog, window(), slot);
        ++slot;
    }
}

void LumoraWindow::chooseCurveColor() {
    if (document_.overlays().empty()) return;
    SPenDesc& pen = document_.overlays().currentRecord().plotInfo.curvePen;
    QColorDialog dialog(lumgl::QtCanvas::toQColor(pen.color), this);
    dialog.setWindowTitle(QStringLiteral("Farbe"));
    for (std::size_t k = 0; k < kDiagramPalette.size(); ++k)
        QColorDialog::setCustomColor(int(k), lumgl::QtCanvas::toQColor(kDiagramPalette[k]));
    if (context_.dialogs().run(dialog) != QDialog::Accepted) return;
    const QColor chosen = dialog.currentColor();
    pen = SPenDesc{
        MakeColor(unsigned(chosen.red()), unsigned(chosen.green()), unsigned(chosen.blue())), 1,
        pen.style};
    changed();
}

void LumoraWindow::editViewOptions() {
    const DiagramDocument::ViewOptions now = document_.viewOptions();
    ViewOptionsXfer x;
    x.title = fromStd(now.title);
    x.xLabel = fromStd(now.axis.xLabel);
    x.xUnit = fromStd(now.axis.xUnit);
    x.yLabel = fromStd(now.axis.yLabel);
    x.yUnit = fromStd(now.axis.yUnit);
    x.fileNames = now.legend.fileNames;
    x.identification = now.legend.identification;
    x.lineSearch = now.legend.lineSearch;
    using Corner = ViewOptionsXfer::Legend;
    x.legend = !now.legend.shown          ? Corner::None
               : now.legend.position == 2 ? Corner::TopRight
                                          : Corner::TopLeft;
    x.fontName = fromStd(now.fontName);
    x.fontType = fromStd(now.fontType);
    x.fontSize = QString::number(LabelFontType::parse(now.fontType).points);
    ViewOptionsDialog dialog(x, context_.dialogs(), context_.showHelp, this);
    if (context_.dialogs().run(dialog) != QDialog::Accepted) return;
    const ViewOptionsXfer chosen = dialog.xfer();
    DiagramDocument::ViewOptions next = now;
    next.title = chosen.title.toStdString();
    next.axis = {chosen.xLabel.toStdString(), chosen.yLabel.toStdString(),
                 chosen.xUnit.toStdString(), chosen.yUnit.toStdString()};
    next.legend.fileNames = chosen.fileNames;
    next.legend.identification = chosen.identification;
    next.legend.lineSearch = chosen.lineSearch;
    next.legend.shown = chosen.legend != Corner::None;
    if (chosen.legend != Corner::None)
        next.legend.position = chosen.legend == Corner::TopRight ? 2 : 1;
    next.fontName = chosen.fontName.toStdString();
    next.fontType = chosen.fontType.toStdString();
    lumcore::IniFile ini = context_.profile().read();
    document_.setViewOptions(next, ini);
    context_.profile().write(ini);
    changed();
}

void LumoraWindow::toggleLegend() {
    document_.legend.shown = !document_.legend.shown;
    context_.profile().writeInt(QStringLiteral("View Options"), QStringLiteral("ShowLegend"),
                                document_.legend.shown ? 1 : 0);
    changed();
}

// The legend's entries in a white box in the frame's upper left or right corner: file names
// after a short sample of their curve, then the summaries of the runs. Sizes count screen
// pixels of `pixelUnit` device units and "down" follows the frame, so the box keeps its
// place and shape on a WPG page, whose y grows upwards.
void LumoraWindow::drawLegend(lumgl::Canvas& canvas, const SPlotInfo& laidOut) const {
    const DiagramDocument::Legend& legend = document_.legend;
    const OverlayTable& table = document_.overlays();
    if (!legend.shown) return;
    const std::vector<DiagramDocument::LegendEntry> entries = document_.legendEntries();
    if (entries.empty()) return;
    const int unit = canvas.pixelUnit();
    const int down = laidOut.topLeft.y > laidOut.origin.y ? -1 : 1;
    SFontDesc font;
    font.face = "Times New Roman";
    font.height = 14;  // the canvas scales font sizes itself
    const bool blackWhite = document_.plot().stateFlags & kStateBlackWhite;
    int textWidth = 0;
    int lineHeight = 0;
    for (const DiagramDocument::LegendEntry& entry : entries) {
        const lumgl::TextSize size = canvas.textExtent(font, entry.text);
        textWidth = std::max(textWidth, size.width);
        lineHeight = std::max(lineHeight, size.height);
    }
    const int margin = 4 * unit;
    const int sample = 20 * unit;
    const int width = margin + sample + margin + textWidth + margin;
    const int height = margin + int(entries.size()) * lineHeight + margin;
    const SDevicePoint corner =
        legend.position == 2
            ? SDevicePoint{laidOut.topRight.x - margin - width, laidOut.topRight.y + down * margin}
            : SDevicePoint{laidOut.topLeft.x + margin, laidOut.topLeft.y + down * margin};
    const SDevicePoint box[4] = {corner,
                                 {corner.x + width, corner.y},
                                 {corner.x + width, corner.y + down * height},
                                 {corner.x, corner.y + down * height}};
    const SPenDesc black{MakeColor(0, 0, 0), unit, PenStyle::Solid};
    canvas.setPen(black);
    canvas.setBrush(MakeColor(255, 255, 255));
    canvas.fillPolygon(box, 4);
    canvas.setFont(font);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const DiagramDocument::LegendEntry& entry = entries[k];
        const int top = corner.y + down * (margin + int(k) * lineHeight);
        SPenDesc pen = black;
        if (entry.sample >= 0) {
            const SPlotInfo& info = table.record(std::size_t(entry.sample)).plotInfo;
            pen = blackWhite ? info.framePen : info.curvePen;
            const int middle = top + down * (lineHeight / 2);
            canvas.setPen(pen);
            canvas.moveTo({corner.x + margin, middle});
            canvas.lineTo({corner.x + margin + sample, middle});
        }
        canvas.setTextColor(pen.color);
        canvas.textOut({corner.x + margin + sample + margin, top},
                       lumgl::kAlignLeft | lumgl::kAlignTop, entry.text);
    }
}
