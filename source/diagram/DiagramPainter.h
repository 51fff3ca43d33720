// Draws a diagram document on any lumgl::Canvas, for the screen, export and printing alike:
// the frame and the curves of every spectrum through lumgl's composer, then the layers other
// parts of the window add (filter curve, markers, legend, reticle, integral, selection) in a
// fixed order, whatever order they were added in.
#pragma once

#include <functional>
#include <map>

#include "diagram/DiagramDocument.h"
#include "lumgl/DiagramComposer.h"

class DiagramPainter {
  public:
    // The layers over the curves, drawn in this order.
    enum class Layer { FilterCurve, Markers, Legend, Reticle, Integral, Selection };
    using Draw = std::function<void(lumgl::Canvas&, const SPlotInfo& laidOut)>;

    void setLayer(Layer layer, Draw draw) { layers_[layer] = std::move(draw); }

    // The composer for the document as the window shows it: each spectrum with its colour
    // pen (its black pen in black/white display), the current one drawn last, the lines of
    // the current spectrum as its display bytes say.
    static lumgl::DiagramComposer compose(const DiagramDocument& document);

    // Draws the whole diagram; returns the laid-out description. Throws lumgl::PlotError.
    // Output (export, clipboard, printing) leaves out the zoom selection, which belongs to
    // the screen alone.
    enum class Target { Screen, Output };
    SPlotInfo paint(lumgl::Canvas& canvas, const DiagramDocument& document,
                    Target target = Target::Screen) const;
    // The layers alone, over a diagram drawn by other means (the WPG writer) and laid out
    // on `canvas` as `laidOut`.
    void paintLayers(lumgl::Canvas& canvas, const SPlotInfo& laidOut, Target target) const;

  private:
    std::map<Layer, Draw> layers_;
};
