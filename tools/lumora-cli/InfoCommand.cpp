// lumora-cli info: what a spectrum file holds, as the program's file information shows it.
#include "Commands.h"
#include "JsonWriter.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "XAxisInput.h"
#include "lumio/lumio.h"

namespace lumcli {

CommandSyntax infoSyntax() {
    CommandSyntax syntax;
    syntax.name = "info";
    syntax.synopsis = "DATEI... [Optionen]";
    syntax.description =
        "Liest jede Datei und zeigt: Pfad (mit \" #\" und der Spur, wenn eine Spur gewählt "
        "wurde),\n"
        "Formateintrag und Formatcode der Formatliste, Filterindex, Punktzahl, x- und y-Bereich,\n"
        "Titel und die Zahl der gespeicherten Spektral- und Datenbanklinien.\n"
        "JSON-Felder: path, format, formatCode, filterIndex, points, xMin, xMax, yMin, yMax, "
        "title,\n"
        "spectrumLines, databaseLines, xUnit (die x-Einheit, die die Datei selbst angibt: nm,\n"
        "angstrom, wavenumber, pixel oder unknown), xRecognised (die erkannte x-Einheit: die der\n"
        "Datei, sonst nach den Werten). xMin und xMax gelten nach --x-unit.";
    syntax.minFiles = 1;
    addOptions(syntax.options, choiceOptions());
    addOptions(syntax.options, outputOptions());
    return syntax;
}

int runInfo(Session& session) {
    ResultOutput& out = session.output();
    out.setColumns(
        {"path", "format", "formatCode", "filterIndex", "points", "xMin", "xMax", "yMin", "yMax",
         "title", "spectrumLines", "databaseLines", "xUnit", "xRecognised"},
        {"Datei", "Format", "Code", "Filter", "Punkte", "x min", "x max", "y min", "y max", "Titel",
         "Spektrallinien", "Datenbanklinien", "x-Einheit", "x erkannt"});
    const std::vector<std::string> entries = GetFormatList();
    for (const std::string& path : session.line().files()) {
        try {
            const LoadedSpectrum loaded = readSpectrum(session.ui(), path);
            const SpectrumRecord& r = *loaded.record;
            const int code = loaded.formatCode;
            const std::string entry = code >= 1 && code <= static_cast<int>(entries.size())
                                          ? entries[static_cast<std::size_t>(code - 1)]
                                          : "";
            const SPlotInfo& p = r.plotInfo;
            if (out.format() == OutputFormat::Json) {
                JsonWriter j;
                j.beginObject()
                    .key("path")
                    .string(r.fileName)
                    .key("format")
                    .string(entry)
                    .key("formatCode")
                    .integer(code)
                    .key("filterIndex")
                    .integer(loaded.filterIndex)
                    .key("points")
                    .integer(static_cast<long long>(r.points.size()))
                    .key("xMin")
                    .number(p.xMin)
                    .key("xMax")
                    .number(p.xMax)
                    .key("yMin")
                    .number(p.yMin)
                    .key("yMax")
                    .number(p.yMax)
                    .key("title")
                    .string(p.title)
                    .key("spectrumLines")
                    .integer(static_cast<long long>(r.spectrumLines.size()))
                    .key("databaseLines")
                    .integer(static_cast<long long>(r.databaseLines.size()))
                    .key("xUnit")
                    .string(xUnitName(r.xFormat.fileUnit))
                    .key("xRecognised")
                    .string(xUnitName(loaded.recognition.formatCode))
                    .endObject();
                out.addJsonLine(j.text());
            } else {
                out.addRow({r.fileName, entry, std::to_string(code),
                            std::to_string(loaded.filterIndex), std::to_string(r.points.size()),
                            num(p.xMin), num(p.xMax), num(p.yMin), num(p.yMax), p.title,
                            std::to_string(r.spectrumLines.size()),
                            std::to_string(r.databaseLines.size()), xUnitName(r.xFormat.fileUnit),
                            xUnitName(loaded.recognition.formatCode)});
            }
        } catch (const FileFailure& f) {
            out.fileFailed(path, f.keyword(), f.what());
        }
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
