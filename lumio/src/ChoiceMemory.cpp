// Storage of the last dialog choices.
#include "ChoiceMemory.h"

namespace lumio::detail {

int& lastChosenTrack() {
    static int track = 0;
    return track;
}

Ui::FrameStrip& lastChosenFrameStrip() {
    static Ui::FrameStrip choice{0, 0};
    return choice;
}

}  // namespace lumio::detail
