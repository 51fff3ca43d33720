#include "diagram/DiagramPainter.h"

namespace {

// "label [unit]"; the diagram's own unit, else the current spectrum's, else no brackets.
std::string axisTitle(const std::string& label, const std::string& unit,
                      const std::string& spectrumUnit) {
    const std::string& shown = unit.empty() ? spectrumUnit : unit;
    return shown.empty() ? label : label + " [" + shown + "]";
}

}  // namespace

lumgl::DiagramComposer DiagramPainter::compose(const DiagramDocument& document) {
    const OverlayTable& table = document.overlays();
    const bool blackWhite = document.plot().stateFlags & kStateBlackWhite;
    std::vector<lumgl::DiagramOverlay> overlays;
    for (std::size_t p = 0; p < table.count(); ++p) {
        const SpectrumRecord& r = table.record(p);
        const bool shown = p == table.current();
        overlays.push_back({&r, blackWhite ? r.plotInfo.framePen : r.plotInfo.curvePen,
                            shown && r.foundLinesShown, shown && r.foundLinesShown,
                            shown && r.databaseLinesShown});
    }
    SPlotInfo info = document.plot();
    const SAxisText none;
    const SAxisText& units = table.empty() ? none : table.currentRecord().axisText;
    info.xTitle = axisTitle(document.axis.xLabel, document.axis.xUnit, units.xUnit);
    info.yTitle = axisTitle(document.axis.yLabel, document.axis.yUnit, units.yUnit);
    if (!table.empty()) info.title = table.currentRecord().plotInfo.title;
    lumgl::DiagramOptions options;
    options.showValues = document.analysis.select.IntensityValues;
    options.strengthKind = document.analysis.select.IntensityOption;
    options.current = table.current();
    return lumgl::DiagramComposer(info, std::move(overlays), options);
}

SPlotInfo DiagramPainter::paint(lumgl::Canvas& canvas, const DiagramDocument& document,
                                Target target) const {
    const SPlotInfo laidOut = compose(document).draw(canvas);
    paintLayers(canvas, laidOut, target);
    return laidOut;
}

void DiagramPainter::paintLayers(lumgl::Canvas& canvas, const SPlotInfo& laidOut,
                                 Target target) const {
    for (const auto& [layer, draw] : layers_)
        if (draw && !(target == Target::Output && layer == Layer::Selection)) draw(canvas, laidOut);
}
