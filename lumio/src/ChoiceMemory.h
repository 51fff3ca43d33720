// The values chosen last in the track dialogs, kept while the library is loaded: each
// dialog starts with them again.
#pragma once

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

}  // namespace lumio::detail
