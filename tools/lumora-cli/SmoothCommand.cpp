// lumora-cli smooth: a spectrum smoothed with the Wiener-Fourier and/or polynomial filter,
// written as a file of its own.
#include "AnalysisOptions.h"
#include "Commands.h"
#include "LineRun.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "SpectrumOutput.h"

namespace lumcli {

CommandSyntax smoothSyntax() {
    CommandSyntax syntax;
    syntax.name = "smooth";
    syntax.synopsis =
        "DATEI -o AUSGABE [--fourier [M,K]] [--sg ORDNUNG,BREITE] [--zoom VON,BIS] [--type TYP]";
    syntax.description =
        "Glättet die Daten mit dem Wiener-Fourierfilter (--fourier, ohne Wert mit "
        "Standardwerten),\n"
        "dem Polynomfilter (--sg) oder beiden nacheinander und schreibt das Ergebnis. Mit --zoom\n"
        "nur die Punkte mit x im Bereich. Der Dateityp kommt aus --type oder der Endung.";
    syntax.minFiles = 1;
    syntax.maxFiles = 1;
    syntax.options = {
        {"output", 'o', ValueKind::Required, "AUSGABE", "Ausgabedatei"},
        {"type", 0, ValueKind::Required, "TYP", "lmx, csv, txt, txt-y, bin oder bin-y"},
    };
    for (const OptionSyntax& o : searchOptions())
        if (o.name != "noise") syntax.options.push_back(o);
    addOptions(syntax.options, choiceOptions());
    addOptions(syntax.options, outputOptions());
    return syntax;
}

int runSmooth(Session& session) {
    const CommandLine& line = session.line();
    if (!line.has("output")) throw UsageError("Die Ausgabedatei fehlt (-o AUSGABE).");
    if (!line.has("fourier") && !line.has("sg"))
        throw UsageError("Kein Filter gewählt: --fourier und/oder --sg angeben.");
    const std::string target = line.value("output");
    const int type = outputType(line.value("type"), target);
    TElementArray none;
    const lumdb::AnalysisSettings settings = analysisSettingsFrom(line, none);

    ResultOutput& out = session.output();
    setWrittenColumns(out);
    const std::string& path = line.files().front();
    try {
        LoadedSpectrum loaded = readSpectrum(session.ui(), path);
        SpectrumRecord& r = *loaded.record;
        r.points = smoothPoints(session, r, settings.search);
        // The smoothed data are a spectrum of their own: no lines of the original go with them.
        r.spectrumLines.clear();
        r.databaseLines.clear();
        setRanges(r);
        const std::string written = writeSpectrum(session.ui(), r, target, type);
        reportWritten(out, path, written, type, r.points.size());
    } catch (const FileFailure& f) {
        out.fileFailed(path, f.keyword(), f.what());
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
