// lumora-cli lines: the line search of every file, one row per found line.
#include "AnalysisOptions.h"
#include "Commands.h"
#include "JsonWriter.h"
#include "LineRun.h"
#include "Session.h"
#include "SpectrumInput.h"

namespace lumcli {

CommandSyntax linesSyntax() {
    CommandSyntax syntax;
    syntax.name = "lines";
    syntax.synopsis =
        "DATEI... [--fourier [M,K]] [--sg ORDNUNG,BREITE] [--noise WERT] [--zoom VON,BIS]";
    syntax.description =
        "Sucht die Linien jeder Datei (Liniensuche wie im Programm: Rauschen schätzen oder "
        "--noise,\n"
        "wahlweise vorher glätten). Eine Zeile je gefundener Linie: Datei, x, y.\n"
        "JSON-Felder: path, lines (Liste von {x, y}).";
    syntax.minFiles = 1;
    addOptions(syntax.options, searchOptions());
    addOptions(syntax.options, choiceOptions());
    addOptions(syntax.options, outputOptions());
    return syntax;
}

int runLines(Session& session) {
    ResultOutput& out = session.output();
    out.setColumns({"path", "x", "y"}, {"Datei", "x", "y"});
    TElementArray none;
    const lumdb::AnalysisSettings settings = analysisSettingsFrom(session.line(), none);
    for (const std::string& path : session.line().files()) {
        try {
            LoadedSpectrum loaded = readSpectrum(session.ui(), path);
            SpectrumRecord& r = *loaded.record;
            r.spectrumLines = searchLines(session, r, settings.search);
            out.fileDone();
            if (out.format() == OutputFormat::Json) {
                JsonWriter j;
                j.beginObject().key("path").string(r.fileName).key("lines").beginArray();
                for (const CLine& l : r.spectrumLines)
                    j.beginObject().key("x").number(l.x).key("y").number(l.y).endObject();
                j.endArray().endObject();
                out.addJsonLine(j.text());
            } else {
                for (const CLine& l : r.spectrumLines) out.addRow({r.fileName, num(l.x), num(l.y)});
            }
        } catch (const FileFailure& f) {
            out.fileFailed(path, f.keyword(), f.what());
        }
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
