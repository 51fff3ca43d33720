// lumora-cli elements: line search, measurement of the found lines and the wavelength shift
// of each segment of the x axis against the strongest expected lines of the selected species.
#include <algorithm>
#include <cmath>
#include <optional>

#include "AnalysisOptions.h"
#include "Commands.h"
#include "JsonWriter.h"
#include "LineRun.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "lumcore/Printf.h"
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
            return "geschätzt";
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
    float noise = 0.0f;
    std::vector<lumdb::LineMeasurement> measured;
    std::vector<lumdb::SegmentShift> shifts;
};

// The supporting database line of each measured line, if any.
std::vector<const lumdb::ShiftSupport*> supportOfLines(const FileResult& f) {
    std::vector<const lumdb::ShiftSupport*> of(f.measured.size(), nullptr);
    for (const auto& s : f.shifts)
        for (const auto& support : s.support) of[support.line] = &support;
    return of;
}

void report(ResultOutput& out, const FileResult& f, const lumdb::ReferenceLines& refs,
            bool withLines) {
    const SpectrumRecord& r = *f.record;
    const auto support = supportOfLines(f);
    auto referenceText = [&](const lumdb::ShiftSupport* s) {
        return s ? refs.species[s->species] + " " + num(s->reference) : std::string();
    };
    if (out.format() == OutputFormat::Json) {
        JsonWriter j;
        j.beginObject().key("path").string(r.fileName).key("noise").number(f.noise);
        j.key("shifts").beginArray();
        for (const auto& s : f.shifts) {
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
                    .number(f.measured[sup.line].position)
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
        if (withLines) {
            j.key("lines").beginArray();
            for (std::size_t i = 0; i < f.measured.size(); ++i) {
                const auto& m = f.measured[i];
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
                    .key("baseline")
                    .number(m.baseline)
                    .key("reference")
                    .string(referenceText(support[i]))
                    .endObject();
            }
            j.endArray();
        }
        j.endObject();
        out.addJsonLine(j.text());
        return;
    }
    if (withLines) {
        for (std::size_t i = 0; i < f.measured.size(); ++i) {
            const auto& m = f.measured[i];
            out.addRow({r.fileName, num(r.spectrumLines[i].x), fixed(m.position, 4),
                        general(m.uncertainty), general(m.height), general(m.width),
                        referenceText(support[i])});
        }
        return;
    }
    for (const auto& s : f.shifts) {
        const bool e = s.estimated();
        out.addRow({r.fileName, num(static_cast<float>(s.from)), num(static_cast<float>(s.to)),
                    e ? fixed(s.shift, 4) : "", e ? general(s.stretch) : "",
                    std::to_string(s.support.size()), e ? general(s.shiftUncertainty) : "",
                    outcomeText(s)});
    }
}

}  // namespace

CommandSyntax elementsSyntax() {
    CommandSyntax syntax;
    syntax.name = "elements";
    syntax.synopsis =
        "DATEI... [--elements LISTE] [--neutrals] [--ions] [--higher-ions] [--lines]\n"
        "       [--stretch] [--max-shift NM] [--robust-noise] [--config DATEI.lmc]\n"
        "       [--fourier [M,K]] [--sg ORDNUNG,BREITE] [--noise WERT] [--zoom VON,BIS]";
    syntax.description =
        "Welche Elemente sind in der Probe? Bisher nur der erste Schritt: die Verschiebung der\n"
        "Wellenlängenachse. Die gefundenen Linien werden auf den ungeglätteten Daten vermessen\n"
        "(Lage zwischen den Punkten, Höhe über der Grundlinie, Breite, Unsicherheit) und mit den\n"
        "stärksten erwarteten Linien der gewählten Spezies (Vorgabe: alle) verglichen; je\n"
        "Abschnitt der x-Achse (eine Lücke vieler Schritte beginnt einen neuen) die Verschiebung,\n"
        "auf die sich die meisten Linien einigen, mit ihrer Unsicherheit und der Zahl der\n"
        "stützenden Linien. Wo die Belege dünn sind, steht keine Schätzung, sondern der Grund.\n"
        "Das Spektrum bleibt unverändert. Eine Zeile je Abschnitt: Datei, von, bis, Verschiebung,\n"
        "Streckung, Linien, Unsicherheit, Ergebnis; mit --lines eine Zeile je Linie.\n"
        "JSON-Felder: path, noise, shifts (Liste von {from, to, shift, stretch, lines,\n"
        "uncertainty, status, support: [{x, species, wavelength, residual}]}), mit --lines\n"
        "lines (Liste von {x, position, uncertainty, height, width, baseline, reference}).";
    syntax.minFiles = 1;
    addOptions(syntax.options, identifyOptions());
    addOptions(
        syntax.options,
        {
            {"lines", 0, ValueKind::None, "", "jede vermessene Linie ausgeben"},
            {"stretch", 0, ValueKind::None, "", "Verschiebung und lineare Streckung anpassen"},
            {"max-shift", 0, ValueKind::Required, "NM", "größte gesuchte Verschiebung (Vorgabe 1)"},
            {"robust-noise", 0, ValueKind::None, "",
             "Rauschen der Liniensuche robust schätzen (Median der\nAbweichungen) statt wie im "
             "Programm"},
            {"config", 0, ValueKind::Required, "DATEI.lmc",
             "Elementauswahl und Suchwerte aus der Konfiguration"},
        });
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
    session.dataDir();  // no database: stop before reading any file

    ResultOutput& out = session.output();
    const bool withLines = line.has("lines");
    if (withLines)
        out.setColumns({"path", "x", "position", "uncertainty", "height", "width", "reference"},
                       {"Datei", "x", "Lage", "Unsicherheit", "Höhe", "Breite", "Bezugslinie"});
    else
        out.setColumns({"path", "from", "to", "shift", "stretch", "lines", "uncertainty", "status"},
                       {"Datei", "von", "bis", "Verschiebung", "Streckung", "Linien",
                        "Unsicherheit", "Ergebnis"});

    // The reference lines are read once, over the whole database, for every file.
    std::optional<lumdb::ReferenceLines> refs;
    for (const std::string& path : line.files()) {
        try {
            LoadedSpectrum loaded = readSpectrum(session.ui(), path);
            SpectrumRecord& r = *loaded.record;
            FileResult f;
            f.record = &r;
            f.noise = lumdb::RobustNoise(r.points);
            SLineSearchVal search = settings.search;
            if (line.has("robust-noise") && !search.Noise) {
                search.Noise = true;
                search.NoiseValue = f.noise;
            }
            r.spectrumLines = searchLines(session, r, search);
            f.measured = lumdb::MeasureLines(r.points, r.spectrumLines, f.noise);
            if (!refs) {
                refs.emplace();
                session.host().clearLastMessage();
                if (!lumdb::CollectReferenceLines(session.host(), session.dataDir(), elements,
                                                  settings.select, 0.0, 1e30, *refs)) {
                    refs.reset();
                    throw FileFailure("IdentificationFailed",
                                      session.host().failureText(
                                          "Das Lesen der Liniendatenbank wurde abgebrochen."));
                }
            }
            f.shifts = lumdb::EstimateShifts(r.points, f.measured, f.noise, *refs, shiftSettings);
            out.fileDone();
            report(out, f, *refs, withLines);
        } catch (const FileFailure& failure) {
            out.fileFailed(path, failure.keyword(), failure.what());
        }
    }
    out.finish();
    return out.exitStatus();
}

}  // namespace lumcli
