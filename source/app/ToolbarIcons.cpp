// Toolbar icons per command id.
#include "app/ToolbarIcons.h"

#include "app/Commands.h"

namespace {

// The drawings in the resources, :/lumora/icons/<name>.svg.
constexpr struct {
    int id;
    const char* name;
} drawnIcons[] = {
    {cmd::FileOpen, "open"},
    {cmd::FileSaveAs, "save"},
    {cmd::FileInformation, "file-information"},
    {cmd::Undo, "undo"},
    {cmd::Redo, "redo"},
    {cmd::Redraw, "redraw"},
    {cmd::HelpContents, "help"},
    {cmd::FilePrint, "print"},
    {cmd::FileExport, "export"},
    {cmd::FileOverlay, "overlay"},
    {cmd::FileCloseOverlay, "close-overlay"},
    {cmd::FileCloseAllOverlays, "close-all-overlays"},
    {cmd::DisplayRange, "display-range"},
    {cmd::Scaling, "scaling"},
    {cmd::Smoothing, "smoothing"},
    {cmd::SpectrumArithmetic, "arithmetic"},
    {cmd::CopyToClipboard, "copy"},
    {cmd::Zoom, "zoom"},
    {cmd::AutoscaleXY, "autoscale-xy"},
    {cmd::AutoscaleX, "autoscale-x"},
    {cmd::AutoscaleY, "autoscale-y"},
    {cmd::InvertX, "invert-x"},
    {cmd::OpenIdentification, "line-identification"},
    {cmd::IdentifySpectrum, "identify-spectrum"},
    {cmd::ShowDatabaseLines, "database-lines"},
    {cmd::AddLine, "add-line"},
    {cmd::DeleteLine, "delete-line"},
    {cmd::DeleteAllLines, "delete-all-lines"},
    {cmd::AllLinesInfo, "lines-info"},
    {cmd::SearchEngineOpen, "search-open"},
    {cmd::SearchEngineClose, "search-close"},
    {cmd::Reticle, "reticle"},
    {cmd::Legend, "legend"},
    {cmd::HorizontalGrid, "grid-horizontal"},
    {cmd::VerticalGrid, "grid-vertical"},
};

}  // namespace

QIcon toolbarIcon(int id) {
    for (const auto& drawn : drawnIcons)
        if (drawn.id == id)
            return QIcon(QStringLiteral(":/lumora/icons/%1.svg").arg(QLatin1String(drawn.name)));
    return {};
}
