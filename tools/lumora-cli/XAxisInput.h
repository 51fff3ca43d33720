// The x axis of every file read: --x-unit, --calibrate and --dispersion read from the
// command line, and the recognition and conversion into nanometres after each read.
#pragma once

#include "CliUi.h"
#include "CommandLine.h"
#include "lumio/SpectrumRecord.h"

namespace lumcli {

// Throws UsageError.
XAxisAnswer xAxisAnswerFrom(const CommandLine& line);

// The unit name of an x format code: nm, angstrom, pixel, wavenumber; "unknown" otherwise.
const char* xUnitName(int formatCode);

// Records the recognised unit in the x-format block and the axis texts, then converts as
// `answer` says. Throws FileFailure when the values cannot be converted.
void convertXAxis(const XAxisAnswer& answer, const lumdb::XFormatRecognition& recognised,
                  SpectrumRecord& record);

}  // namespace lumcli
