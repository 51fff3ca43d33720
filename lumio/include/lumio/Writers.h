// Writing a spectrum: the native file and the data exports.
#pragma once

#include "lumio/SpectrumRecord.h"
#include "lumio/Ui.h"
#include "lumio/lumio_export.h"

// Writes `record` to record.fileName as file type `type`, numbered like the save filter
// list: 1 native (.lmx), 2 CSV table (.csv), 3 ASCII x,y and 4 ASCII y (.txt/.asc),
// 5 binary x,y and 6 binary y (.bin). The type's extension is appended to record.fileName
// when the name lacks it. Points are written with rising x. A target that cannot be opened
// for writing is reported to the user through `owner` and the call returns normally; so is
// a file that could not be written completely. Throws std::invalid_argument for a type
// outside 1..6.
LUMIO_EXPORT void WriteFileData(lumio::Ui& owner, SpectrumRecord& record, int type);
