// Storage of the last dialog choices.
#include "ChoiceMemory.h"

#include "ReadContext.h"
#include "lumio/Outcome.h"

namespace lumio::detail {

int& lastChosenTrack() {
    static int track = 0;
    return track;
}

Ui::FrameStrip& lastChosenFrameStrip() {
    static Ui::FrameStrip choice{0, 0};
    return choice;
}

std::size_t chooseValueColumn(ReadContext& ctx, const std::vector<std::string>& names, int initial,
                              int& lastChosen) {
    const int count = static_cast<int>(names.size());
    if (lastChosen >= 0 && lastChosen < count) initial = lastChosen;
    const auto chosen = ctx.ui.chooseColumn(ctx.record.fileName, names, initial);
    if (!chosen) fail(keyword::CancelOpenFile);
    if (*chosen < 0 || *chosen >= count) fail(keyword::UnknownFormat);
    lastChosen = *chosen;
    ctx.record.fileName += " #" + names[static_cast<std::size_t>(*chosen)];
    return static_cast<std::size_t>(*chosen) + 1;
}

}  // namespace lumio::detail
