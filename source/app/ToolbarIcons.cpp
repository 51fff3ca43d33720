// Toolbar icons per command id.
#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include "app/Commands.h"

namespace {

QIcon tile(const QString& label, QColor colour) {
    QIcon icon;
    for (int side : {16, 24, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(colour.darker(160));
        p.setBrush(colour);
        p.drawRoundedRect(QRectF(0.5, 0.5, side - 1, side - 1), side / 6.0, side / 6.0);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(label.size() > 2 ? side * 5 / 16 : side * 7 / 16);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(pixmap.rect(), Qt::AlignCenter, label);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon toolbarIcon(int id, const QStyle* style) {
    const QColor file(0x3a6ea5), edit(0x4f8a4f), scale(0x8a6d3b), ident(0xa0413c), db(0x5b4f8a),
        view(0x2f7f86);
    switch (id) {
        case cmd::FileOpen:
            return style->standardIcon(QStyle::SP_DialogOpenButton);
        case cmd::FileSaveAs:
            return style->standardIcon(QStyle::SP_DialogSaveButton);
        case cmd::FilePrint:
            return tile(QStringLiteral("Dr"), file);
        case cmd::FileExport:
            return tile(QStringLiteral("Ex"), file);
        case cmd::FileOverlay:
            return tile(QStringLiteral("+"), file);
        case cmd::FileCloseOverlay:
            return tile(QStringLiteral("−"), file);
        case cmd::FileCloseAllOverlays:
            return tile(QStringLiteral("−−"), file);
        case cmd::FileInformation:
            return style->standardIcon(QStyle::SP_FileDialogInfoView);
        case cmd::Undo:
            return style->standardIcon(QStyle::SP_ArrowBack);
        case cmd::Redo:
            return style->standardIcon(QStyle::SP_ArrowForward);
        case cmd::Redraw:
            return style->standardIcon(QStyle::SP_BrowserReload);
        case cmd::DisplayRange:
            return tile(QStringLiteral("D"), edit);
        case cmd::Scaling:
            return tile(QStringLiteral("S"), edit);
        case cmd::Smoothing:
            return tile(QStringLiteral("G"), edit);
        case cmd::SpectrumArithmetic:
            return tile(QStringLiteral("±"), edit);
        case cmd::CopyToClipboard:
            return tile(QStringLiteral("K"), edit);
        case cmd::Zoom:
            return tile(QStringLiteral("Z"), scale);
        case cmd::AutoscaleXY:
            return tile(QStringLiteral("XY"), scale);
        case cmd::AutoscaleX:
            return tile(QStringLiteral("X"), scale);
        case cmd::AutoscaleY:
            return tile(QStringLiteral("Y"), scale);
        case cmd::InvertX:
            return tile(QStringLiteral("↔"), scale);
        case cmd::OpenIdentification:
            return tile(QStringLiteral("LI"), ident);
        case cmd::IdentifySpectrum:
            return tile(QStringLiteral("ID"), ident);
        case cmd::ShowDatabaseLines:
            return tile(QStringLiteral("DB"), ident);
        case cmd::AddLine:
            return tile(QStringLiteral("L+"), ident);
        case cmd::DeleteLine:
            return tile(QStringLiteral("L−"), ident);
        case cmd::DeleteAllLines:
            return tile(QStringLiteral("L×"), ident);
        case cmd::AllLinesInfo:
            return tile(QStringLiteral("i"), ident);
        case cmd::SearchEngineOpen:
            return tile(QStringLiteral("S"), db);
        case cmd::SearchEngineClose:
            return tile(QStringLiteral("S×"), db);
        case cmd::Reticle:
            return tile(QStringLiteral("+"), view);
        case cmd::Legend:
            return tile(QStringLiteral("Le"), view);
        case cmd::HorizontalGrid:
            return tile(QStringLiteral("≡"), view);
        case cmd::VerticalGrid:
            return tile(QStringLiteral("||"), view);
        case cmd::HelpContents:
            return style->standardIcon(QStyle::SP_DialogHelpButton);
        default:
            return tile(QStringLiteral("?"), Qt::gray);
    }
}
