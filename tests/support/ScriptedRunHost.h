// A lumdb run host for tests: records every status refresh and message, answers message
// boxes from a queue, and can press "Abbruch" after a given number of pumps.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "lumdb/RunHost.h"

namespace lumtest {

class ScriptedRunHost : public lumdb::RunHost {
  public:
    struct Message {
        std::string text;
        std::string caption;
        lumdb::Icon icon;
        lumdb::Buttons buttons;
        bool owned;
    };
    struct Refresh {
        std::string process;
        std::string phase;
        std::int32_t lower;
        std::int32_t upper;
    };

    std::vector<Message> messages;
    std::vector<Refresh> refreshes;
    std::deque<lumdb::Answer> answers;  // popped per message; Ok / Yes when empty
    long pumps = 0;
    long abortAfterPumps = -1;  // >= 0: "Abbruch" is pressed once this many pumps ran
    int beeps = 0;
    int parentDisabled = 0;  // +1 per disable, -1 per enable: 0 again after a run
    int statusOpen = 0;
    bool parentEverDisabled = false;

    void enableParent(bool enabled) override {
        parentDisabled += enabled ? -1 : 1;
        if (!enabled) parentEverDisabled = true;
    }
    void openStatus() override { ++statusOpen; }
    void closeStatus() override { --statusOpen; }
    void refreshStatus(const std::string& process, const std::string& phase, std::int32_t lower,
                       std::int32_t upper) override {
        refreshes.push_back({process, phase, lower, upper});
    }
    lumdb::Answer message(const std::string& text, const std::string& caption, lumdb::Icon icon,
                          lumdb::Buttons buttons, bool owned) override {
        messages.push_back({text, caption, icon, buttons, owned});
        if (answers.empty())
            return buttons == lumdb::Buttons::YesNo ? lumdb::Answer::Yes : lumdb::Answer::Ok;
        const auto a = answers.front();
        answers.pop_front();
        return a;
    }
    void beep() override { ++beeps; }

  protected:
    bool pump() override {
        ++pumps;
        return abortAfterPumps >= 0 && pumps >= abortAfterPumps;
    }
};

}  // namespace lumtest
