// The filters of the program's open and save dialogs. The open dialog's spectrum filters
// come from the format table; the others are fixed lists.
#include <cctype>

#include "FormatTable.h"
#include "lumio/lumio.h"

std::string GetFilterString(const std::string& mode, int kind) {
    // Like every comparison of the library, the mode words are matched ignoring case.
    std::string lower(mode);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool open = lower.find("open") != std::string::npos;
    const bool save = !open && lower.find("save") != std::string::npos;
    static const char* const kReports =
        "Rich Text Format  (*.rtf)|*.rtf"
        "|Nur Text  (*.txt)|*.txt";
    if (open && kind == 1) return lumio::detail::openFilterList();
    if ((open || save) && kind == 2) return kReports;
    if (save && kind == 1)
        return "Lumora-Datei  (*.lmx)|*.lmx"
               "|Excel-Datei  (*.csv)|*.csv"
               "|ASCII-Datei:  X,Y-Werte (*.txt,*.asc)|*.txt;*.asc"
               "|ASCII-Datei:  Y-Werte  (*.txt,*.asc)|*.txt;*.asc"
               "|Binärdatei: X,Y-Werte  (*.bin)|*.bin"
               "|Binärdatei: Y-Werte  (*.bin)|*.bin";
    if (save && kind == 3) return std::string(kReports) + "|Excel-Tabelle  (*.csv)|*.csv";
    return {};
}
