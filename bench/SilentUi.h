// A lumio::Ui that answers nothing, for benchmarks whose files need no dialog.
#pragma once

#include "lumio/Ui.h"

namespace lumbench {

// Answers nothing; the bench files need no dialog.
class SilentUi : public lumio::Ui {
  public:
    lumio::Answer message(const std::string&, const std::string&, lumio::Icon,
                          lumio::Buttons) override {
        return lumio::Answer::Ok;
    }
    std::optional<int> chooseFormat(const std::string&, const std::vector<std::string>&,
                                    int) override {
        return std::nullopt;
    }
    std::optional<int> chooseTrack(const std::string&, int, int) override { return std::nullopt; }
    std::optional<FrameStrip> chooseFrameStrip(const std::string&, int, int, FrameStrip) override {
        return std::nullopt;
    }
    std::optional<lumio::MapsChoice> chooseMaps(const std::string&, lumio::MapsChoice,
                                                lumio::MapsChoice) override {
        return std::nullopt;
    }
    std::optional<int> chooseColumn(const std::string&, const std::vector<std::string>&,
                                    int) override {
        return std::nullopt;
    }
};

}  // namespace lumbench
