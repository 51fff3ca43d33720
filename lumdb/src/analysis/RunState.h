// The state of one smoothing or line-search run: the progress dialog (SearchStatusDialog,
// shown by the run host) with its two captions and progress range, the abort flag, and the
// disabled parent window. One object lives for exactly one run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lumdb/RunHost.h"

namespace lumdb::analysis {

class RunState {
  public:
    // Shows the progress dialog (which clears the abort flag) and disables the parent.
    explicit RunState(RunHost& host);
    // Enables the parent again and closes the dialog, also when a run ends by an exception.
    ~RunState();
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;

    // A new phase: both captions and the progress range, written to the dialog at once.
    void phase(const std::string& process, const std::string& phaseCaption, std::int32_t lower,
               std::int32_t upper);
    // A new phase that keeps the progress range the previous one left.
    void phase(const std::string& process, const std::string& phaseCaption);
    // A new progress range under the current captions.
    void range(std::int32_t lower, std::int32_t upper);

    // One progress step; true when the run is to stop ("Abbruch" or an earlier failure).
    bool step(std::int32_t position) {
        if (aborted_) return true;
        aborted_ = host_.step(position);
        return aborted_;
    }
    // `count` steps at once, with at most one pump.
    bool steps(std::int32_t count, std::int32_t position) {
        if (aborted_) return true;
        aborted_ = host_.steps(count, position);
        return aborted_;
    }

    bool aborted() const { return aborted_; }
    // A failure ends the run as if "Abbruch" had been pressed.
    void abort() { aborted_ = true; }

    // A stop-icon message box owned by the parent window.
    void stopMessage(const std::string& text, const std::string& caption);

    RunHost& host() { return host_; }

    // A work array of n floats shared by the passes of a run, so that every pass does not
    // map fresh memory for its output.
    std::vector<float>& scratch(std::size_t n) {
        scratch_.resize(n);
        return scratch_;
    }

    // Tight loops report their progress in blocks of this many points: a pump per block
    // (a few microseconds of work) keeps "Abbruch" immediate and the pump out of the timing.
    static constexpr std::int32_t kProgressBlock = 1024;

  private:
    RunHost& host_;
    std::string process_;
    std::string phase_;
    std::int32_t lower_ = 0;
    std::int32_t upper_ = 0;
    bool aborted_ = false;
    std::vector<float> scratch_;
};

}  // namespace lumdb::analysis
