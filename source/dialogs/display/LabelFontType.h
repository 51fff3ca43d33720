// The label font's type text "height,points,bold,italic" ("FontType" in the
// settings, the font text of "Beschriftung"). A text without a comma is a point size alone;
// fields that are missing or not a number count 0; a point size of 0 or below becomes 11.
#pragma once

#include <string>

#include "lumgl/PlotInfo.h"

struct LabelFontType {
    int height = 0;  // character cell height in pixels; 0: from the point size
    int points = 11;
    bool bold = false;
    bool italic = false;

    static LabelFontType parse(const std::string& text);
    // "%d,%d,%d,%d".
    std::string text() const;
    // The axis font of a diagram: `face` in this size, weight and slant.
    SFontDesc font(const std::string& face) const;
};
