// lumio: spectrum files in and out. The entry points are exported under their plain names.
#pragma once

#include <string>
#include <vector>

#include "lumio/Outcome.h"
#include "lumio/SpectrumRecord.h"
#include "lumio/Ui.h"
#include "lumio/Writers.h"
#include "lumio/lumio_export.h"

LUMIO_EXPORT const char* LumioVersion();

// Reads record.fileName into record, choosing the reader by extension or through the
// format dialog. `preselect` is the filter index stored last; it only sets the dialog's
// first selection. Returns the filter index of the format read; throws lumio::Outcome.
LUMIO_EXPORT int ReadFileData(lumio::Ui& owner, SpectrumRecord& record, int preselect);

// The same, telling also which format was read: the format code (the 1-based position in
// the format dialog's list), which the filter index alone cannot tell for the formats that
// share one extension (ASCII x,y or y, binary x,y or y).
LUMIO_EXPORT int ReadFileData(lumio::Ui& owner, SpectrumRecord& record, int preselect,
                              int& formatCodeRead);

// The entries of the format dialog's list, in format-code order.
LUMIO_EXPORT std::vector<std::string> GetFormatList();

// 1 when the x values are not strictly monotonic (a falling step in rising data, a rising
// step in falling data, or three equal x in a row), else 0.
LUMIO_EXPORT int CheckXData(const SpectrumRecord& record);

// The filter of a file dialog: `mode` contains "open" or "save", `kind` is 1, 2 or 3.
LUMIO_EXPORT std::string GetFilterString(const std::string& mode, int kind);

namespace lumio {
// The path as the choice dialogs show it: a path of more than 45 characters becomes its
// text up to and including the first separator, "...", and its text from the last
// separator on.
LUMIO_EXPORT std::string shortenedPath(const std::string& path);
}  // namespace lumio
