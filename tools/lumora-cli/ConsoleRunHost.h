// The run host of lumdb for a console: no progress output (unless asked for), messages to
// stderr (a stop message only through the failure the command reports), and answers that
// never wait for anybody: OK and Yes, but Cancel where the library asks for a database disc
// to be inserted, so a batch run ends instead of blocking.
#pragma once

#include <iosfwd>
#include <string>

#include "lumdb/RunHost.h"

namespace lumcli {

class ConsoleRunHost : public lumdb::RunHost {
  public:
    explicit ConsoleRunHost(std::ostream& err, bool showProgress = false);

    // Why a run returned 0: the last message the library showed (one line, without
    // caption), or `fallback` when it showed none since clearLastMessage().
    std::string failureText(const char* fallback) const {
        return lastMessage_.empty() ? fallback : lastMessage_;
    }
    void clearLastMessage() { lastMessage_.clear(); }
    // A database file was refused as damaged, or lines of one were passed over: the run went
    // on without them, so its result is incomplete.
    bool databaseDamaged() const { return databaseDamaged_; }

    void enableParent(bool) override {}
    void openStatus() override {}
    void closeStatus() override;
    void refreshStatus(const std::string& process, const std::string& phase, std::int32_t lower,
                       std::int32_t upper) override;
    lumdb::Answer message(const std::string& text, const std::string& caption, lumdb::Icon icon,
                          lumdb::Buttons buttons, bool owned) override;

  protected:
    bool pump() override;

  private:
    std::ostream& err_;
    bool showProgress_;
    std::string process_;
    std::string phase_;
    std::int32_t upper_ = 0;
    int shownPercent_ = -1;
    std::string lastMessage_;
    bool databaseDamaged_ = false;
};

}  // namespace lumcli
