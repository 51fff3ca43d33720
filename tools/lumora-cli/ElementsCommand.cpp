// lumora-cli elements: which species are in a sample. Line search, measurement of the found
// lines, the wavelength shift of each segment of the x axis, and the evidence for and against
// every selected species, as a ranked table, per line, or for one species line by line.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "AnalysisOptions.h"
#include "Commands.h"
#include "ElementsRun.h"
#include "FileFailure.h"
#include "JsonWriter.h"
#include "LineRun.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "lumcore/Printf.h"
#include "lumdb/Analysis.h"
#include "lumdb/Elements.h"

namespace lumcli {

using lumcore::strprintf;

namespace {

std::string fixed(double value, int digits) {
    return strprintf("%.*f", digits, value);
}

std::string general(double value) {
    return strprintf("%.4g", value);
}

const char* outcomeKey(lumdb::ShiftOutcome o) {
    switch (o) {
        case lumdb::ShiftOutcome::Estimated:
            return "estimated";
        case lumdb::ShiftOutcome::TooFewLines:
            return "too-few-lines";
        case lumdb::ShiftOutcome::NotSignificant:
            return "not-significant";
        case lumdb::ShiftOutcome::Ambiguous:
            return "ambiguous";
    }
    return "";
}

std::string outcomeText(const lumdb::SegmentShift& s) {
    switch (s.outcome) {
        case lumdb::ShiftOutcome::Estimated:
            return s.fromSpecies ? "geschätzt aus den übereinstimmenden Spezies" : "geschätzt";
        case lumdb::ShiftOutcome::TooFewLines:
            return "keine Schätzung: zu wenige Linien";
        case lumdb::ShiftOutcome::NotSignificant:
            return "keine Schätzung: keine Verschiebung hebt sich vom Zufall ab";
        case lumdb::ShiftOutcome::Ambiguous:
            return "keine Schätzung: zwei Verschiebungen passen etwa gleich gut";
    }
    return "";
}

struct FileResult {
    const SpectrumRecord* record = nullptr;
    ElementsAnalysis analysis;
};

const char* verdictKey(lumdb::Verdict v) {
    return v == lumdb::Verdict::Present    ? "present"
           : v == lumdb::Verdict::Possible ? "possible"
                                           : "unsupported";
}

const char* verdictText(lumdb::Verdict v) {
    return v == lumdb::Verdict::Present    ? "vorhanden"
           : v == lumdb::Verdict::Possible ? "möglich"
                                           : "nicht gestützt";
}

const char* basisText(lumdb::EmissionBasis b) {
    switch (b) {
        case lumdb::EmissionBasis::Transition:
            return "gf, Boltzmann";
        case lumdb::EmissionBasis::RelativeIntensity:
            return "rel. Int. NIST";
        case lumdb::EmissionBasis::BandHead:
            return "Bandenköpfe";
        case lumdb::EmissionBasis::Unknown:
            break;
    }
    return "unbekannt";
}

const char* outcomeOf(lumdb::LineOutcome o) {
    switch (o) {
        case lumdb::LineOutcome::Agrees:
            return "passt";
        case lumdb::LineOutcome::Stronger:
            return "stärker (Überlagerung?)";
        case lumdb::LineOutcome::Weaker:
            return "zu schwach";
        case lumdb::LineOutcome::Missing:
            return "fehlt";
        case lumdb::LineOutcome::Faint:
            return "unter dem Rauschen";
        case lumdb::LineOutcome::Unresolved:
            return "nicht getrennt";
        case lumdb::LineOutcome::Explained:
            return "von anderer Spezies erklärt";
        case lumdb::LineOutcome::Unscaled:
            return "Abschnitt ohne Fund der Spezies";
        case lumdb::LineOutcome::Absorbed:
            return "Resonanzlinie, selbstabsorbiert?";
    }
    return "";
}

const char* outcomeKeyOf(lumdb::LineOutcome o) {
    switch (o) {
        case lumdb::LineOutcome::Agrees:
            return "agrees";
        case lumdb::LineOutcome::Stronger:
            return "stronger";
        case lumdb::LineOutcome::Weaker:
            return "weaker";
        case lumdb::LineOutcome::Missing:
            return "missing";
        case lumdb::LineOutcome::Faint:
            return "faint";
        case lumdb::LineOutcome::Unresolved:
            return "unresolved";
        case lumdb::LineOutcome::Explained:
            return "explained";
        case lumdb::LineOutcome::Unscaled:
            return "unscaled";
        case lumdb::LineOutcome::Absorbed:
            return "absorbed";
    }
    return "";
}

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

struct Report {
    enum class Mode { Species, Shifts, Lines, Explain } mode = Mode::Species;
    bool all = false;            // unsupported species in the table too
    std::size_t candidates = 3;  // per line with --lines
    std::string explain;         // species label for --explain
};

void writeShifts(JsonWriter& j, const FileResult& f, const lumdb::ReferenceLines& refs) {
    j.key("shifts").beginArray();
    for (const auto& s : f.analysis.evidence.shifts) {
        j.beginObject()
            .key("from")
            .number(static_cast<float>(s.from))
            .key("to")
            .number(static_cast<float>(s.to))
            .key("shift");
        if (s.estimated())
            j.number(s.shift);
        else
            j.null();
        j.key("stretch");
        if (s.estimated())
            j.number(s.stretch);
        else
            j.null();
        j.key("lines").integer(static_cast<long long>(s.support.size()));
        j.key("uncertainty");
        if (s.estimated())
            j.number(s.shiftUncertainty);
        else
            j.null();
        j.key("status").string(outcomeKey(s.outcome));
        j.key("fromSpecies").boolean(s.fromSpecies);
        j.key("voting").integer(static_cast<long long>(s.votingLines));
        j.key("best")
            .number(s.bestShift)
            .key("bestLines")
            .integer(static_cast<long long>(s.bestLines));
        j.key("runnerUp").integer(static_cast<long long>(s.runnerUp));
        j.key("chance").number(s.chanceLines);
        j.key("support").beginArray();
        for (const auto& sup : s.support)
            j.beginObject()
                .key("x")
                .number(f.analysis.measured[sup.line].position)
                .key("species")
                .string(refs.species[sup.species])
                .key("wavelength")
                .number(sup.reference)
                .key("residual")
                .number(sup.residual)
                .endObject();
        j.endArray().endObject();
    }
    j.endArray();
}

const lumdb::SpeciesEvidence* findSpecies(const FileResult& f, const lumdb::ReferenceLines& refs,
                                          const std::string& label) {
    for (const auto& ev : f.analysis.evidence.species)
        if (refs.species[ev.species] == label) return &ev;
    return nullptr;
}

void report(ResultOutput& out, const FileResult& f, const lumdb::ReferenceLines& refs,
            const Report& how) {
    const SpectrumRecord& r = *f.record;
    const ElementsAnalysis& a = f.analysis;
    const lumdb::EvidenceResult& ev = a.evidence;
    const auto label = [&](std::size_t reference) {
        return refs.species[refs.lines[reference].species];
    };
    const auto verdictOfReference = [&](std::size_t reference) {
        for (const auto& s : ev.species)
            if (s.species == refs.lines[reference].species) return s.verdict;
        return lumdb::Verdict::Unsupported;
    };
    const lumdb::SpeciesEvidence* explained =
        how.mode == Report::Mode::Explain ? findSpecies(f, refs, how.explain) : nullptr;
    if (out.format() == OutputFormat::Json) {
        JsonWriter j;
        j.beginObject().key("path").string(r.fileName);
        writeShifts(j, f, refs);
        j.key("species").beginArray();
        for (const auto& s : ev.species) {
            j.beginObject()
                .key("species")
                .string(refs.species[s.species])
                .key("verdict")
                .string(verdictKey(s.verdict))
                .key("score");
            if (s.scored)
                j.number(s.score);
            else
                j.null();
            j.key("found")
                .integer(static_cast<long long>(s.found))
                .key("expected")
                .integer(static_cast<long long>(s.expected))
                .endObject();
        }
        j.endArray();
        j.key("noise").number(a.noise).key("temperature").number(ev.temperature);
        j.key("temperatureFitted").boolean(ev.temperatureFitted);
        if (how.mode == Report::Mode::Lines) {
            j.key("lines").beginArray();
            for (std::size_t i = 0; i < a.measured.size(); ++i) {
                const auto& m = a.measured[i];
                j.beginObject()
                    .key("x")
                    .number(r.spectrumLines[i].x)
                    .key("position")
                    .number(m.position)
                    .key("uncertainty")
                    .number(m.uncertainty)
                    .key("height")
                    .number(m.height)
                    .key("width")
                    .number(m.width)
                    .key("candidates")
                    .beginArray();
                const auto& list = ev.candidates[i];
                for (std::size_t k = 0; k < std::min(list.size(), how.candidates); ++k) {
                    const auto& c = list[k];
                    j.beginObject()
                        .key("species")
                        .string(label(c.reference))
                        .key("wavelength")
                        .number(refs.lines[c.reference].wavelength)
                        .key("score")
                        .number(c.score)
                        .key("likelihood")
                        .number(c.likelihood)
                        .key("intensity");
                    if (c.intensity >= 0)
                        j.number(c.intensity);
                    else
                        j.null();
                    j.key("verdict")
                        .string(verdictKey(verdictOfReference(c.reference)))
                        .endObject();
                }
                j.endArray().endObject();
            }
            j.endArray();
        }
        if (how.mode == Report::Mode::Explain) {
            j.key("explain");
            if (!explained) {
                j.null();
            } else {
                j.beginObject()
                    .key("species")
                    .string(how.explain)
                    .key("basis")
                    .string(explained->scored ? basisText(explained->basis) : "unbekannt")
                    .key("scale")
                    .number(explained->scale)
                    .key("chance")
                    .number(explained->chance)
                    .key("temperature")
                    .number(explained->temperature)
                    .key("soleLine");
                if (explained->soleLine >= 0)
                    j.number(a.measured[static_cast<std::size_t>(explained->soleLine)].position);
                else
                    j.null();
                j.key("lines").beginArray();
                for (const auto& l : explained->lines) {
                    j.beginObject()
                        .key("wavelength")
                        .number(refs.lines[l.reference].wavelength)
                        .key("position")
                        .number(l.position)
                        .key("expected")
                        .number(l.expected)
                        .key("predicted")
                        .number(l.predicted)
                        .key("found");
                    if (l.measured >= 0)
                        j.number(a.measured[static_cast<std::size_t>(l.measured)].position);
                    else
                        j.null();
                    j.key("height");
                    if (l.measured >= 0)
                        j.number(a.measured[static_cast<std::size_t>(l.measured)].height);
                    else
                        j.null();
                    j.key("outcome")
                        .string(outcomeKeyOf(l.outcome))
                        .key("weight")
                        .number(l.weight)
                        .key("contribution")
                        .number(l.contribution)
                        .endObject();
                }
                j.endArray().endObject();
            }
        }
        j.endObject();
        out.addJsonLine(j.text());
        return;
    }
    switch (how.mode) {
        case Report::Mode::Shifts:
            for (const auto& s : ev.shifts) {
                const bool e = s.estimated();
                out.addRow({r.fileName, num(static_cast<float>(s.from)),
                            num(static_cast<float>(s.to)), e ? fixed(s.shift, 4) : "",
                            e ? general(s.stretch) : "", std::to_string(s.support.size()),
                            e ? general(s.shiftUncertainty) : "", outcomeText(s)});
            }
            return;
        case Report::Mode::Species:
            for (const auto& s : ev.species) {
                if (!how.all && s.verdict == lumdb::Verdict::Unsupported) continue;
                out.addRow({r.fileName, refs.species[s.species], verdictText(s.verdict),
                            s.scored ? fixed(s.score, 2) : "unbekannt", std::to_string(s.found),
                            std::to_string(s.expected), std::to_string(s.missing),
                            s.scored ? basisText(s.basis) : "unbekannt"});
            }
            return;
        case Report::Mode::Lines:
            for (std::size_t i = 0; i < a.measured.size(); ++i) {
                const auto& m = a.measured[i];
                const auto& list = ev.candidates[i];
                if (list.empty())
                    out.addRow({r.fileName, fixed(m.position, 4), general(m.height), "", "", "", "",
                                "", "", ""});
                for (std::size_t k = 0; k < std::min(list.size(), how.candidates); ++k) {
                    const auto& c = list[k];
                    out.addRow({r.fileName, fixed(m.position, 4), general(m.height),
                                std::to_string(k + 1), label(c.reference),
                                num(refs.lines[c.reference].wavelength), fixed(c.score, 3),
                                fixed(c.likelihood, 2),
                                c.intensity >= 0 ? fixed(c.intensity, 2) : "unbekannt",
                                verdictText(verdictOfReference(c.reference))});
                }
            }
            return;
        case Report::Mode::Explain:
            if (!explained) {
                out.warn(r.fileName + ": keine erwarteten Linien von " + how.explain +
                         " im Bereich des Spektrums.");
                return;
            }
            for (const auto& l : explained->lines) {
                const bool found = l.measured >= 0;
                const auto& m = found ? a.measured[static_cast<std::size_t>(l.measured)]
                                      : lumdb::LineMeasurement{};
                out.addRow({r.fileName, how.explain, num(refs.lines[l.reference].wavelength),
                            fixed(l.position, 4), general(l.expected), general(l.predicted),
                            found ? fixed(m.position, 4) : "", found ? general(m.height) : "",
                            outcomeOf(l.outcome), fixed(l.weight, 3), fixed(l.contribution, 2)});
            }
            // Present by elimination: the line no other species could show.
            const std::string sole =
                explained->soleLine >= 0
                    ? strprintf("; einzige Erklärung der Linie bei %.3f nm",
                                a.measured[static_cast<std::size_t>(explained->soleLine)].position)
                    : std::string();
            out.warn(strprintf(
                "%s: %s %s, Punkte %s aus %zu Linien (Grundlage %s, %.0f K%s)%s",
                r.fileName.c_str(), how.explain.c_str(), verdictText(explained->verdict),
                explained->scored ? fixed(explained->score, 2).c_str() : "unbekannt",
                explained->expected, explained->scored ? basisText(explained->basis) : "unbekannt",
                explained->temperature,
                explained->temperature != ev.temperature ? ", eigene Temperatur der Spezies"
                : ev.temperatureFitted                   ? ", angepaßt"
                                                         : "",
                sole.c_str()));
            return;
    }
}

// The line search for the judgement. A spectrum joined from several detectors or gratings
// (segments of the x axis, a gap of many steps between them) is searched one segment at a
// time, each with the noise of its own points: a weak segment is not held to the noise of a
// strong one. `noise` receives the noise of the whole axis that the segments' own noises
// correspond to (each over its SegmentNoiseRatio), the largest of them. Where a segment is too
// short for the search's settings, the whole axis is searched at once as for `lines`. Either
// way the faint lines the search leaves out are added (lumdb::AddFaintLines).
TLineArray searchBySegment(Session& session, const SpectrumRecord& r, const SLineSearchVal& given,
                           bool robust, float& noise) {
    const auto segments = lumdb::AxisSegments(r.points);
    const bool zoomGiven = session.line().has("zoom") && given.ZoomData;
    // With --robust-noise and no noise given, the search works with the robust estimate.
    const auto noiseFor = [&](SLineSearchVal& search, const TPointList& points) {
        if (robust && !search.Noise) {
            search.Noise = true;
            search.NoiseValue = lumdb::RobustNoise(points);
        }
    };
    // The faint lines the search left out are looked for once more, against the robust
    // noise of the points searched.
    const auto resolve = [&](const SLineSearchVal& search, const TPointList& points,
                             TLineArray& lines) {
        if (!lumdb::AddFaintLines(session.host(), r.points, search, lumdb::RobustNoise(points),
                                  lines))
            throw FileFailure("SearchFailed",
                              session.host().failureText("Die Liniensuche ist fehlgeschlagen."));
    };
    auto whole = [&]() {
        SLineSearchVal search = given;
        noiseFor(search, r.points);
        TLineArray lines = searchLines(session, r, search, &noise);
        resolve(search, r.points, lines);
        return lines;
    };
    if (segments.size() < 2) return whole();
    std::vector<std::pair<double, double>> ranges;
    for (const auto& [from, to] : segments) {
        double lo = from, hi = to;
        if (zoomGiven) {
            lo = std::max(lo, static_cast<double>(given.zoomFrom));
            hi = std::min(hi, static_cast<double>(given.zoomTo));
            if (lo > hi) continue;
        }
        ranges.emplace_back(lo, hi);
    }
    const std::vector<double> ratios = lumdb::SegmentNoiseRatios(r.points, ranges);
    // Every segment must suit the search's settings before any is searched.
    std::vector<TPointList> parts(ranges.size());
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        for (const TPointF& p : r.points)
            if (p.x >= ranges[k].first && p.x <= ranges[k].second) parts[k].push_back(p);
        if (!filterLimitMessage(given, parts[k].size()).empty() || parts[k].size() < 16)
            return whole();
    }
    TLineArray all;
    float equivalent = 0.0f;
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        SLineSearchVal search = given;
        const auto [lo, hi] = ranges[k];
        noiseFor(search, parts[k]);
        search.ZoomData = true;
        search.zoomFrom = static_cast<float>(lo);
        search.zoomTo = static_cast<float>(hi);
        session.host().clearLastMessage();
        TPointList smoothed;
        TLineArray lines;
        if (!LineSearch(session.host(), r.points, smoothed, lines, &search)) return whole();
        resolve(search, parts[k], lines);
        for (const CLine& l : lines) all.add(l);
        equivalent = std::max(equivalent, static_cast<float>(search.NoiseValue / ratios[k]));
    }
    noise = equivalent;
    return all;
}

}  // namespace

CommandSyntax elementsSyntax() {
    CommandSyntax syntax;
    syntax.name = "elements";
    syntax.synopsis =
        "DATEI... [--elements LISTE] [--neutrals] [--ions] [--higher-ions] [--all]\n"
        "       [--lines [--candidates N]] [--explain SPEZIES] [--shifts] [--stretch]\n"
        "       [--max-shift NM] [--temperature K] [--source ART] [--fit-temperature]\n"
        "       [--robust-noise] [--config DATEI.lmc] [--fourier [M,K]] [--sg ORDNUNG,BREITE]\n"
        "       [--noise WERT] [--zoom VON,BIS]";
    syntax.description =
        "Welche Elemente sind in der Probe? Zu den Linien der Liniensuche kommen die schwachen,\n"
        "die sie ausläßt (leicht geglättet gesucht, fünf robuste Rauschwerte hoch). Die\n"
        "gefundenen Linien werden auf den ungeglätteten Daten vermessen, je Abschnitt der x-Achse "
        "wird die Verschiebung gegen die stärksten\n"
        "erwarteten Linien geschätzt, dann wird jede gewählte Spezies (Vorgabe: alle) an ihren\n"
        "stärksten erwarteten Linien im Bereich geprüft: gefundene Linien, deren Höhe zur\n"
        "erwarteten Emission (gf und Boltzmann-Faktor, sonst die relative Intensität) paßt,\n"
        "sprechen für sie, Linien, die über dem Rauschen stehen müßten, aber fehlen, gegen sie.\n"
        "Eine Spezies, die bei der Temperatur nicht vorhanden ist, wird auch beim 0,3-, 0,5- und\n"
        "1,5fachen geprüft (Quellen außer Gleichgewicht, etwa Lampen). Eine Linie klar über dem\n"
        "Rauschen, die nur eine Spezies zeigen könnte, macht diese vorhanden.\n"
        "Eine Zeile je Spezies, beste zuerst: Datei, Spezies, Urteil (vorhanden, möglich; mit\n"
        "--all auch nicht gestützt), Punkte (-1 bis 1), gefunden, erwartet, fehlend, Grundlage.\n"
        "--lines: je Linie ihre Kandidaten nach Punkten; --explain SPEZIES: jede geprüfte Linie\n"
        "der Spezies mit Erwartung, Fund und Beitrag; --shifts: die Verschiebung je Abschnitt.\n"
        "JSON-Felder: path, shifts (Liste von {from, to, shift, stretch, lines, uncertainty,\n"
        "status, ...}), species (Liste von {species, verdict, score, found, expected}), noise,\n"
        "temperature, temperatureFitted; mit --lines lines, mit --explain explain.";
    syntax.minFiles = 1;
    addOptions(syntax.options, identifyOptions());
    addOptions(
        syntax.options,
        {
            {"all", 0, ValueKind::None, "", "auch die nicht gestützten Spezies ausgeben"},
            {"lines", 0, ValueKind::None, "", "jede Linie mit ihren Kandidaten ausgeben"},
            {"candidates", 0, ValueKind::Required, "N",
             "Kandidaten je Linie bei --lines (Vorgabe 3)"},
            {"explain", 0, ValueKind::Required, "SPEZIES",
             "die geprüften Linien einer Spezies (\"Fe I\", \"N2\")"},
            {"shifts", 0, ValueKind::None, "", "die Verschiebung je Abschnitt ausgeben"},
            {"stretch", 0, ValueKind::None, "", "Verschiebung und lineare Streckung anpassen"},
            {"max-shift", 0, ValueKind::Required, "NM", "größte gesuchte Verschiebung (Vorgabe 1)"},
            {"robust-noise", 0, ValueKind::None, "",
             "Rauschen der Liniensuche robust schätzen (Median der\nAbweichungen) statt wie im "
             "Programm"},
            {"config", 0, ValueKind::Required, "DATEI.lmc",
             "Elementauswahl und Suchwerte aus der Konfiguration"},
        });
    addOptions(syntax.options, evidenceOptions());
    addOptions(syntax.options, searchOptions());
    addOptions(syntax.options, choiceOptions());
    addOptions(syntax.options, outputOptions());
    return syntax;
}

int runElements(Session& session) {
    const CommandLine& line = session.line();
    TElementArray elements = session.elements();
    if (elements.empty())
        throw DatabaseMissing("Die Elementtabelle fehlt (" + session.programDir() +
                              "/Data/Elements.lmt).");
    lumdb::AnalysisSettings settings = analysisSettingsFrom(line, elements);
    if (!line.has("elements") && !line.has("config"))
        for (auto& e : elements) e.selected = true;
    lumdb::ShiftSettings shiftSettings;
    shiftSettings.fitStretch = line.has("stretch");
    if (line.has("max-shift")) {
        const double m = parseNumber("max-shift", line.value("max-shift"));
        if (!(m > 0)) throw UsageError("--max-shift muß größer Null sein.");
        shiftSettings.maxShift = m;
    }
    lumdb::EvidenceSettings evidenceSettings = evidenceSettingsFrom(line);
    evidenceSettings.maxShift = shiftSettings.maxShift;
    Report how;
    how.all = line.has("all");
    if (line.has("candidates")) {
        const int n = parseInt("candidates", line.value("candidates"));
        if (n < 1) throw UsageError("--candidates muß mindestens 1 sein.");
        how.candidates = static_cast<std::size_t>(n);
    }
    if (line.has("explain")) {
        how.mode = Report::Mode::Explain;
        how.explain = trimmed(line.value("explain"));
    } else if (line.has("lines")) {
        how.mode = Report::Mode::Lines;
    } else if (line.has("shifts")) {
        how.mode = Report::Mode::Shifts;
    }
    session.dataDir();  // no database: stop before reading any file

    ResultOutput& out = session.output();
    switch (how.mode) {
        case Report::Mode::Species:
            out.setColumns(
                {"path", "species", "verdict", "score", "found", "expected", "missing", "basis"},
                {"Datei", "Spezies", "Urteil", "Punkte", "gefunden", "erwartet", "fehlend",
                 "Grundlage"});
            break;
        case Report::Mode::Shifts:
            out.setColumns(
                {"path", "from", "to", "shift", "stretch", "lines", "uncertainty", "status"},
                {"Datei", "von", "bis", "Verschiebung", "Streckung", "Linien", "Unsicherheit",
                 "Ergebnis"});
            break;
        case Report::Mode::Lines:
            out.setColumns({"path", "position", "height", "rank", "species", "wavelength", "score",
                            "likelihood", "intensity", "verdict"},
                           {"Datei", "Lage", "Höhe", "Rang", "Spezies", "Wellenlänge", "Punkte",
                            "Lage-W.", "Intensität", "Urteil"});
            break;
        case Report::Mode::Explain:
            out.setColumns(
                {"path", "species", "wavelength", "expectedAt", "expected", "predicted", "foundAt",
                 "height", "outcome", "weight", "contribution"},
                {"Datei", "Spezies", "Wellenlänge", "erwartet bei", "Emission", "Höhe erwartet",
                 "gefunden bei", "Höhe", "Ergebnis", "Gewicht", "Beitrag"});
            break;
    }

    // The reference lines are read once, over the whole database, for every file.
    std::optional<lumdb::ReferenceLines> refs;
    for (const std::string& path : line.files()) {
        try {
            LoadedSpectrum loaded = readSpectrum(session.ui(), path);
            SpectrumRecord& r = *loaded.record;
            FileResult f;
            f.record = &r;
            float searchNoise = 0.0f;
            r.spectrumLines =
                searchBySegment(session, r, settings.search, line.has("robust-noise"), searchNoise);
            if (!refs) {
                refs.emplace();
                try {
                    readReferenceLines(session, elements, settings.select, *refs);
                } catch (...) {
                    refs.reset();
                    throw;
                }
            }
            f.analysis = analyseElements(r, *refs, shiftSettings, evidenceSettings, searchNoise);
            out.fileDone();
            report(out, f, *refs, how);
        } catch (const FileFailure& failure) {
            out.fileFailed(path, failure.keyword(), failure.what());
        }
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
