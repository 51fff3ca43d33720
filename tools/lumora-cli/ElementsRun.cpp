// The species judgement of one spectrum, shared by lumora-cli elements and identify --ranked.
#include "ElementsRun.h"

#include "FileFailure.h"
#include "Session.h"

namespace lumcli {

std::vector<OptionSyntax> evidenceOptions() {
    return {
        {"temperature", 0, ValueKind::Required, "K",
         "Plasmatemperatur für die erwartete Emission (Vorgabe nach\n--source)"},
        {"source", 0, ValueKind::Required, "ART",
         "Art der Quelle: plasma (LIBS, Funken: 10000 K, Vorgabe),\narc (Bogen: 6000 K), "
         "lamp (Lampe, Glimmentladung: 4000 K)"},
        {"fit-temperature", 0, ValueKind::None, "",
         "Temperatur aus den gefundenen Linien der führenden Spezies\nbestimmen"},
    };
}

lumdb::EvidenceSettings evidenceSettingsFrom(const CommandLine& line) {
    lumdb::EvidenceSettings settings;
    if (line.has("source")) {
        const std::string kind = line.value("source");
        if (kind == "plasma")
            settings.temperature = 10000.0;
        else if (kind == "arc")
            settings.temperature = 6000.0;
        else if (kind == "lamp")
            settings.temperature = 4000.0;
        else
            throw UsageError("--source: plasma, arc oder lamp erwartet, nicht \"" + kind + "\".");
    }
    if (line.has("temperature")) {
        const double t = parseNumber("temperature", line.value("temperature"));
        if (!(t >= 500.0 && t <= 100000.0))
            throw UsageError("--temperature muß zwischen 500 und 100000 K liegen.");
        settings.temperature = t;
    }
    settings.fitTemperature = line.has("fit-temperature");
    return settings;
}

void readReferenceLines(Session& session, const TElementArray& elements, const SSelectElVal& select,
                        lumdb::ReferenceLines& out) {
    session.host().clearLastMessage();
    // Weak lines stay in: at another temperature they may be among a species' strongest.
    if (!lumdb::CollectReferenceLines(session.host(), session.dataDir(), elements, select, 0.0,
                                      1e30, out, 1e-3f))
        throw FileFailure(
            "IdentificationFailed",
            session.host().failureText("Das Lesen der Liniendatenbank wurde abgebrochen."));
}

ElementsAnalysis analyseElements(const SpectrumRecord& r, const lumdb::ReferenceLines& refs,
                                 const lumdb::ShiftSettings& shiftSettings,
                                 const lumdb::EvidenceSettings& evidenceSettings,
                                 float searchNoise) {
    return lumdb::JudgeSpectrum(r.points, r.spectrumLines, searchNoise, refs, shiftSettings,
                                evidenceSettings);
}

}  // namespace lumcli
