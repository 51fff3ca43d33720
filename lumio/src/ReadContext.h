// What every reader gets: the user interface of the reading window and the record to fill,
// plus the message box and failure helpers all readers share.
#pragma once

#include <string>
#include <string_view>

#include "lumio/Outcome.h"
#include "lumio/SpectrumRecord.h"
#include "lumio/Ui.h"

namespace lumio::detail {

struct ReadContext {
    Ui& ui;
    SpectrumRecord& record;
    // A reader that serves several formats (the ASCII and binary extension entries) says
    // here which one it read; 0 means the format of the table row that ran it.
    int formatCode = 0;
};

using ReaderFn = void (*)(ReadContext&);

// Captions of the library's message boxes.
inline constexpr const char* kCaptionProduct = "Orvenit Lumora";
inline constexpr const char* kCaptionFileFormat = "Dateiformat";
inline constexpr const char* kCaptionInput = "Eingabefehler";
inline constexpr const char* kCaptionDataFormat = "Datenformat";

// A message box owned by the reading window: caption "Datenformat", the file's full path
// directly followed by the message (messages begin with two line breaks).
Answer showMessage(ReadContext& ctx, const std::string& message, Icon icon = Icon::Stop,
                   Buttons buttons = Buttons::Ok);

[[noreturn]] void fail(const char* keyword);

// The x unit an axis label or column title names ("Wavelength (nm)", "Wellenlänge [nm]",
// "Wavenumber (cm-1)", "Pixel"), as an x format code, or SXFormat::kUnitUnknown. A Raman
// shift is a wavenumber difference, not a position, and stays unknown.
int unitOfLabel(std::string_view label);

// A Windows-1252 text as UTF-8, cut to a plot title's SPlotInfo::kTitleMax bytes without
// splitting a character.
std::string plotTitleOf(std::string_view cp1252);

// Records the unit a label names, unless the record has one already.
void declareUnitOfLabel(SpectrumRecord& record, std::string_view label);

}  // namespace lumio::detail
