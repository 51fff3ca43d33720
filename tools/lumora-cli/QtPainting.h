// render's painting with Qt (bitmaps, PDF, SVG) lives in a module of its own, lumora-cli-qt,
// that lumora-cli loads only when render draws: every other command runs without loading Qt
// and the libraries behind it, which would cost more than reading a large spectrum.
#pragma once

#include <string>

#include "lumgl/DiagramComposer.h"

namespace lumcli {

class QtPainting {
  public:
    virtual ~QtPainting() = default;
    // Text measured with the fonts the bitmap would use.
    virtual const lumgl::TextMetrics& metrics() const = 0;
    // Whether files of the type `ext` (png, bmp, pdf, svg) can be painted.
    virtual bool paints(const std::string& ext) const = 0;
    // The diagram as the bytes of a file of the type `ext`; false when painting failed.
    virtual bool paint(lumgl::DiagramComposer& composer, const std::string& ext,
                       std::string& bytes) = 0;
};

// The module's entry point, looked up by this name: a painting for the plot rectangle
// `rect`, with the GUI application object set up that fonts need.
using QtPaintingFactory = QtPainting* (*)(const SDeviceRect& rect);
inline constexpr const char* kQtPaintingEntry = "lumoraCliQtPainting";

}  // namespace lumcli
