// Option groups and small helpers shared by the subcommands; see Commands.h.
#include <algorithm>
#include <cctype>

#include "Commands.h"
#include "lumcore/Printf.h"

namespace lumcli {

std::vector<OptionSyntax> choiceOptions() {
    return {
        {"track", 0, ValueKind::Required, "N",
         "Spur, Teildatei, Kurve oder N-te Spalte einer Spaltenliste,\nwenn die Datei danach "
         "fragt"},
        {"frame", 0, ValueKind::Required, "F", "Frame (mit --strip), wenn die Datei danach fragt"},
        {"strip", 0, ValueKind::Required, "S", "Streifen (mit --frame)"},
        {"maps", 0, ValueKind::Required, "P,S,E,T",
         "Position, Sequenz, Belichtung, Spur einer Maps-Datei"},
        {"format-code", 0, ValueKind::Required, "N",
         "Dateiformat (1-15, wie in der Formatliste), wenn es\nweder an der Endung noch am "
         "Inhalt zu erkennen ist"},
        {"x-unit", 0, ValueKind::Required, "angstrom|wavenumber|pixel",
         "die x-Werte sind Ångström, Wellenzahlen (1/cm, werden zu\nLuftwellenlängen) oder "
         "Punkte; umgerechnet in nm"},
        {"calibrate", 0, ValueKind::Required, "P=W,P=W[,...]",
         "Punkte (Pixel) P mit Wellenlängen W in nm: durch zwei\ngenau, durch mehr die "
         "Ausgleichsgerade (Residuen auf stderr)"},
        {"dispersion", 0, ValueKind::Required, "P=W,D",
         "Punkt P mit Wellenlänge W und Dispersion D in nm/Punkt"},
    };
}

std::vector<OptionSyntax> outputOptions() {
    return {
        {"format", 0, ValueKind::Required, "table|csv|json",
         "Ausgabe: Tabelle (Vorgabe am Terminal), CSV (sonst)\noder JSON Lines (ein Objekt je "
         "Datei)"},
        {"progress", 0, ValueKind::None, "", "Fortschritt auf stderr anzeigen"},
    };
}

std::vector<OptionSyntax> searchOptions() {
    return {
        {"fourier", 0, ValueKind::Optional, "M,K",
         "Wiener-Fourierfilter; ohne Wert mit Standardwerten,\nsonst M Frequenzen und "
         "Grenzfrequenz K"},
        {"sg", 0, ValueKind::Required, "ORDNUNG,BREITE", "Polynomfilter (Savitzky-Golay)"},
        {"noise", 0, ValueKind::Required, "WERT", "Rauschwert setzen statt ihn zu schätzen"},
        {"zoom", 0, ValueKind::Required, "VON,BIS", "nur die Punkte mit x in [VON, BIS]"},
    };
}

std::vector<OptionSyntax> identifyOptions() {
    return {
        {"elements", 0, ValueKind::Required, "LISTE",
         "Elemente wie in der Elementtabelle, durch Komma\ngetrennt (Fe,Ar,N2), oder all"},
        {"neutrals", 0, ValueKind::None, "", "Neutrale"},
        {"ions", 0, ValueKind::None, "", "Ionen (einfach)"},
        {"higher-ions", 0, ValueKind::None, "",
         "Ionen (höhere); ohne Stufenangabe und ohne --config:\nNeutrale und einfache Ionen"},
        {"intensity", 0, ValueKind::Required, "LO,HI", "nur Linien mit LO <= Stärke <= HI"},
        {"strength", 0, ValueKind::Required, "rel|f|aik",
         "Art der Stärke: relative Intensität (Vorgabe),\nf-Wert oder Aik"},
    };
}

void addOptions(std::vector<OptionSyntax>& to, const std::vector<OptionSyntax>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

int outputType(const std::string& typeOption, const std::string& outputPath) {
    static const std::vector<std::pair<std::string, int>> kTypes = {
        {"lmx", 1}, {"csv", 2}, {"txt", 3}, {"txt-y", 4}, {"bin", 5}, {"bin-y", 6}};
    if (!typeOption.empty()) {
        for (const auto& [name, type] : kTypes)
            if (name == typeOption) return type;
        throw UsageError("--type erwartet lmx, csv, txt, txt-y, bin oder bin-y, nicht \"" +
                         typeOption + "\".");
    }
    std::string ext;
    const auto dot = outputPath.rfind('.');
    const auto slash = outputPath.rfind('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        ext = outputPath.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (ext == "lmx") return 1;
    if (ext == "csv") return 2;
    if (ext == "txt" || ext == "asc") return 3;
    if (ext == "bin") return 5;
    throw UsageError("Der Dateityp ist an der Endung von \"" + outputPath +
                     "\" nicht zu erkennen; mit --type angeben.");
}

std::string num(float value) {
    return lumcore::shortestFloat(value);
}

}  // namespace lumcli
