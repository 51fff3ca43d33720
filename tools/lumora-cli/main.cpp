// lumora-cli: Lumora's analysis from the command line, for batches of spectra. Built from
// the same libraries as the program and reading the same settings and line database.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Session.h"
#include "SpectrumInput.h"
#include "lumcore/StandardOutput.h"

using namespace lumcli;

namespace {

struct Entry {
    const char* name;
    CommandSyntax (*syntax)();
    int (*run)(Session&);
    const char* summary;
};

const Entry kCommands[] = {
    {"info", infoSyntax, runInfo, "Dateiinformationen: Format, Punkte, Bereiche, Titel, Linien"},
    {"convert", convertSyntax, runConvert, "in einen der sechs Dateitypen umwandeln"},
    {"smooth", smoothSyntax, runSmooth, "Daten glätten (Wiener-Fourier- und Polynomfilter)"},
    {"lines", linesSyntax, runLines, "Liniensuche"},
    {"identify", identifySyntax, runIdentify, "Liniensuche und Linienidentifizierung"},
    {"elements", elementsSyntax, runElements,
     "Linien vermessen, Verschiebung der Wellenlängenachse schätzen"},
    {"dbsearch", dbsearchSyntax, runDbsearch, "Datenbanksuche unabhängig von einem Spektrum"},
    {"combine", combineSyntax, runCombine, "zwei Spektren kombinieren (- + * /)"},
    {"render", renderSyntax, runRender, "Diagramm als Bild- oder Vektorgrafik ausgeben"},
};

void printOverview(std::ostream& os) {
    os << "Aufruf: lumora-cli BEFEHL [Optionen] [DATEI...]\n\n"
          "Befehle:\n";
    for (const Entry& e : kCommands) {
        std::string name = e.name;
        os << "  " << name << std::string(12 - name.size(), ' ') << e.summary << '\n';
    }
    os << "\n\"lumora-cli BEFEHL --help\" zeigt die Optionen eines Befehls.\n"
          "Exit-Status: 0 alles in Ordnung, 1 mindestens eine Datei fehlgeschlagen, 2 "
          "Aufruffehler.\n"
          "Programmverzeichnis (Data/ mit der Liniendatenbank): das Verzeichnis von lumora-cli,\n"
          "oder LUMORA_HOME, wenn gesetzt.\n";
}

OutputFormat outputFormat(const CommandLine& line) {
    if (!line.has("format"))
        return ::isatty(STDOUT_FILENO) ? OutputFormat::Table : OutputFormat::Csv;
    const std::string f = line.value("format");
    if (f == "table") return OutputFormat::Table;
    if (f == "csv") return OutputFormat::Csv;
    if (f == "json") return OutputFormat::Json;
    throw UsageError("--format erwartet table, csv oder json, nicht \"" + f + "\".");
}

int run(const std::vector<std::string>& args) {
    if (args.empty()) {
        printOverview(std::cerr);
        return 2;
    }
    const std::string& name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        if (args.size() > 1) {
            for (const Entry& e : kCommands)
                if (args[1] == e.name) {
                    std::cout << CommandLine::helpText(e.syntax());
                    return 0;
                }
        }
        printOverview(std::cout);
        return 0;
    }
    if (name == "--version") {
        std::cout << "lumora-cli " << LUMORA_VERSION_STRING << '\n';
        return 0;
    }
    const Entry* command = nullptr;
    for (const Entry& e : kCommands)
        if (name == e.name) command = &e;
    if (!command) {
        std::cerr << "lumora-cli: Unbekannter Befehl: " << name << "\n\n";
        printOverview(std::cerr);
        return 2;
    }

    const CommandSyntax syntax = command->syntax();
    try {
        const CommandLine line(syntax, std::vector<std::string>(args.begin() + 1, args.end()));
        if (line.helpRequested()) {
            std::cout << CommandLine::helpText(syntax);
            return 0;
        }
        Session session(line, outputFormat(line), std::cout, std::cerr);
        const int status = command->run(session);
        // A result without a refused database file is incomplete, though every input opened.
        return status == 0 && session.host().databaseDamaged() ? 1 : status;
    } catch (const UsageError& e) {
        std::cerr << "lumora-cli " << syntax.name << ": " << e.what() << "\n"
                  << "\"lumora-cli " << syntax.name << " --help\" zeigt die Optionen.\n";
        return 2;
    } catch (const DatabaseMissing& e) {
        std::cerr << "lumora-cli: " << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "lumora-cli: Fehler: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return lumcore::checkStandardOutput(run(std::vector<std::string>(argv + 1, argv + argc)),
                                        "lumora-cli");
}
