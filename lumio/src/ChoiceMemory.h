// The values chosen last in the track dialogs, kept while the library is loaded: each
// dialog starts with them again.
#pragma once

#include <string>
#include <vector>

#include "lumio/Ui.h"

namespace lumio::detail {

// SelectTraceDialog's last track (0 before the first choice).
int& lastChosenTrack();
// SelectWinSpecTraceDialog's last frame and strip.
Ui::FrameStrip& lastChosenFrameStrip();

// The entry a dialog starts with: the last value, or 1 when that lies outside 1..count.
inline int initialChoice(int last, int count) {
    return (last < 1 || last > count) ? 1 : last;
}

struct ReadContext;

// Asks which of the value columns `names` to read, starting with the one chosen last in
// `lastChosen` (a reader's own memory, -1 before its first choice) or else `initial`. The
// file name gets " #<name>"; returns the chosen column's field index (the x column is 0).
// Cancelling fails with CancelOpenFile.
std::size_t chooseValueColumn(ReadContext& ctx, const std::vector<std::string>& names, int initial,
                              int& lastChosen);

}  // namespace lumio::detail
