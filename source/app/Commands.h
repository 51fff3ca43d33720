// The command identifiers of the menu bar, the toolbars and the few commands without a menu
// item. The numbers are fixed: settings, undo texts and the hand-over protocol refer to them.
#pragma once

namespace cmd {

// Datei
constexpr int FileOpen = 24332;
constexpr int FileClose = 24339;
constexpr int FileSaveAs = 24334;
constexpr int FileOverlay = 111;
constexpr int FileCloseOverlay = 112;
constexpr int FileCloseAllOverlays = 113;
constexpr int FileInformation = 114;
constexpr int FilePrint = 24337;  // toolbar only
constexpr int FilePrintPreview = 24340;
constexpr int FilePrinterSetup = 24338;
constexpr int FileExport = 115;
constexpr int Exit = 24310;

// Bearbeiten
constexpr int Undo = 121;
constexpr int Redo = 122;
constexpr int Redraw = 123;
constexpr int DisplayRange = 124;
constexpr int Scaling = 125;
constexpr int AdjustWavelength = 126;
constexpr int SpectrumArithmetic = 134;
constexpr int WavelengthFormat = 132;
constexpr int Smoothing = 133;
constexpr int Integral = 135;
constexpr int Zoom = 127;
constexpr int AutoscaleXY = 130;
constexpr int AutoscaleX = 129;
constexpr int AutoscaleY = 131;
constexpr int InvertX = 128;
constexpr int CopyToClipboard = 136;

// Identifizierung
constexpr int OpenIdentification = 151;
constexpr int IdentifySpectrum = 152;
constexpr int ShowDatabaseLines = 160;
constexpr int AddLine = 153;
constexpr int DeleteLine = 155;
constexpr int DeleteAllLines = 156;
constexpr int LineWavelength = 154;
constexpr int AllLinesInfo = 158;
constexpr int SelectedLineInfo = 157;
constexpr int EditLineEntries = 159;

// Datenbank
constexpr int SearchEngineOpen = 117;
constexpr int SearchEngineClose = 118;
constexpr int SearchEngineSaveAs = 119;

// Anzeige
constexpr int DiagramColor = 179;
constexpr int Labels = 180;
constexpr int Reticle = 172;
constexpr int Legend = 173;
constexpr int BlackAndWhite = 174;
constexpr int HorizontalGrid = 175;
constexpr int VerticalGrid = 176;
constexpr int LogX = 177;
constexpr int LogY = 178;
constexpr int ShowToolbar = 171;
constexpr int ShowStatusBar = 32040;

// Fenster
constexpr int Cascade = 24361;
constexpr int TileSideBySide = 24362;
constexpr int TileStacked = 24363;
constexpr int ArrangeIcons = 24364;
constexpr int CloseAll = 24365;

// Hand-over from an acquisition program (no menu items): open the file named in
// "CtrlSpec.txt" (551) or "lmx.tmp" (555) in a new diagram, or add the one in "lmx.tmp" to
// the active diagram (556).
constexpr int HandoverCtrlSpec = 551;
constexpr int HandoverNew = 555;
constexpr int HandoverAdd = 556;
// Sent by acquisition programs to reset their session with Lumora; Lumora keeps no such
// state, so it is accepted and does nothing.
constexpr int ResetSession = 181;

// Hilfe
constexpr int HelpContents = 2001;
constexpr int HelpSearch = 2002;  // no menu item
constexpr int About = 2009;

}  // namespace cmd
