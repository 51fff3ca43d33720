// The pens of a diagram's spectra: twelve rows, one per overlay position, of six pens each.
// Column 0 draws the curve in colour, column 1 in black/white display (told apart by its
// dash style), columns 2 to 5 the line markers. A row belongs to the spectrum at its
// position and travels with it: closing a spectrum moves its row to the end, so the next
// spectrum opened takes the colour that was freed.
#pragma once

#include <array>
#include <cstddef>

#include "lumgl/DiagramComposer.h"
#include "lumgl/PlotInfo.h"

// The sixteen colours a diagram offers: black, white, light grey, red, blue, green, yellow,
// magenta, maroon, teal, olive, purple, cyan, dark green, navy, grey.
inline constexpr std::array<TColor, 16> kDiagramPalette = {
    MakeColor(0, 0, 0),      MakeColor(255, 255, 255), MakeColor(192, 192, 192),
    MakeColor(255, 0, 0),    MakeColor(0, 0, 255),     MakeColor(0, 255, 0),
    MakeColor(255, 255, 0),  MakeColor(255, 0, 255),   MakeColor(128, 0, 0),
    MakeColor(0, 128, 128),  MakeColor(128, 128, 0),   MakeColor(128, 0, 128),
    MakeColor(0, 255, 255),  MakeColor(0, 128, 0),     MakeColor(0, 0, 128),
    MakeColor(128, 128, 128)};

class PenTable {
  public:
    static constexpr std::size_t kRows = lumgl::kMaxOverlays;
    enum Column : std::size_t { Curve = 0, BlackCurve = 1, FirstMarker = 2, Columns = 6 };
    using Row = std::array<SPenDesc, Columns>;

    PenTable();

    const Row& row(std::size_t position) const { return rows_.at(position); }
    // Moves the row at `position` behind all others; the rows after it move up by one.
    void moveToEnd(std::size_t position);

  private:
    std::array<Row, kRows> rows_;
};
