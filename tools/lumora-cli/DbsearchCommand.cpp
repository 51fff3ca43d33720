// lumora-cli dbsearch: the database search without a spectrum, as the search window runs it.
#include <algorithm>
#include <cfloat>
#include <cstdlib>

#include "AnalysisOptions.h"
#include "CommandLine.h"
#include "Commands.h"
#include "JsonWriter.h"
#include "Session.h"
#include "lumcore/Printf.h"
#include "lumdb/Candidate.h"
#include "lumdb/Database.h"
#include "lumreport/ReportWriters.h"
#include "lumreport/SearchReport.h"
#include "lumreport/SearchResultText.h"

namespace lumcli {

namespace {

void numberOrNull(JsonWriter& j, std::string_view field) {
    const std::string text(field);
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end == text.c_str())
        j.null();
    else
        j.number(v);
}

}  // namespace

CommandSyntax dbsearchSyntax() {
    CommandSyntax syntax;
    syntax.name = "dbsearch";
    syntax.synopsis =
        "--elements LISTE [--neutrals] [--ions] [--higher-ions] --from NM --to NM [--intensity "
        "LO,HI]\n"
        "       [--strength rel|f|aik] [--sort element|wavelength|strength] [-o "
        "BERICHT.txt|.csv|.rtf]";
    syntax.description =
        "Listet alle Datenbanklinien der gewählten Elemente und Stufen mit VON <= Wellenlänge <= "
        "BIS\n"
        "und LO <= Stärke <= HI (ohne --intensity: jede Stärke). Zeilen: Wellenlänge, Spezies, "
        "Wert,\n"
        "Stärke, untere und obere Energie, unterer und oberer Zustand, J unten, J oben, "
        "Kommentar.\n"
        "-o schreibt das Ergebnis zusätzlich als Text (.txt oder .csv, \";\"-getrennt wie\n"
        "\"Ergebnis speichern unter\" im Programm) oder als Bericht des Suchfensters (.rtf).\n"
        "JSON: ein Objekt mit lines (Liste von {wavelength, species, value, strength, "
        "lowerEnergy,\n"
        "upperEnergy, lowerState, upperState, lowerJ, upperJ, comment}).";
    syntax.minFiles = 0;
    syntax.maxFiles = 0;
    addOptions(syntax.options, identifyOptions());
    addOptions(syntax.options, {
                                   {"from", 0, ValueKind::Required, "NM", "untere Wellenlänge"},
                                   {"to", 0, ValueKind::Required, "NM", "obere Wellenlänge"},
                                   {"sort", 0, ValueKind::Required, "element|wavelength|strength",
                                    "Sortierung (Vorgabe: element)"},
                                   {"output", 'o', ValueKind::Required, "BERICHT",
                                    "Ergebnis speichern (.txt, .csv, .rtf)"},
                               });
    addOptions(syntax.options, outputOptions());
    return syntax;
}

int runDbsearch(Session& session) {
    const CommandLine& line = session.line();
    if (!line.has("elements")) throw UsageError("Es fehlen die Elemente (--elements LISTE).");
    if (!line.has("from")) throw UsageError("Geben Sie die untere Wellenlänge an! (--from NM)");
    if (!line.has("to")) throw UsageError("Geben Sie die obere Wellenlänge an! (--to NM)");

    SSearchEngineVal values;
    values.LowerWavelength = static_cast<float>(parseNumber("from", line.value("from")));
    values.UpperWavelength = static_cast<float>(parseNumber("to", line.value("to")));
    if (values.UpperWavelength < values.LowerWavelength)
        throw UsageError(
            "Die untere Wellenlänge muß kleiner oder geich der oberen Wellenlänge sein!");
    values.LowerIntensity = -FLT_MAX;
    values.UpperIntensity = FLT_MAX;
    if (line.has("intensity")) {
        const auto v = parseNumberList("intensity", line.value("intensity"), 2);
        if (v[1] < v[0])
            throw UsageError(
                "Die untere Intensitätsgrenze muß kleiner oder geich der oberen Intensitätsgrenze "
                "sein!");
        values.LowerIntensity = static_cast<float>(v[0]);
        values.UpperIntensity = static_cast<float>(v[1]);
    }
    const bool anyStage = line.has("neutrals") || line.has("ions") || line.has("higher-ions");
    values.Neutrals = anyStage ? line.has("neutrals") : true;
    values.FirstIons = anyStage ? line.has("ions") : true;
    values.HigherIons = line.has("higher-ions");
    values.IntensityOption = line.has("strength") ? strengthOption(line.value("strength")) : 0;
    values.SortOption = 0;
    if (line.has("sort")) {
        const std::string s = line.value("sort");
        if (s == "element")
            values.SortOption = 0;
        else if (s == "wavelength")
            values.SortOption = 1;
        else if (s == "strength")
            values.SortOption = 2;
        else
            throw UsageError("--sort erwartet element, wavelength oder strength, nicht \"" + s +
                             "\".");
    }
    values.decipherMode = 0;
    std::string report;
    if (line.has("output")) {
        report = line.value("output");
        const std::string ext = lowerExtension(report);
        if (ext != "txt" && ext != "csv" && ext != "rtf")
            throw UsageError("Der Bericht wird als .txt, .csv oder .rtf geschrieben, nicht \"" +
                             report + "\".");
    }

    TElementArray elements = session.elements();
    if (elements.empty())
        throw DatabaseMissing("Die Elementtabelle fehlt (" + session.programDir() +
                              "/Data/Elements.lmt).");
    selectElements(elements, line.value("elements"));
    const std::string& dataDir = session.dataDir();

    ResultOutput& out = session.output();
    out.setColumns({"wavelength", "species", "value", "strength", "lowerEnergy", "upperEnergy",
                    "lowerState", "upperState", "lowerJ", "upperJ", "comment"},
                   {"Linie [nm]", "Spezies", "Wert", "Stärke", "E unten", "E oben", "Zustand unten",
                    "Zustand oben", "J unten", "J oben", "Kommentar"});
    TSearchEngineLineArray result;
    session.host().clearLastMessage();
    if (!LineSearchEngine(session.host(), dataDir, result, elements, values)) {
        out.fileFailed("dbsearch", "SearchFailed",
                       session.host().failureText("Die Datenbanksuche wurde abgebrochen."));
        out.finish();
        return out.exitStatus();
    }

    if (out.format() == OutputFormat::Json) {
        JsonWriter j;
        j.beginObject().key("lines").beginArray();
        for (const CSearchEngineLine& l : result) {
            const lumdb::Candidate c = lumdb::SearchCandidate(l);
            j.beginObject()
                .key("wavelength")
                .number(l.wavelength)
                .key("species")
                .string(c.species)
                .key("value");
            numberOrNull(j, c.valueText);
            j.key("strength").number(l.value).key("lowerEnergy");
            numberOrNull(j, c.field(1));
            j.key("upperEnergy");
            numberOrNull(j, c.field(2));
            j.key("lowerState")
                .string(c.field(3))
                .key("upperState")
                .string(c.field(4))
                .key("lowerJ")
                .string(c.field(5))
                .key("upperJ")
                .string(c.field(6))
                .key("comment")
                .string(c.field(7))
                .endObject();
        }
        j.endArray().endObject();
        out.addJsonLine(j.text());
    } else {
        for (const CSearchEngineLine& l : result) {
            const lumdb::Candidate c = lumdb::SearchCandidate(l);
            auto f = [&c](std::size_t i) { return std::string(c.field(i)); };
            out.addRow({lumcore::strprintf("%.4f", static_cast<double>(l.wavelength)), c.species,
                        c.valueText, num(l.value), f(1), f(2), f(3), f(4), f(5), f(6), f(7)});
        }
    }
    bool saved = true;
    if (!report.empty() && lowerExtension(report) == "rtf") {
        lumreport::Report model;
        lumreport::buildSearchReport(model, result.items(), values);
        saved = lumreport::saveReportRtf(report, model);
    } else if (!report.empty()) {
        saved = lumreport::saveSearchResultText(report, result.items(), values);
    }
    if (!saved) out.fileFailed(report, "NoFile", "Die Datei konnte nicht geschrieben werden.");
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
