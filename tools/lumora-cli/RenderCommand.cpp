// lumora-cli render: the diagram of one or more spectra as an image or vector file.
#include <ostream>

#include "Commands.h"
#include "Session.h"

namespace lumcli {

CommandSpec renderSpec() {
    CommandSpec spec;
    spec.name = "render";
    spec.synopsis = "DATEI... -o AUSGABE.png|.bmp|.svg|.pdf|.wmf|.wpg [--size BxH] [--log-x] [--log-y] [--grid]\n"
                    "       [--lines] [--identify --elements LISTE ...]";
    spec.description =
        "Zeichnet das Diagramm der Spektren, überlagert in der Farbfolge des Programms, wahlweise\n"
        "mit gefundenen (--lines) und identifizierten Linien (--identify).";
    spec.minFiles = 1;
    spec.options = {
        {"output", 'o', ValueKind::Required, "AUSGABE", "Ausgabedatei; das Format kommt aus der Endung"},
        {"size", 0, ValueKind::Required, "BxH", "Größe in Pixeln (Vorgabe 800x600)"},
        {"log-x", 0, ValueKind::None, "", "x-Achse logarithmisch"},
        {"log-y", 0, ValueKind::None, "", "y-Achse logarithmisch"},
        {"grid", 0, ValueKind::None, "", "horizontale und vertikale Hilfslinien"},
        {"lines", 0, ValueKind::None, "", "gefundene Linien markieren"},
        {"identify", 0, ValueKind::None, "", "Linien suchen, identifizieren und beschriften"},
    };
    addOptions(spec.options, identifyOptions());
    addOptions(spec.options, searchOptions());
    addOptions(spec.options, choiceOptions());
    addOptions(spec.options, outputOptions());
    return spec;
}

int runRender(Session& session) {
    session.err() << "lumora-cli render: Das Zeichnen der Diagramme ist in dieser Fassung noch nicht "
                     "verfügbar.\n";
    return 1;
}

}  // namespace lumcli
