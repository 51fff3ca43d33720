// The diagram leaving the program: a graphics file (115), the clipboard (136), the printer
// and its preview (24337, 24340). Each draws the diagram anew as the window shows it (the
// curves, the lines, the legend and the integral bounds; not the reticle or a zoom
// selection) on a white surface of the window's size.
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "app/AppContext.h"
#include "app/Commands.h"
#include "diagram/LumoraWindow.h"
#include "lumgl/PlotError.h"
#include "lumgl/WmfCanvas.h"
#include "lumgl/WpgExport.h"
#include "lumgl_qt/QtCanvas.h"
#include "reports/ReportPreview.h"
#include "services/FileDialog.h"
#include "services/MessageBox.h"
#include "services/ModalRunner.h"
#include "services/StringTable.h"
#include "services/WaitCursor.h"

namespace {

const QString kDirectories = QStringLiteral("Directories and Files");
// The three described formats keep their filter indexes; the others follow.
const QString kExportFilter = QStringLiteral(
    "Bitmap (*.bmp)|*.bmp|Windows Metafile (*.wmf)|*.wmf|Corel Presentations (*.wpg)|*.wpg|"
    "PNG (*.png)|*.png|PDF (*.pdf)|*.pdf|SVG (*.svg)|*.svg");

struct Format {
    const char* extension;
    const char* done;
    const char* failed;
    MessageBox::Icon failedIcon;
};
const Format kFormats[] = {
    {"bmp", "Bitmap-Export erfolgreich ausgeführt!",
     "Bitmap-Exportfehler!\n Exportierung fehlgeschlagen.", MessageBox::Icon::Stop},
    {"wmf", "Windows Metafile-Export erfolgreich ausgeführt!",
     "Windows Metafile-Exportfehler!\n Exportierung fehlgeschlagen.", MessageBox::Icon::Stop},
    {"wpg", "Corel Presentations-Export erfolgreich ausgeführt!",
     "Corel Presentation-Exportfehler!\n Exportierung fehlgeschlagen.",
     MessageBox::Icon::Information},
    {"png", "PNG-Export erfolgreich ausgeführt!",
     "PNG-Exportfehler!\n Exportierung fehlgeschlagen.", MessageBox::Icon::Stop},
    {"pdf", "PDF-Export erfolgreich ausgeführt!",
     "PDF-Exportfehler!\n Exportierung fehlgeschlagen.", MessageBox::Icon::Stop},
    {"svg", "SVG-Export erfolgreich ausgeführt!",
     "SVG-Exportfehler!\n Exportierung fehlgeschlagen.", MessageBox::Icon::Stop},
};

QString exportErrorText(int code) {
    if (code == lumgl::kErrorLogXLimits)
        return QStringLiteral(
            "Logarithmische Darstellung der x-Achse:\n\nGrenzen sind kleiner "
            "oder gleich 0!\n\nExportierung nicht möglich.");
    if (code == lumgl::kErrorLogYLimits)
        return QStringLiteral(
            "Logarithmische Darstellung der y-Achse:\n\nGrenzen sind kleiner "
            "oder gleich 0!\n\nExportierung nicht möglich.");
    return QStringLiteral("Fehler in der Exportroutine!\n\nExportierung nicht möglich.");
}

}  // namespace

void LumoraWindow::declareOutputCommands() {
    const auto add = [this](int id, CommandTable::Run run) {
        commands_.add(id, std::move(run), [this, id] {
            return !minimised() && !document_.overlays().empty() && document_.isEnabled(id);
        });
    };
    add(cmd::FileExport, [this] { exportDiagram(); });
    add(cmd::CopyToClipboard, [this] { copyToClipboard(); });
    add(cmd::FilePrint, [this] { printDiagram(false); });
    add(cmd::FilePrintPreview, [this] { printDiagram(true); });
}

bool LumoraWindow::drawForOutput(const std::function<void()>& draw) {
    int code = 0;
    try {
        draw();
        return true;
    } catch (const lumgl::PlotError& error) {
        code = error.code();
    } catch (const std::exception&) {
        context_.messages().show(this, QStringLiteral("Fehler in der Exportroutine!"),
                                 strings::ExportError, MessageBox::Icon::Exclamation,
                                 MessageBox::Buttons::Ok);
        return false;
    }
    context_.messages().show(this, exportErrorText(code), strings::ExportError,
                             MessageBox::Icon::Exclamation, MessageBox::Buttons::Ok);
    if (code == lumgl::kErrorLogXLimits || code == lumgl::kErrorLogYLimits) redraw();
    return false;
}

QImage LumoraWindow::renderImage() {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    const bool drawn = drawForOutput([&] {
        QPainter painter(&image);
        lumgl::QtCanvas canvas(painter, SDeviceRect{0, 0, width(), height()}, &image, true);
        painter_.paint(canvas, document_, DiagramPainter::Target::Output);
    });
    return drawn ? image : QImage();
}

bool LumoraWindow::exportTo(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const Format* format = nullptr;
    for (const Format& f : kFormats)
        if (suffix == QLatin1String(f.extension)) format = &f;
    if (!format) {
        context_.messages().show(
            this,
            QStringLiteral("Für dieses Dateiformat steht keine Exportfunktion zur Verfügung."),
            strings::ProductName, MessageBox::Icon::Information, MessageBox::Buttons::Ok);
        return false;
    }
    const SDeviceRect client{0, 0, width(), height()};
    bool written = false;
    const bool drawn = drawForOutput([&] {
        const WaitCursor wait;
        // Text is measured as on screen for every format.
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter measure(&scratch);
        lumgl::QtCanvas metrics(measure, client, &scratch, true);
        if (suffix == "wmf") {
            lumgl::WmfCanvas canvas(client, &metrics);
            painter_.paint(canvas, document_, DiagramPainter::Target::Output);
            written = canvas.save(path.toStdString());
            return;
        }
        if (suffix == "wpg") {
            written = lumgl::ExportDiagramAsWPG(
                DiagramPainter::compose(document_), path.toStdString(), metrics,
                [this](lumgl::Canvas& canvas, const SPlotInfo& laidOut) {
                    painter_.paintLayers(canvas, laidOut, DiagramPainter::Target::Output);
                });
            return;
        }
        // The others are painted into a file that replaces the target only when complete.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return;
        if (suffix == "bmp" || suffix == "png") {
            QImage image(width(), height(), QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                lumgl::QtCanvas canvas(painter, client, &image, true);
                painter_.paint(canvas, document_, DiagramPainter::Target::Output);
            }
            written = image.save(&file, suffix == "bmp" ? "BMP" : "PNG") && file.commit();
            return;
        }
        const auto paintVector = [&](QPaintDevice& device) {
            QPainter painter(&device);
            painter.fillRect(QRect(0, 0, width(), height()), Qt::white);
            lumgl::QtCanvas canvas(painter, client, nullptr, false);
            painter_.paint(canvas, document_, DiagramPainter::Target::Output);
            return painter.end();
        };
        if (suffix == "pdf") {
            QPdfWriter pdf(&file);
            pdf.setResolution(96);
            pdf.setPageMargins(QMarginsF());
            pdf.setPageSize(
                QPageSize(QSizeF(width() * 72.0 / 96, height() * 72.0 / 96), QPageSize::Point));
            written = paintVector(pdf);
        } else {
            QSvgGenerator svg;
            svg.setOutputDevice(&file);
            svg.setSize(size());
            svg.setViewBox(QRect(0, 0, width(), height()));
            svg.setResolution(96);
            written = paintVector(svg);
        }
        written = written && file.commit();
    });
    if (!drawn) return false;
    context_.messages().show(this, QString::fromUtf8(written ? format->done : format->failed),
                             written ? strings::ProductName : strings::ExportError,
                             written ? MessageBox::Icon::Information : format->failedIcon,
                             MessageBox::Buttons::Ok);
    return written;
}

void LumoraWindow::exportDiagram() {
    setModelessDialogsEnabled(false);
    Profile& profile = context_.profile();
    FileDialog::Request request;
    request.mode = FileDialog::Request::Mode::Save;
    request.caption = QStringLiteral("Graphikdatei exportieren");
    request.filter = kExportFilter;
    request.directory = context_.exportDir();
    request.filterIndex = profile.getInt(kDirectories, QStringLiteral("ExportFilterIndex"), 1);
    const FileDialog::Result chosen = context_.files().run(this, request);
    if (chosen.accepted && !chosen.files.isEmpty()) {
        const QString path = chosen.files.front();
        context_.setExportDirOf(path);
        profile.writeInt(kDirectories, QStringLiteral("ExportFilterIndex"), chosen.filterIndex);
        exportTo(path);
    }
    setModelessDialogsEnabled(true);
}

void LumoraWindow::copyToClipboard() {
    const QImage image = renderImage();
    if (!image.isNull()) QGuiApplication::clipboard()->setImage(image);
}

// The diagram as on screen, centred on the page at the largest size that keeps its shape,
// drawn as vectors in the diagram's fonts.
void LumoraWindow::printOn(QPrinter& printer) {
    drawForOutput([&] {
        QPainter painter(&printer);
        const QRectF page = printer.pageRect(QPrinter::DevicePixel);
        const double scale = std::min(page.width() / width(), page.height() / height());
        painter.translate((page.width() - width() * scale) / 2,
                          (page.height() - height() * scale) / 2);
        painter.scale(scale, scale);
        lumgl::QtCanvas canvas(painter, SDeviceRect{0, 0, width(), height()}, nullptr, false);
        painter_.paint(canvas, document_, DiagramPainter::Target::Output);
    });
}

void LumoraWindow::printDiagram(bool preview) {
    QPrinter* printer = context_.printer();
    if (!printer) return;
    const auto print = [this, printer] {
        QPrintDialog dialog(printer, this);
        if (context_.dialogs().run(dialog) != QDialog::Accepted) return;
        const WaitCursor wait;
        printOn(*printer);
    };
    if (!preview) {
        setModelessDialogsEnabled(false);
        print();
        setModelessDialogsEnabled(true);
        return;
    }
    // The dialogs make way for the preview and come back when it closes.
    QList<QPointer<QWidget>> hidden;
    for (const QPointer<QWidget>& dialog : modeless_)
        if (dialog && dialog->isVisible()) {
            hidden.append(dialog);
            dialog->hide();
        }
    ReportPreview dialog(
        *printer, QStringLiteral("Druckvorschau"), [this](QPrinter& p) { printOn(p); }, this);
    connect(&dialog, &ReportPreview::printRequested, &dialog, print);
    context_.dialogs().run(dialog);
    for (const QPointer<QWidget>& w : hidden)
        if (w) w->show();
}
