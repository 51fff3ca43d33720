// lumora-cli convert: a spectrum file written again in one of the six file types.
#include "Commands.h"
#include "JsonWriter.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "SpectrumOutput.h"

namespace lumcli {

CommandSyntax convertSyntax() {
    CommandSyntax syntax;
    syntax.name = "convert";
    syntax.synopsis = "DATEI -o AUSGABE [--type lmx|csv|txt|txt-y|bin|bin-y] [Optionen]";
    syntax.description =
        "Schreibt die Datei als Lumora-Datei (lmx), Excel-Tabelle (csv), ASCII x,y (txt), ASCII y\n"
        "(txt-y), binär x,y (bin) oder binär y (bin-y). Ohne --type bestimmt die Endung der "
        "Ausgabe\n"
        "den Typ. Fehlt der Ausgabe die Endung des Typs, wird sie angehängt.";
    syntax.minFiles = 1;
    syntax.maxFiles = 1;
    syntax.options = {
        {"output", 'o', ValueKind::Required, "AUSGABE", "Ausgabedatei"},
        {"type", 0, ValueKind::Required, "TYP", "lmx, csv, txt, txt-y, bin oder bin-y"},
    };
    addOptions(syntax.options, choiceOptions());
    addOptions(syntax.options, outputOptions());
    return syntax;
}

int runConvert(Session& session) {
    const CommandLine& line = session.line();
    if (!line.has("output")) throw UsageError("Die Ausgabedatei fehlt (-o AUSGABE).");
    const std::string target = line.value("output");
    const int type = outputType(line.value("type"), target);
    ResultOutput& out = session.output();
    setWrittenColumns(out);
    const std::string& path = line.files().front();
    try {
        LoadedSpectrum loaded = readSpectrum(session.ui(), path);
        const std::string written = writeSpectrum(session.ui(), *loaded.record, target, type);
        reportWritten(out, path, written, type, loaded.record->points.size());
    } catch (const FileFailure& f) {
        out.fileFailed(path, f.keyword(), f.what());
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
