// Writing a spectrum: the native file and the data exports.
#pragma once

#include "lumio/SpectrumRecord.h"
#include "lumio/Ui.h"
#include "lumio/lumio_export.h"

namespace lumio {

// Done: the file is complete on disk. Failed: nothing was saved, the file that was there
// before is unchanged, and the user has been told through the Ui.
enum class WriteResult { Done, Failed };

}  // namespace lumio

// Writes `record` to record.fileName as file type `type`, numbered like the save filter
// list: 1 native (.lmx), 2 CSV table (.csv), 3 ASCII x,y and 4 ASCII y (.txt/.asc),
// 5 binary x,y and 6 binary y (.bin). The type's extension is appended to record.fileName
// when the name lacks it. Points are written with rising x. The bytes go to a temporary
// file beside the target, which replaces the target only once it is complete and flushed.
// A temporary file that cannot be created ("kann nicht zum Schreiben geöffnet werden") or
// a write that fails ("konnte nicht geschrieben werden") is reported through `owner` and
// returns Failed. Throws std::invalid_argument for a type outside 1..6.
[[nodiscard]] LUMIO_EXPORT lumio::WriteResult WriteFileData(lumio::Ui& owner,
                                                            SpectrumRecord& record, int type);
