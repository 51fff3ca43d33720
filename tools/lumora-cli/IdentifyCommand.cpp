// lumora-cli identify: line search, then identification against the line database, for any
// number of files; one row per candidate.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numeric>
#include <optional>

#include "AnalysisOptions.h"
#include "Commands.h"
#include "ElementsRun.h"
#include "FileFailure.h"
#include "JsonWriter.h"
#include "LineRun.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "SpectrumOutput.h"
#include "lumcore/Printf.h"
#include "lumdb/Candidate.h"
#include "lumdb/Database.h"

namespace lumcli {

namespace {

// Files are read and searched in groups and each group is identified in one pass over the
// database: every found line is matched on its own, so the lines of many spectra can share
// one run. The group size bounds the memory a long batch holds at once.
constexpr std::size_t kGroupSize = 128;

struct FileWork {
    std::string path;
    std::unique_ptr<SpectrumRecord> record;
    std::string failKeyword;
    std::string failMessage;
    bool ok() const { return failKeyword.empty(); }
};

// LineIdentification over the lines of all files at once; each file gets its own lines back
// with their candidates. Returns false when the run was cancelled.
bool identifyTogether(Session& session, std::vector<FileWork>& work, TElementArray& elements,
                      const SSelectElVal& values) {
    struct Origin {
        float x;
        std::size_t file;
        std::size_t index;
    };
    std::vector<Origin> origins;
    for (std::size_t f = 0; f < work.size(); ++f) {
        if (!work[f].ok()) continue;
        const TLineArray& lines = work[f].record->spectrumLines;
        for (std::size_t i = 0; i < lines.size(); ++i) origins.push_back({lines[i].x, f, i});
    }
    if (origins.empty()) return true;
    // The merged array keeps equal positions in the order they were added, and so does a
    // stable sort: entry k of the array is origins[k] after this.
    std::stable_sort(origins.begin(), origins.end(),
                     [](const Origin& a, const Origin& b) { return a.x < b.x; });
    TLineArray merged;
    merged.reserve(origins.size());
    for (const Origin& o : origins) {
        CLine line = work[o.file].record->spectrumLines[o.index];
        line.clearCandidates();
        merged.add(std::move(line));
    }
    session.host().clearLastMessage();
    if (!LineIdentification(session.host(), session.dataDir(), merged, elements, values))
        return false;
    for (std::size_t k = 0; k < origins.size(); ++k)
        work[origins[k].file].record->spectrumLines[origins[k].index] = std::move(merged[k]);
    return true;
}

std::string outputPathFor(const std::string& output, bool toDirectory, const std::string& input) {
    if (!toDirectory) return output;
    const std::filesystem::path in(input);
    return (std::filesystem::path(output) / in.stem()).string() + ".lmx";
}

// The new score of every candidate of every line (--ranked): the species judgement's score
// of the same database line, 0 where the judgement did not consider it.
using CandidateScores = std::vector<std::vector<double>>;

CandidateScores scoreCandidates(const SpectrumRecord& r, const lumdb::ReferenceLines& refs,
                                const ElementsAnalysis& a) {
    CandidateScores scores(r.spectrumLines.size());
    for (std::size_t i = 0; i < r.spectrumLines.size(); ++i) {
        for (const lumdb::Candidate& cand : lumdb::Candidates(r.spectrumLines[i])) {
            std::string species = cand.species;
            while (!species.empty() && species.back() == ' ') species.pop_back();
            double score = 0.0;
            for (const lumdb::LineCandidate& c : a.evidence.candidates[i]) {
                const lumdb::ReferenceLine& ref = refs.lines[c.reference];
                if (std::abs(ref.wavelength - cand.wavelength) < 5e-4 &&
                    refs.species[ref.species] == species)
                    score = std::max(score, c.score);
            }
            scores[i].push_back(score);
        }
    }
    return scores;
}

// The candidates of line `i` in the order of the identification, or by falling score.
std::vector<std::pair<lumdb::Candidate, double>> ordered(const CLine& l, std::size_t i,
                                                         const CandidateScores* scores) {
    std::vector<std::pair<lumdb::Candidate, double>> list;
    std::size_t k = 0;
    for (lumdb::Candidate& cand : lumdb::Candidates(l))
        list.push_back({std::move(cand), scores ? (*scores)[i][k++] : 0.0});
    if (scores)
        std::stable_sort(list.begin(), list.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
    return list;
}

void report(ResultOutput& out, const SpectrumRecord& r, int intensityOption, bool bestOnly,
            const CandidateScores* scores) {
    if (out.format() == OutputFormat::Json) {
        JsonWriter j;
        j.beginObject().key("path").string(r.fileName).key("lines").beginArray();
        for (std::size_t i = 0; i < r.spectrumLines.size(); ++i) {
            const CLine& l = r.spectrumLines[i];
            j.beginObject()
                .key("x")
                .number(l.x)
                .key("y")
                .number(l.y)
                .key("candidates")
                .beginArray();
            for (const auto& [cand, score] : ordered(l, i, scores)) {
                if (bestOnly && !cand.best) continue;
                j.beginObject()
                    .key("species")
                    .string(cand.species)
                    .key("wavelength")
                    .number(static_cast<float>(cand.wavelength))
                    .key("value")
                    .number(lumdb::ReadDouble(cand.valueText))
                    .key("strength")
                    .number(cand.strength(intensityOption))
                    .key("best")
                    .boolean(cand.best);
                if (scores) j.key("score").number(score);
                j.endObject();
            }
            j.endArray().endObject();
        }
        j.endArray().endObject();
        out.addJsonLine(j.text());
        return;
    }
    for (std::size_t i = 0; i < r.spectrumLines.size(); ++i) {
        const CLine& l = r.spectrumLines[i];
        if (l.candidateLabels.empty()) {
            // A line without any candidate still shows up, so nothing found goes unseen.
            std::vector<std::string> row{r.fileName, num(l.x), num(l.y), "", "", "", "", ""};
            if (scores) row.push_back("");
            out.addRow(std::move(row));
            continue;
        }
        for (const auto& [cand, score] : ordered(l, i, scores)) {
            if (bestOnly && !cand.best) continue;
            std::vector<std::string> row{r.fileName,
                                         num(l.x),
                                         num(l.y),
                                         cand.species,
                                         cand.wavelengthText,
                                         cand.valueText,
                                         num(cand.strength(intensityOption)),
                                         cand.best ? "1" : "0"};
            if (scores) row.push_back(lumcore::strprintf("%.3f", score));
            out.addRow(std::move(row));
        }
    }
}

}  // namespace

CommandSyntax identifySyntax() {
    CommandSyntax syntax;
    syntax.name = "identify";
    syntax.synopsis =
        "DATEI... --elements LISTE [--neutrals] [--ions] [--higher-ions] [--tolerance NM]\n"
        "       [--intensity LO,HI] [--strength rel|f|aik] [--no-search] [--config DATEI.lmc] [-o "
        "AUSGABE]\n"
        "       [--fourier [M,K]] [--sg ORDNUNG,BREITE] [--noise WERT] [--zoom VON,BIS]";
    syntax.description =
        "Sucht die Linien jeder Datei und identifiziert sie mit der Liniendatenbank: jede\n"
        "Datenbanklinie der gewählten Elemente und Stufen im Trefferintervall [x - NM, x + NM) "
        "wird\n"
        "Kandidat, der stärkste je Spezies ist markiert (best = 1). Eine Zeile je Kandidat: "
        "Datei,\n"
        "x und y der Linie, Spezies, Wellenlänge aus der Datenbank, Wert, Stärke in der gewählten\n"
        "Art, Markierung; eine Linie ohne Kandidaten steht mit leeren Feldern da.\n"
        "--config liest Elementauswahl und Suchwerte aus einer Konfigurationsdatei wie das\n"
        "Programm; Optionen auf der Kommandozeile gehen vor (die Stufenoptionen ersetzen dann "
        "alle\n"
        "drei Stufen). --no-search identifiziert die in der Datei gespeicherten Linien.\n"
        "-o schreibt die Lumora-Datei mit ihren Linien; bei mehreren Eingaben ist AUSGABE ein\n"
        "Verzeichnis (Dateiname: Name der Eingabe mit .lmx).\n"
        "JSON-Felder: path, lines (Liste von {x, y, candidates: [{species, wavelength, value,\n"
        "strength, best}]}).";
    syntax.minFiles = 1;
    addOptions(syntax.options, identifyOptions());
    addOptions(
        syntax.options,
        {
            {"tolerance", 0, ValueKind::Required, "NM", "Trefferintervall +/- NM (Vorgabe 0.1)"},
            {"no-search", 0, ValueKind::None, "",
             "keine Liniensuche: die gespeicherten Linien identifizieren"},
            {"best", 0, ValueKind::None, "", "nur den stärksten Kandidaten je Spezies ausgeben"},
            {"ranked", 0, ValueKind::None, "",
             "Kandidaten jeder Linie nach den Punkten der Elementbewertung\nordnen (wie "
             "elements; Spalte score)"},
            {"config", 0, ValueKind::Required, "DATEI.lmc",
             "Elementauswahl und Suchwerte aus der Konfiguration"},
            {"output", 'o', ValueKind::Required, "AUSGABE",
             "Lumora-Datei (mehrere Eingaben: Verzeichnis)"},
        });
    addOptions(syntax.options, evidenceOptions());
    addOptions(syntax.options, searchOptions());
    addOptions(syntax.options, choiceOptions());
    addOptions(syntax.options, outputOptions());
    return syntax;
}

int runIdentify(Session& session) {
    const CommandLine& line = session.line();
    if (!line.has("elements") && !line.has("config"))
        throw UsageError("Es fehlen die Elemente (--elements LISTE oder --config DATEI.lmc).");
    TElementArray elements = session.elements();
    if (elements.empty())
        throw DatabaseMissing("Die Elementtabelle fehlt (" + session.programDir() +
                              "/Data/Elements.lmt).");
    const lumdb::AnalysisSettings settings = analysisSettingsFrom(line, elements);
    if (!settings.select.Neutrals && !settings.select.FirstIons && !settings.select.HigherIons)
        session.output().warn(
            "Es wurden weder Neutrale noch Ionen zur Identifizierung ausgewählt!");
    session.dataDir();  // no database: stop before reading any file

    const auto& files = line.files();
    const bool writeFiles = line.has("output");
    const std::string output = line.value("output");
    std::error_code ec;
    const bool toDirectory =
        writeFiles && (files.size() > 1 || std::filesystem::is_directory(output, ec));
    if (toDirectory && !std::filesystem::is_directory(output, ec)) {
        std::filesystem::create_directories(output, ec);
        if (ec)
            throw UsageError("Das Ausgabeverzeichnis \"" + output +
                             "\" kann nicht angelegt werden.");
    }

    ResultOutput& out = session.output();
    const bool ranked = line.has("ranked");
    const lumdb::EvidenceSettings evidenceSettings = evidenceSettingsFrom(line);
    if (ranked)
        out.setColumns(
            {"path", "x", "y", "species", "wavelength", "value", "strength", "best", "score"},
            {"Datei", "x", "y", "Spezies", "Wellenlänge", "Wert", "Stärke", "Bester", "Punkte"});
    else
        out.setColumns({"path", "x", "y", "species", "wavelength", "value", "strength", "best"},
                       {"Datei", "x", "y", "Spezies", "Wellenlänge", "Wert", "Stärke", "Bester"});
    std::optional<lumdb::ReferenceLines> refs;
    for (std::size_t start = 0; start < files.size(); start += kGroupSize) {
        std::vector<FileWork> work;
        for (std::size_t f = start; f < std::min(files.size(), start + kGroupSize); ++f) {
            FileWork w;
            w.path = files[f];
            try {
                LoadedSpectrum loaded = readSpectrum(session.ui(), w.path);
                w.record = std::move(loaded.record);
                if (!line.has("no-search"))
                    w.record->spectrumLines = searchLines(session, *w.record, settings.search);
            } catch (const FileFailure& failure) {
                w.failKeyword = failure.keyword();
                w.failMessage = failure.what();
            }
            work.push_back(std::move(w));
        }
        if (!identifyTogether(session, work, elements, settings.select)) {
            const std::string said =
                session.host().failureText("Die Linienidentifizierung wurde abgebrochen.");
            for (FileWork& w : work) {
                if (!w.ok()) continue;
                w.failKeyword = "IdentificationFailed";
                w.failMessage = said;
            }
        }
        for (FileWork& w : work) {
            if (!w.ok()) {
                out.fileFailed(w.path, w.failKeyword, w.failMessage);
                continue;
            }
            CandidateScores scores;
            if (ranked) {
                try {
                    if (!refs) {
                        refs.emplace();
                        readReferenceLines(session, elements, settings.select, *refs);
                    }
                } catch (const FileFailure& failure) {
                    refs.reset();
                    out.fileFailed(w.path, failure.keyword(), failure.what());
                    continue;
                }
                scores = scoreCandidates(*w.record, *refs,
                                         analyseElements(*w.record, *refs, {}, evidenceSettings));
            }
            out.fileDone();
            report(out, *w.record, settings.select.IntensityOption, line.has("best"),
                   ranked ? &scores : nullptr);
            if (writeFiles) {
                try {
                    writeSpectrum(session.ui(), *w.record,
                                  outputPathFor(output, toDirectory, w.path), 1);
                } catch (const FileFailure& failure) {
                    out.fileFailed(w.path, failure.keyword(), failure.what());
                }
            }
        }
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
