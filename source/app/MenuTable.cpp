// The menu bar of the main frame: ids, texts, accelerators and hints.
#include "app/MenuTable.h"

#include "app/Commands.h"

namespace {

using R = CommandRoute;

MenuItemEntry item(int id, const char* text, const char* shortcut, const char* hint, R route,
                   bool checkable = false) {
    MenuItemEntry s;
    s.id = id;
    s.text = text;
    s.shortcut = shortcut;
    s.hint = hint;
    s.route = route;
    s.checkable = checkable;
    return s;
}

MenuItemEntry separator() {
    return MenuItemEntry{};
}

std::vector<MenuEntry> buildMenuBar() {
    std::vector<MenuEntry> menus;
    menus.push_back(
        {"&Datei",
         {
             item(cmd::FileOpen, "Ö&ffnen...", "", "Eine Datei öffnen", R::Client),
             item(cmd::FileClose, "&Schließen", "", "Das aktive Fenster schließen", R::Client),
             separator(),
             item(cmd::FileSaveAs, "Speichern &unter ...", "",
                  "Die aktuelle Datei als Binär- oder Textdatei speichern", R::Diagram),
             separator(),
             item(cmd::FileOverlay, "Datei &überlagern", "",
                  "Eine Datei im aktiven Fenster überlagern", R::Diagram),
             item(cmd::FileCloseOverlay, "Überla&gerte Datei schließen", "",
                  "Die überlagerte Datei schließen", R::Diagram),
             item(cmd::FileCloseAllOverlays, "&Alle überlagerten Dateine schließen", "",
                  "Alle überlagerten Dateien schließen", R::Diagram),
             separator(),
             item(cmd::FileInformation, "Datei&information", "",
                  "Informationen zu den Dateien im aktiven Fenster anzeigen", R::Diagram),
             separator(),
             item(cmd::FilePrintPreview, "&Drucken...", "", "Aktives Fenster drucken", R::Client),
             item(cmd::FilePrinterSetup, "Drucker &einrichten", "",
                  "Druckereinstellungen festlegen", R::Client),
             separator(),
             item(cmd::FileExport, "E&xportieren ...", "",
                  "Das aktive Fenster als Graphikformat exportieren", R::Diagram),
             separator(),
             [] {
                 MenuItemEntry s =
                     item(cmd::Exit, "&Beenden", "Alt+F4", "Orvenit Lumora beenden", R::Frame);
                 s.shortcutLabelOnly = true;
                 return s;
             }(),
         }});
    menus.push_back(
        {"&Bearbeiten",
         {
             item(cmd::Undo, "&Rückgängig machen", "Ctrl+Z",
                  "Den letzten Arbeitsvorgang rückgängig machen", R::Diagram),
             item(cmd::Redo, "&Widerrufen", "Ctrl+Shift+Z",
                  "Den letzten 'Rückgängig machen' Vorgang widerrufen", R::Diagram),
             separator(),
             item(cmd::Redraw, "Neu &zeichnen ...", "", "Das aktive Fenster neu zeichnen",
                  R::Diagram),
             item(cmd::DisplayRange, "&Darstellung ", "Ctrl+D",
                  "Die Achsenwerte des aktiven Fensters bearbeiten", R::Diagram),
             item(cmd::Scaling, "&Skalierung ", "Ctrl+S",
                  "Verschiebung/Dispersion der aktuellen Datei bearbeiten", R::Diagram),
             item(cmd::AdjustWavelength, "Wellenlänge &justieren", "",
                  "Die Wellenlänge an der Fadenkreuzposition ändern", R::Diagram),
             item(cmd::SpectrumArithmetic, "Spektren&arithmetik", "Ctrl+A", "Spektren kombinieren",
                  R::Diagram),
             item(cmd::WavelengthFormat, "Wellenlängen&format", "Ctrl+F",
                  "Das Wellenlängenformat der aktuellen Datei bearbeiten", R::Diagram),
             item(cmd::Smoothing, "Daten&glättung", "Ctrl+G",
                  "Die Daten der aktuellen Datei glätten und darstellen", R::Diagram),
             item(cmd::Integral, "&Integral", "Ctrl+I",
                  "Das Linienintegral in aktuellen Datei bestimmen", R::Diagram),
             separator(),
             item(cmd::Zoom, "&Bereich vergrößern", "", "Diagrammbereich vergrößern", R::Diagram),
             item(cmd::AutoscaleXY, "XY-Autosca&le", "Ctrl+L",
                  "Minimale und maximale x- und y-Achsenwerte der aktuellen Datei übernehmen",
                  R::Diagram),
             item(cmd::AutoscaleX, "&X-Autoscale", "Ctrl+X",
                  "Minimale und maximale x-Achsenwerte der aktuellen Datei übernehmen", R::Diagram),
             item(cmd::AutoscaleY, "&Y-Autoscale", "Ctrl+Y",
                  "Minimale und maximale y-Achsenwerte der aktuellen Datei übernehmen", R::Diagram),
             item(cmd::InvertX, "X-Achse in&vertieren", "", "Die Wellenlängenskala umdrehen",
                  R::Diagram),
             separator(),
             item(cmd::CopyToClipboard, "In Zwischenablage &kopieren", "Ctrl+C",
                  "Das aktive Fenster als Bitmap in die Zwischenablage kopieren", R::Diagram),
         }});
    menus.push_back(
        {"&Identifizierung",
         {
             item(cmd::OpenIdentification, "Linien&identifizierung öffnen...", "F9",
                  "Die Liniensuche und Linienidentifizierung für die aktuelle Datei aktivieren "
                  "bzw. deaktivieren",
                  R::Diagram, true),
             item(cmd::IdentifySpectrum, "&Spektrum identifizieren", "Ctrl+F9",
                  "Die Liniensuche und Linienidentifizierung mit den angegebenen Einstellungen "
                  "starten",
                  R::Diagram),
             item(cmd::ShowDatabaseLines, "Linien&positionen aus Datenbank anzeigen", "Shift+F9",
                  "", R::Diagram),
             separator(),
             item(cmd::AddLine, "Linie hin&zufügen", "", "Eine Linie hinzufügen", R::Diagram),
             item(cmd::DeleteLine, "&Linie löschen", "", "Die ausgewählte Linie löschen",
                  R::Diagram),
             item(cmd::DeleteAllLines, "&Alle Linien löschen", "", "Alle Linien löschen",
                  R::Diagram),
             item(cmd::LineWavelength, "&Wellenlänge der Linie", "",
                  "Die Wellenlänge bei der ausgewählten Linie ändern", R::Diagram),
             separator(),
             item(cmd::AllLinesInfo, "In&formation zu allen Linien", "",
                  "Informationen zu allen Linien anzeigen", R::Diagram),
             item(cmd::SelectedLineInfo, "Inf&ormation zur ausgewählten Linie", "",
                  "Informationen zu der ausgewählten Linie anzeigen", R::Diagram),
             item(cmd::EditLineEntries, "Linieneinträge &bearbeiten", "",
                  "Bearbeiten der Linieneinträge", R::Diagram),
         }});
    menus.push_back(
        {"Da&tenbank",
         {
             item(cmd::SearchEngineOpen, "Ö&ffnen ...", "",
                  "Unabhängige Suchmaschine für Atomlinien und Molekülbanden öffnen", R::Client),
             item(cmd::SearchEngineClose, "&Schließen", "", "Liniensuchmaschine schließen",
                  R::Client),
             separator(),
             item(cmd::SearchEngineSaveAs, "&Ergebnis speicher unter ... ", "",
                  "Liniensuchergbenis in Datei speichern", R::SearchWindow),
         }});
    menus.push_back(
        {"&Anzeige",
         {
             item(cmd::DiagramColor, "&Diagrammfarbe", "",
                  "Die Linienfarbe für das aktuelle Diagramm auswählen", R::Diagram),
             item(cmd::Labels, "&Beschriftung...", "",
                  "Die Einstellungen für die graphische Darstellung bearbeiten", R::Diagram),
             separator(),
             item(cmd::Reticle, "&Fadenkreuz", "", "Fadenkreuz anzeigen", R::Diagram, true),
             item(cmd::Legend, "&Legende", "", "Die Legende anzeigen", R::Diagram, true),
             item(cmd::BlackAndWhite, "Schwarz/&Weiß Darstellung", "",
                  "Das aktive Fenster ohne Farben darstellen", R::Diagram, true),
             item(cmd::HorizontalGrid, "&Horizontale Hilfslinien", "",
                  "Horizontale Hilfslinien im aktiven Fenster anzeigen", R::Diagram, true),
             item(cmd::VerticalGrid, "&Vertikale Hilfslinien", "",
                  "Vertikale Hilfslinien im aktiven Fenster anzeigen", R::Diagram, true),
             item(cmd::LogX, "&x-Achse logarithmisch", "",
                  "x-Achse im aktiven Fenster logarithmisch darstellen", R::Diagram, true),
             item(cmd::LogY, "&y-Achse logarithmisch", "",
                  "y-Achse im aktiven Fenster logarithmisch darstellen", R::Diagram, true),
             separator(),
             item(cmd::ShowToolbar, "&Symbolleiste", "", "Symbolleiste anzeigen", R::App, true),
             item(cmd::ShowStatusBar, "Status&zeile", "", "Statuszeile anzeigen", R::Frame, true),
         }});
    menus.push_back(
        {"&Fenster",
         {
             item(cmd::Cascade, "&Überlappend", "", "Fenster überlappend anordnen", R::Frame),
             item(cmd::TileSideBySide, "&Nebeneinander", "", "Fenster nebeneinander anordnen",
                  R::Frame),
             item(cmd::TileStacked, "Ü&bereinander", "", "Fenster übereinander anordnen", R::Frame),
             item(cmd::ArrangeIcons, "&Symbole anordnen", "",
                  "Fenstersymbole am unteren Rand anordnen", R::Frame),
             item(cmd::CloseAll, "&Alle schließen", "", "Alle Fenster schließen", R::Frame),
         }});
    menus.push_back({"&Hilfe",
                     {
                         item(cmd::HelpContents, "Orvenit Lumora &Hilfe", "",
                              "Index des Orvenit Lumora Benutzerhandbuches aufrufen", R::App),
                         separator(),
                         item(cmd::About, "Inf&o", "", "Informationen zu Orvenit Lumora", R::App),
                     }});
    return menus;
}

}  // namespace

const std::vector<MenuEntry>& menuBarTable() {
    static const std::vector<MenuEntry> table = buildMenuBar();
    return table;
}

const std::vector<MenuItemEntry>& extraCommandTable() {
    static const std::vector<MenuItemEntry> table = {
        item(cmd::HelpSearch, "Hilfe zu einem Thema suchen", "", "Hilfe zu einem Thema suchen",
             R::App),
        item(cmd::FilePrint, "Drucken", "", "Aktives Fenster drucken", R::Client),
    };
    return table;
}
