// The items of the diagram's context menu, decided from the document and the window's
// command table without building a menu, so they are checked without a screen.
#pragma once

#include <QString>
#include <vector>

class CommandTable;
class DiagramDocument;

struct ContextMenuItem {
    int id = 0;  // 0: a separator
    QString text;
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
    friend bool operator==(const ContextMenuItem&, const ContextMenuItem&) = default;
};

// In order: with the analysis display, adding a line and what applies to the selected
// line or the shown list; the reticle; the display-range and scaling dialogs (checked
// while open) and, with the reticle, adjusting the wavelength there. Each item is enabled
// as its command is in `commands`.
std::vector<ContextMenuItem> contextMenuItems(const DiagramDocument& document,
                                              const CommandTable& commands, bool displayRangeOpen,
                                              bool scalingOpen);
