// Reading one spectrum file for a subcommand: ReadFileData with the scripted answers, its
// failures turned into the outcome keyword and a German message that says what to do.
#pragma once

#include <memory>
#include <string>

#include "CliUi.h"
#include "FileFailure.h"
#include "lumdb/XAxis.h"
#include "lumio/SpectrumRecord.h"

namespace lumcli {

struct LoadedSpectrum {
    std::unique_ptr<SpectrumRecord> record;
    int filterIndex = 0;
    int formatCode = 0;                     // position of the format read in the format list
    lumdb::XFormatRecognition recognition;  // the x unit as read, before any conversion
};

// Reads the file, recognises its x unit and converts its x as --x-unit, --calibrate and
// --dispersion say. Throws FileFailure.
LoadedSpectrum readSpectrum(CliUi& ui, const std::string& path);

// The German text the program shows for an outcome keyword.
std::string keywordMessage(const std::string& keyword);

}  // namespace lumcli
