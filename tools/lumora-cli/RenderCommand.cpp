// lumora-cli render: the diagram of one or more spectra, drawn by the same library code as
// the program's window, as a bitmap (png, bmp), vector file (svg, pdf) or metafile (wmf,
// wpg). Overlays take the program's curve colours in their order.
#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "AnalysisOptions.h"
#include "Commands.h"
#include "LineRun.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "lumdb/Database.h"
#include "lumgl/Drawing.h"
#include "lumgl/Markers.h"
#include "lumgl/WmfCanvas.h"
#include "lumgl/WpgExport.h"
#include "lumgl/lumgl.h"

#ifdef LUMORA_CLI_RENDER
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#ifdef LUMORA_CLI_SVG
#include <QSvgGenerator>
#endif
#include "lumgl_qt/QtCanvas.h"
#endif

namespace lumcli {

namespace {

// The curve colours of the program's pen table, by overlay position.
const TColor kCurveColors[12] = {
    MakeColor(255, 0, 0),   MakeColor(0, 0, 255),     MakeColor(128, 128, 0), MakeColor(128, 0, 0),
    MakeColor(0, 128, 128), MakeColor(255, 255, 0),   MakeColor(255, 0, 255), MakeColor(0, 255, 0),
    MakeColor(128, 0, 128), MakeColor(0, 255, 255),   MakeColor(0, 128, 0),   MakeColor(0, 0, 128)};
constexpr std::size_t kMaxOverlays = 12;

std::string lowerExtension(const std::string& path) {
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

struct Spectrum {
    std::string path;
    std::unique_ptr<SpectrumRecord> record;
};

struct RenderJob {
    std::vector<Spectrum> spectra;
    SPlotInfo window;  // the diagram's description: range, rectangle, flags, titles
    bool markLines = false;
    bool labelLines = false;
    int strengthKind = 0;
};

// The displayed range after autoscaling all spectra: x from the data, y with the program's
// headroom (10 % above, 2 % of the height below).
void autoscale(RenderJob& job) {
    SPlotInfo& w = job.window;
    w.xMin = w.yMin = FLT_MAX;
    w.xMax = w.yMax = -FLT_MAX;
    for (const Spectrum& s : job.spectra) {
        const SPlotInfo& p = s.record->plotInfo;
        w.xMin = std::min({w.xMin, p.xMin, p.xMax});
        w.xMax = std::max({w.xMax, p.xMin, p.xMax});
        w.yMin = std::min({w.yMin, p.yMin, p.yMax});
        w.yMax = std::max({w.yMax, p.yMin, p.yMax});
    }
    if (!(w.yMax > w.yMin)) {
        w.yMin -= 5;
        w.yMax += 5;
    }
    w.yMax *= w.yMax > 0 ? 1.1f : 1.0f;
    w.yMin -= 0.02f * (w.yMax - w.yMin);
}

// Raises the upper y limit until the labels of the identified lines fit above their lines.
void makeRoomForLabels(RenderJob& job, const lumgl::TextMetrics& metrics) {
    for (int round = 0; round < 30; ++round) {
        SPlotInfo info = job.window;
        lumgl::LayoutPlot(info, metrics);
        const SFontDesc font = lumgl::LabelFont(info);
        bool fits = true;
        for (const Spectrum& s : job.spectra) {
            for (const CLine& line : s.record->spectrumLines) {
                if (line.speciesLabels.empty() || line.x <= info.xMin || line.x >= info.xMax) continue;
                int longest = 0;
                for (std::size_t k = 0; k < line.speciesLabels.size(); ++k)
                    longest = std::max(longest, metrics.textExtent(font, lumgl::IdentificationLabelText(
                                                                          line.speciesLabels[k], line.speciesRecords[k],
                                                                          true, job.strengthKind)).width);
                const SDevicePoint p = DataToMousePoint(TPointF{line.x, line.y}, info);
                if (p.y - 21 - longest < info.topLeft.y) fits = false;
            }
        }
        if (fits) return;
        SPlotInfo& w = job.window;
        if (w.drawFlags & kDrawYLinear) w.yMax += 0.15f * (w.yMax - w.yMin);
        else w.yMax *= 2.0f;
    }
}

// Frame, ticks, labels and the first curve, then every further curve in its colour, then
// the markers and labels of the lines.
void drawDiagram(const RenderJob& job, lumgl::Canvas& canvas) {
    SPlotInfo laidOut = job.window;
    for (std::size_t k = 0; k < job.spectra.size(); ++k) {
        SPlotInfo info = job.window;
        info.curvePen = SPenDesc{kCurveColors[k % 12], 1, PenStyle::Solid};
        if (k > 0) info.drawFlags &= static_cast<std::uint16_t>(~(kDrawFrame | kDrawXGrid | kDrawYGrid));
        PlotDrawing(job.spectra[k].record->points, info, canvas);
        if (k == 0) laidOut = info;
    }
    for (const Spectrum& s : job.spectra) {
        if (job.markLines) DrawSearchedLines(s.record->spectrumLines, laidOut, canvas);
        if (job.labelLines) DrawIdentifiedElements(s.record->spectrumLines, true, job.strengthKind, laidOut, canvas);
    }
}

void writeWpg(RenderJob& job, const std::string& path, const lumgl::TextMetrics& metrics) {
    const SDeviceRect client = job.window.plotRect;
    SPlotInfo laidOut = job.window;
    lumgl::LayoutPlot(laidOut, metrics);
    for (std::size_t k = 0; k < job.spectra.size(); ++k) {
        SPlotInfo info = laidOut;
        info.curvePen = SPenDesc{kCurveColors[k % 12], 1, PenStyle::Solid};
        if (k > 0) info.drawFlags &= static_cast<std::uint16_t>(~(kDrawFrame | kDrawXGrid | kDrawYGrid));
        if (!ExportPlotAsWPG(client, job.spectra[k].record->points, info, path, k > 0 ? 1 : 0))
            throw FileFailure("NoFile", "Die Datei kann nicht geschrieben werden.");
    }
    const int lineFlags = (job.markLines ? 16 : 0) | (job.labelLines ? 32 : 0);
    if (lineFlags)
        for (const Spectrum& s : job.spectra)
            if (!ExportLinesAsWPG(client, s.record->spectrumLines, laidOut, path, 1 | lineFlags))
                throw FileFailure("NoFile", "Die Datei kann nicht geschrieben werden.");
}

std::string plotErrorMessage(int code) {
    switch (code) {
        case 1: return "Logarithmische Darstellung der x-Achse: Grenzen sind kleiner oder gleich 0!";
        case 2: return "Logarithmische Darstellung der y-Achse: Grenzen sind kleiner oder gleich 0!";
        default: return "Es sind keine Daten zum Zeichnen vorhanden.";
    }
}

#ifdef LUMORA_CLI_RENDER
// QFont needs a GUI application object; without a display the offscreen platform serves.
QGuiApplication& guiApplication() {
    static int argc = 1;
    static char name[] = "lumora-cli";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the session (no runtime directory and the like) are no business of
    // a batch run; only real failures reach stderr.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "lumora-cli: Qt: %s\n", qPrintable(text));
    });
    static QGuiApplication app(argc, argv);
    return app;
}
#endif

void render(RenderJob& job, const std::string& path, const std::string& ext) {
    const SDeviceRect rect = job.window.plotRect;
#ifdef LUMORA_CLI_RENDER
    guiApplication();
    // Text is measured with the fonts the bitmap would use, for every output.
    QImage scratch(8, 8, QImage::Format_RGB32);
    QPainter scratchPainter(&scratch);
    lumgl::QtCanvas metrics(scratchPainter, rect, &scratch, true);
#else
    lumgl::FixedTextMetrics metrics;
#endif
    if (job.labelLines) makeRoomForLabels(job, metrics);

    if (ext == "wmf") {
        lumgl::WmfCanvas canvas(rect, &metrics);
        drawDiagram(job, canvas);
        if (!canvas.save(path)) throw FileFailure("NoFile", "Die Datei kann nicht geschrieben werden.");
        return;
    }
    if (ext == "wpg") {
        writeWpg(job, path, metrics);
        return;
    }
#ifdef LUMORA_CLI_RENDER
    if (ext == "png" || ext == "bmp") {
        QImage image(rect.width(), rect.height(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        lumgl::QtCanvas canvas(painter, rect, &image, true);
        drawDiagram(job, canvas);
        canvas.flush();
        painter.end();
        if (!image.save(QString::fromStdString(path), ext == "png" ? "PNG" : "BMP"))
            throw FileFailure("NoFile", "Die Datei kann nicht geschrieben werden.");
        return;
    }
    if (ext == "pdf") {
        QPdfWriter writer(QString::fromStdString(path));
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(rect.width(), rect.height()), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) throw FileFailure("NoFile", "Die Datei kann nicht geschrieben werden.");
        lumgl::QtCanvas canvas(painter, rect, nullptr, false);
        drawDiagram(job, canvas);
        canvas.flush();
        painter.end();
        return;
    }
#ifdef LUMORA_CLI_SVG
    if (ext == "svg") {
        QSvgGenerator generator;
        generator.setFileName(QString::fromStdString(path));
        generator.setSize(QSize(rect.width(), rect.height()));
        generator.setViewBox(QRect(0, 0, rect.width(), rect.height()));
        QPainter painter;
        if (!painter.begin(&generator)) throw FileFailure("NoFile", "Die Datei kann nicht geschrieben werden.");
        lumgl::QtCanvas canvas(painter, rect, nullptr, false);
        drawDiagram(job, canvas);
        canvas.flush();
        painter.end();
        return;
    }
#endif
#endif
    throw UsageError("Das Format ." + ext + " kann diese Fassung von lumora-cli nicht schreiben.");
}

}  // namespace

CommandSyntax renderSyntax() {
    CommandSyntax syntax;
    syntax.name = "render";
    syntax.synopsis = "DATEI... -o AUSGABE.png|.bmp|.svg|.pdf|.wmf|.wpg [--size BxH] [--log-x] [--log-y] [--grid]\n"
                    "       [--lines] [--identify --elements LISTE ...]";
    syntax.description =
        "Zeichnet das Diagramm der Spektren (bis zu 12), überlagert in der Farbfolge des Programms\n"
        "(rot, blau, oliv, kastanienbraun, blaugrün, gelb, magenta, grün, violett, cyan, dunkelgrün,\n"
        "marineblau), im gemeinsamen Datenbereich. --lines sucht die Linien jeder Datei und markiert\n"
        "sie, --identify identifiziert sie auch und beschriftet sie (Optionen wie bei identify).\n"
        "Das Format kommt aus der Endung der Ausgabe.";
    syntax.minFiles = 1;
    syntax.options = {
        {"output", 'o', ValueKind::Required, "AUSGABE", "Ausgabedatei"},
        {"size", 0, ValueKind::Required, "BxH", "Größe in Pixeln (Vorgabe 800x600)"},
        {"log-x", 0, ValueKind::None, "", "x-Achse logarithmisch"},
        {"log-y", 0, ValueKind::None, "", "y-Achse logarithmisch"},
        {"grid", 0, ValueKind::None, "", "horizontale und vertikale Hilfslinien"},
        {"lines", 0, ValueKind::None, "", "Linien suchen und markieren"},
        {"identify", 0, ValueKind::None, "", "Linien suchen, identifizieren und beschriften"},
        {"tolerance", 0, ValueKind::Required, "NM", "Trefferintervall +/- NM (Vorgabe 0.1)"},
        {"config", 0, ValueKind::Required, "DATEI.lmc", "Elementauswahl und Suchwerte aus der Konfiguration"},
    };
    addOptions(syntax.options, identifyOptions());
    addOptions(syntax.options, searchOptions());
    addOptions(syntax.options, choiceOptions());
    addOptions(syntax.options, outputOptions());
    return syntax;
}

int runRender(Session& session) {
    const CommandLine& line = session.line();
    if (!line.has("output")) throw UsageError("Die Ausgabedatei fehlt (-o AUSGABE).");
    const std::string target = line.value("output");
    const std::string ext = lowerExtension(target);
    static const char* const kFormats[] = {"png", "bmp", "svg", "pdf", "wmf", "wpg"};
    if (std::find(std::begin(kFormats), std::end(kFormats), ext) == std::end(kFormats))
        throw UsageError("Die Ausgabe braucht die Endung .png, .bmp, .svg, .pdf, .wmf oder .wpg.");
    int width = 800;
    int height = 600;
    if (line.has("size")) {
        const std::string s = line.value("size");
        const auto x = s.find_first_of("xX");
        if (x == std::string::npos) throw UsageError("--size erwartet BREITExHÖHE, etwa 800x600.");
        width = parseInt("size", s.substr(0, x));
        height = parseInt("size", s.substr(x + 1));
        if (width < 50 || height < 50 || width > 20000 || height > 20000)
            throw UsageError("--size: Breite und Höhe zwischen 50 und 20000 Pixeln.");
    }
    if (line.has("identify") && !line.has("elements") && !line.has("config"))
        throw UsageError("--identify braucht die Elemente (--elements LISTE oder --config DATEI.lmc).");

    RenderJob job;
    job.markLines = line.has("lines") || line.has("identify");
    job.labelLines = line.has("identify");
    TElementArray elements;
    if (job.labelLines) elements = session.elements();
    const lumdb::AnalysisSettings settings = analysisSettingsFrom(line, elements);
    job.strengthKind = settings.select.IntensityOption;

    ResultOutput& out = session.output();
    for (const std::string& path : line.files()) {
        if (job.spectra.size() == kMaxOverlays) {
            out.warn("Ein Diagramm hält höchstens 12 Spektren; " + path + " und die folgenden bleiben weg.");
            break;
        }
        try {
            Spectrum s{path, readSpectrum(session.ui(), path).record};
            if (job.markLines) s.record->spectrumLines = searchLines(session, *s.record, settings.search);
            if (job.labelLines) {
                session.host().clearLastMessage();
                if (!LineIdentification(session.host(), session.dataDir(), s.record->spectrumLines, elements,
                                        settings.select))
                    throw FileFailure("IdentificationFailed", "Die Linienidentifizierung wurde abgebrochen.");
            }
            job.spectra.push_back(std::move(s));
        } catch (const FileFailure& f) {
            out.fileFailed(path, f.keyword(), f.what());
        }
    }
    if (job.spectra.empty()) {
        out.finish();
        return 1;
    }

    SPlotInfo& w = job.window;
    MakePlotInfoStruct(w, true);
    w.plotRect = SDeviceRect{0, 0, width, height};
    w.drawFlags = static_cast<std::uint16_t>((line.has("log-x") ? 0 : kDrawXLinear) |
                                             (line.has("log-y") ? 0 : kDrawYLinear) | kDrawFrame | kDrawCurve |
                                             (line.has("grid") ? kDrawXGrid | kDrawYGrid : 0));
    w.xTitle = "Wellenlänge [nm]";
    w.yTitle = "Signal";
    w.title = job.spectra.front().record->plotInfo.title;
    autoscale(job);
    try {
        render(job, target, ext);
    } catch (const lumgl::PlotError& e) {
        out.fileFailed(target, "PlotError", plotErrorMessage(e.code()));
    } catch (const FileFailure& f) {
        out.fileFailed(target, f.keyword(), f.what());
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
