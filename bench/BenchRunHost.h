// A run host for benchmarks that behaves like the program's: pump() looks at the clock and
// would dispatch events only every ~20 ms, never aborts, and everything else does nothing.
#pragma once

#include <chrono>

#include "lumdb/RunHost.h"

namespace lumbench {

class BenchRunHost final : public lumdb::RunHost {
  public:
    long pumps = 0;
    long dispatches = 0;

    void enableParent(bool) override {}
    void openStatus() override {}
    void closeStatus() override {}
    void refreshStatus(const std::string&, const std::string&, std::int32_t,
                       std::int32_t) override {}
    lumdb::Answer message(const std::string&, const std::string&, lumdb::Icon, lumdb::Buttons,
                          bool) override {
        return lumdb::Answer::Ok;
    }

  protected:
    bool pump() override {
        ++pumps;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ >= std::chrono::milliseconds(20)) {
            last_ = now;
            ++dispatches;
        }
        return false;
    }

  private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

}  // namespace lumbench
