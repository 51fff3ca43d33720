// The run state of smoothing and line search (progress dialog, abort flag, parent window).
#include "analysis/RunState.h"

namespace lumdb::analysis {

RunState::RunState(RunHost& host) : host_(host) {
    host_.openStatus();
    host_.resetAbort();
    host_.enableParent(false);
}

RunState::~RunState() {
    host_.enableParent(true);
    host_.closeStatus();
}

void RunState::phase(const std::string& process, const std::string& phaseCaption,
                     std::int32_t lower, std::int32_t upper) {
    process_ = process;
    phase_ = phaseCaption;
    lower_ = lower;
    upper_ = upper;
    host_.refreshStatus(process_, phase_, lower_, upper_);
}

void RunState::phase(const std::string& process, const std::string& phaseCaption) {
    phase(process, phaseCaption, lower_, upper_);
}

void RunState::range(std::int32_t lower, std::int32_t upper) {
    phase(process_, phase_, lower, upper);
}

void RunState::stopMessage(const std::string& text, const std::string& caption) {
    host_.message(text, caption, Icon::Stop, Buttons::Ok, true);
}

}  // namespace lumdb::analysis
