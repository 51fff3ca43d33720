// The one ordered table of spectrum formats. Extension dispatch, the list of the format
// dialog, the open dialog's filters and their indexes all come from here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ReadContext.h"

namespace lumio::detail {

struct FormatEntry {
    int formatCode;                            // position in the format dialog's list
    const char* listEntry;                     // text of that list entry
    std::vector<std::string_view> extensions;  // upper case, matched as substrings
    // The open dialog's filter of this format, "label|patterns"; nullptr for a format that
    // shares the filter of the row above it.
    const char* openFilter;
    ReaderFn byExtension;  // the group's reader, when the extension matched
    ReaderFn byChoice;     // the reader of this format chosen in the dialog
    // Whether the first bytes of a file look like this format (nullptr: no such test; the
    // group's first row tests for all its variants).
    bool (*looksLike)(std::string_view head) = nullptr;
};

const std::vector<FormatEntry>& formatTable();
// Tests put small readers of their own into the table.
std::vector<FormatEntry>& mutableFormatTable();

// The 1-based entry of the open dialog's filter list for the row of `formatCode`: entry 1
// is "all files", and each row with a filter of its own adds the next one.
int filterIndex(int formatCode);

// The open dialog's filter list: "all files", then the rows' filters, joined by "|".
std::string openFilterList();

// The row whose extension group matches `fileName` (see ReadFileData), or nullptr.
const FormatEntry* matchExtension(std::string_view fileName);

// The first row, in table order, whose content test accepts the file's first bytes; the
// row of `skipCode` (one whose reader has refused the file already) is passed over.
// nullptr when none accepts.
const FormatEntry* matchContent(const std::string& path, int skipCode);

}  // namespace lumio::detail
