// lumora-cli combine: two spectra subtracted, added, multiplied or divided point by point.
#include <algorithm>

#include "Commands.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "SpectrumOutput.h"
#include "lumdb/Combine.h"

namespace lumcli {

CommandSyntax combineSyntax() {
    CommandSyntax syntax;
    syntax.name = "combine";
    syntax.synopsis = "A B --op -|+|*|/ -o AUSGABE [--type TYP]";
    syntax.description =
        "Kombiniert die Spektren A und B im gemeinsamen Wellenlängenbereich: A - B, A + B, A * B\n"
        "oder A / B, auf dem Raster des gröberen Spektrums, das andere linear interpoliert, und\n"
        "schreibt das Ergebnis. Der Dateityp kommt aus --type oder der Endung.";
    syntax.minFiles = 2;
    syntax.maxFiles = 2;
    syntax.options = {
        {"op", 0, ValueKind::Required, "-|+|*|/", "Rechenart"},
        {"output", 'o', ValueKind::Required, "AUSGABE", "Ausgabedatei"},
        {"type", 0, ValueKind::Required, "TYP", "lmx, csv, txt, txt-y, bin oder bin-y"},
    };
    addOptions(syntax.options, choiceOptions());
    addOptions(syntax.options, outputOptions());
    return syntax;
}

int runCombine(Session& session) {
    const CommandLine& line = session.line();
    if (!line.has("op")) throw UsageError("Die Rechenart fehlt (--op -, +, * oder /).");
    const std::string op = line.value("op");
    const int operation = op == "-" ? 0 : op == "+" ? 1 : op == "*" ? 2 : op == "/" ? 3 : -1;
    if (operation < 0) throw UsageError("--op erwartet -, +, * oder /, nicht \"" + op + "\".");
    if (!line.has("output")) throw UsageError("Die Ausgabedatei fehlt (-o AUSGABE).");
    const std::string target = line.value("output");
    const int type = outputType(line.value("type"), target);

    ResultOutput& out = session.output();
    setWrittenColumns(out);
    const std::string& pathA = line.files()[0];
    const std::string& pathB = line.files()[1];
    std::string failing = pathA;
    try {
        LoadedSpectrum a = readSpectrum(session.ui(), pathA);
        failing = pathB;
        LoadedSpectrum b = readSpectrum(session.ui(), pathB);
        failing = pathA;
        SpectrumRecord result;
        session.host().clearLastMessage();
        if (!CombineSpectra(session.host(), a.record->points, b.record->points, result.points,
                            operation))
            throw FileFailure("CombineFailed", session.host().failureText(
                                                   "Die Spektren können nicht kombiniert werden."));
        setRanges(result);
        const std::string written = writeSpectrum(session.ui(), result, target, type);
        reportWritten(out, pathA, written, type, result.points.size());
    } catch (const FileFailure& f) {
        out.fileFailed(failing, f.keyword(), f.what());
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
