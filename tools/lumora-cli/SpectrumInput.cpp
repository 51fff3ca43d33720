// Reading spectra for the subcommands; see SpectrumInput.h.
#include "SpectrumInput.h"

#include "XAxisInput.h"
#include "lumio/lumio.h"

namespace lumcli {

std::string keywordMessage(const std::string& keyword) {
    if (keyword == lumio::keyword::NoFile)
        return "Datei existiert nicht oder der Pfadname hat sich geändert!";
    if (keyword == lumio::keyword::NullFile) return "In der Datei befinden sich keine Daten!";
    if (keyword == lumio::keyword::UnknownFormat) return "Die Datei hat ein unbekannntes Format!";
    if (keyword == lumio::keyword::DataNumberOverflow) return "Die Datenanzahl ist zu groß!";
    return "Das Öffnen der Datei wurde abgebrochen.";
}

LoadedSpectrum readSpectrum(CliUi& ui, const std::string& path) {
    ui.beginFile();
    LoadedSpectrum loaded;
    loaded.record = std::make_unique<SpectrumRecord>();
    loaded.record->fileName = path;
    try {
        loaded.filterIndex = ReadFileData(ui, *loaded.record, 1, loaded.formatCode);
    } catch (const lumio::Outcome& e) {
        const std::string keyword = e.keyword();
        // A cancelled read was explained by a message or by the missing choice; the other
        // keywords have the program's own texts.
        std::string message = keywordMessage(keyword);
        if (keyword == lumio::keyword::CancelOpenFile && !ui.failureNote().empty())
            message = ui.failureNote();
        ui.flushWarnings(message);
        throw FileFailure(keyword, message);
    } catch (const std::bad_alloc&) {
        ui.flushWarnings();
        throw FileFailure("Error", "Nicht genügend Speicher zum Lesen der Datei.");
    } catch (const std::exception& e) {
        ui.flushWarnings();
        throw FileFailure("Error", std::string("Fehler beim Öffnen der Datei! ") + e.what());
    }
    // The file opened: what the reader said (replaced intensities, for example) is a warning.
    ui.flushWarnings();
    SpectrumRecord& r = *loaded.record;
    loaded.recognition = lumdb::recogniseXFormat(r.points, r.xFormat.fileUnit);
    convertXAxis(ui.answers().xAxis, loaded.recognition, r);
    return loaded;
}

}  // namespace lumcli
