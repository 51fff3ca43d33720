#include "diagram/ContextMenu.h"

#include "app/CommandTable.h"
#include "app/Commands.h"
#include "diagram/DiagramDocument.h"

std::vector<ContextMenuItem> contextMenuItems(const DiagramDocument& document,
                                              const CommandTable& commands, bool displayRangeOpen,
                                              bool scalingOpen) {
    std::vector<ContextMenuItem> items;
    const auto add = [&](int id, const char* text) {
        items.push_back({id, QString::fromUtf8(text), commands.isEnabled(id), false, false});
    };
    const auto addCheckable = [&](int id, const char* text, bool checked) {
        items.push_back({id, QString::fromUtf8(text), commands.isEnabled(id), true, checked});
    };
    const auto separator = [&] { items.push_back({}); };

    const OverlayTable& table = document.overlays();
    if (document.analysisDisplay && !table.empty()) {
        const SpectrumRecord& r = table.currentRecord();
        const bool selected = document.selectedLine() >= 0;
        add(cmd::AddLine, "Linie hinzufügen");
        if (r.foundLinesShown && r.foundLineSelected && selected) {
            add(cmd::DeleteLine, "Linie löschen");
            if (!r.spectrumLines.empty()) add(cmd::DeleteAllLines, "&Alle Linien löschen");
            add(cmd::LineWavelength, "Wellenlänge der Linie justieren");
            add(cmd::SelectedLineInfo, "Information zur Linie");
            add(cmd::EditLineEntries, "Linieneinträge bearbeiten");
            separator();
        } else if (r.databaseLinesShown && r.databaseLineSelected && selected) {
            add(cmd::DeleteLine, "Linie löschen");
            if (!r.databaseLines.empty()) add(cmd::DeleteAllLines, "&Alle Linien löschen");
            add(cmd::SelectedLineInfo, "Information zur Linie");
            separator();
        } else if (document.isEnabled(cmd::DeleteAllLines)) {
            add(cmd::DeleteAllLines, "&Alle Linien löschen");
            separator();
        }
    }
    addCheckable(cmd::Reticle, "Fadenkreuz", document.reticle.shown);
    separator();
    addCheckable(cmd::DisplayRange, "Darstellung ", displayRangeOpen);
    addCheckable(cmd::Scaling, "Skalierung ", scalingOpen);
    if (document.reticle.shown) add(cmd::AdjustWavelength, "Wellenlänge am Fadenkreuz justieren");
    return items;
}
