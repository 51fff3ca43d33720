// lumora-cli render: the diagram of one or more spectra, drawn by the same library code as
// the program's window, as a bitmap (png, bmp), vector file (svg, pdf) or metafile (wmf,
// wpg). Overlays take the program's curve colours in their order.
#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>

#include "AnalysisOptions.h"
#include "CommandLine.h"
#include "Commands.h"
#include "LineRun.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "lumcore/Platform.h"
#include "lumcore/SafeFile.h"
#include "lumdb/Database.h"
#include "lumgl/DiagramComposer.h"
#include "lumgl/Drawing.h"
#include "lumgl/Markers.h"
#include "lumgl/WmfCanvas.h"
#include "lumgl/WpgExport.h"
#include "lumgl/lumgl.h"

#ifdef LUMORA_CLI_RENDER
#include "QtPainting.h"
#endif

namespace lumcli {

namespace {

const char* const kNotWritten = "Die Datei konnte nicht geschrieben werden.";

// The finished bytes go to the target through a temporary file beside it.
void writeOutput(const std::string& path, std::string_view bytes) {
    if (!lumcore::writeFileSafely(path, bytes)) throw FileFailure("NoFile", kNotWritten);
}

struct Spectrum {
    std::string path;
    std::unique_ptr<SpectrumRecord> record;
};

#ifdef LUMORA_CLI_RENDER
// The Qt painting module beside the program, loaded once and kept; null when it cannot be
// loaded. It is named by its full path: a bare name would be searched along the run path of
// whatever loads it, which is not the program under a sanitizer's interceptor.
std::unique_ptr<QtPainting> loadQtPainting(const SDeviceRect& rect) {
    static const QtPaintingFactory factory = [] {
        const std::filesystem::path program = lumcore::runningProgram();
        const std::filesystem::path module = program.empty()
                                                 ? std::filesystem::path(LUMORA_CLI_QT_MODULE)
                                                 : program.parent_path() / LUMORA_CLI_QT_MODULE;
        std::string error;
        void* entry = lumcore::loadModuleEntry(module, kQtPaintingEntry, error);
        if (!entry) std::fprintf(stderr, "lumora-cli: %s\n", error.c_str());
        return reinterpret_cast<QtPaintingFactory>(entry);
    }();
    return std::unique_ptr<QtPainting>(factory ? factory(rect) : nullptr);
}
#endif

void render(lumgl::DiagramComposer& composer, const std::string& path, const std::string& ext) {
    const SDeviceRect rect = composer.info().plotRect;
    lumgl::FixedTextMetrics fixedMetrics;
    const lumgl::TextMetrics* metrics = &fixedMetrics;
#ifdef LUMORA_CLI_RENDER
    // Text is measured with the fonts the bitmap would use, for every output.
    const std::unique_ptr<QtPainting> painting = loadQtPainting(rect);
    if (painting) metrics = &painting->metrics();
#endif
    composer.makeRoomForLabels(*metrics);

    if (ext == "wmf") {
        lumgl::WmfCanvas canvas(rect, metrics);
        composer.draw(canvas);
        if (!canvas.save(path)) throw FileFailure("NoFile", kNotWritten);
        return;
    }
    if (ext == "wpg") {
        if (!lumgl::ExportDiagramAsWPG(composer, path, *metrics))
            throw FileFailure("NoFile", kNotWritten);
        return;
    }
#ifdef LUMORA_CLI_RENDER
    // Images and vector files are drawn into memory and then written.
    if (painting && painting->paints(ext)) {
        std::string bytes;
        if (!painting->paint(composer, ext, bytes)) throw FileFailure("NoFile", kNotWritten);
        writeOutput(path, bytes);
        return;
    }
#endif
    throw UsageError("Das Format ." + ext + " kann diese Fassung von lumora-cli nicht schreiben.");
}

}  // namespace

CommandSyntax renderSyntax() {
    CommandSyntax syntax;
    syntax.name = "render";
    syntax.synopsis =
        "DATEI... -o AUSGABE.png|.bmp|.svg|.pdf|.wmf|.wpg [--size BxH] [--log-x] [--log-y] "
        "[--grid]\n"
        "       [--lines] [--identify --elements LISTE ...]";
    syntax.description =
        "Zeichnet das Diagramm der Spektren (bis zu 12), überlagert in der Farbfolge des "
        "Programms\n"
        "(rot, blau, oliv, kastanienbraun, blaugrün, gelb, magenta, grün, violett, cyan, "
        "dunkelgrün,\n"
        "marineblau), im gemeinsamen Datenbereich. --lines sucht die Linien jeder Datei und "
        "markiert\n"
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
        {"config", 0, ValueKind::Required, "DATEI.lmc",
         "Elementauswahl und Suchwerte aus der Konfiguration"},
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
        throw UsageError(
            "--identify braucht die Elemente (--elements LISTE oder --config DATEI.lmc).");

    const bool markLines = line.has("lines") || line.has("identify");
    const bool labelLines = line.has("identify");
    TElementArray elements;
    if (labelLines) elements = session.elements();
    const lumdb::AnalysisSettings settings = analysisSettingsFrom(line, elements);

    std::vector<Spectrum> spectra;
    ResultOutput& out = session.output();
    for (const std::string& path : line.files()) {
        if (spectra.size() == lumgl::kMaxOverlays) {
            out.warn("Ein Diagramm hält höchstens 12 Spektren; " + path +
                     " und die folgenden bleiben weg.");
            break;
        }
        try {
            Spectrum s{path, readSpectrum(session.ui(), path).record};
            if (markLines)
                s.record->spectrumLines = searchLines(session, *s.record, settings.search);
            if (labelLines) {
                session.host().clearLastMessage();
                if (!LineIdentification(session.host(), session.dataDir(), s.record->spectrumLines,
                                        elements, settings.select))
                    throw FileFailure(
                        "IdentificationFailed",
                        session.host().failureText("Die Linienidentifizierung wurde abgebrochen."));
            }
            spectra.push_back(std::move(s));
        } catch (const FileFailure& f) {
            out.fileFailed(path, f.keyword(), f.what());
        }
    }
    if (spectra.empty()) {
        out.finish();
        return 1;
    }

    SPlotInfo w;
    MakePlotInfoStruct(w, true);
    w.plotRect = SDeviceRect{0, 0, width, height};
    w.drawFlags = static_cast<std::uint16_t>(
        (line.has("log-x") ? 0 : kDrawXLinear) | (line.has("log-y") ? 0 : kDrawYLinear) |
        kDrawFrame | kDrawCurve | (line.has("grid") ? kDrawXGrid | kDrawYGrid : 0));
    w.xTitle = "Wellenlänge [nm]";
    w.yTitle = "Signal";
    w.title = spectra.front().record->plotInfo.title;
    std::vector<lumgl::DiagramOverlay> overlays;
    for (std::size_t k = 0; k < spectra.size(); ++k)
        overlays.push_back({spectra[k].record.get(),
                            SPenDesc{lumgl::OverlayColor(k), 1, PenStyle::Solid}, markLines,
                            labelLines, false});
    lumgl::DiagramOptions options;
    options.strengthKind = settings.select.IntensityOption;
    lumgl::DiagramComposer composer(w, std::move(overlays), options);
    composer.autoscale();
    try {
        render(composer, target, ext);
    } catch (const lumgl::PlotError& e) {
        // One line on the console: the message box's paragraphs joined by a blank.
        std::string text = lumgl::PlotErrorText(e.code());
        for (std::size_t at; (at = text.find("\n\n")) != std::string::npos;)
            text.replace(at, 2, " ");
        out.fileFailed(target, "PlotError", text);
    } catch (const FileFailure& f) {
        out.fileFailed(target, f.keyword(), f.what());
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
