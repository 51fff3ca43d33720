// Writing a spectrum for convert, smooth, combine and identify -o, and the one result row
// these report per written file.
#pragma once

#include <cstddef>
#include <string>

#include "CliUi.h"
#include "ResultOutput.h"
#include "lumio/SpectrumRecord.h"

namespace lumcli {

// WriteFileData with `type` to `target`; returns the name written (with the extension the
// type appends when missing). Throws FileFailure when the file could not be written.
std::string writeSpectrum(CliUi& ui, SpectrumRecord& record, const std::string& target, int type);

// The type's short name as --type takes it.
const char* typeName(int type);

// Columns path, output, type, points.
void setWrittenColumns(ResultOutput& out);
void reportWritten(ResultOutput& out, const std::string& input, const std::string& written,
                   int type, std::size_t points);

}  // namespace lumcli

namespace lumcli {

// The record's x and y ranges from its points, as a reader sets them.
void setRanges(SpectrumRecord& record);

}  // namespace lumcli
