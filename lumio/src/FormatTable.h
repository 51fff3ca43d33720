// The one ordered table of spectrum formats. Extension dispatch, the list of the format
// dialog and the filter indexes all come from here.
#pragma once

#include <string_view>
#include <vector>

#include "ReadContext.h"

namespace lumio::detail {

struct FormatEntry {
    int formatCode;                           // position in the format dialog's list
    const char* listEntry;                    // text of that list entry
    std::vector<std::string_view> extensions; // upper case, matched as substrings
    const char* existenceMode;                // "r+t", "r+b", or nullptr (no extension group); the test itself only reads
    int filterIndex;                          // 1-based entry of the open filter list
    ReaderFn byExtension;                     // the group's reader, when the extension matched
    ReaderFn byChoice;                        // the reader of this format chosen in the dialog
};

const std::vector<FormatEntry>& formatTable();
// Tests put small readers of their own into the table.
std::vector<FormatEntry>& mutableFormatTable();

// The row whose extension group matches `fileName` (see ReadFileData), or nullptr.
const FormatEntry* matchExtension(std::string_view fileName);

}  // namespace lumio::detail
