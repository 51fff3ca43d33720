// The run host that lumdb talks to during start-up checks and long runs: the status dialog
// with "Abbruch", message boxes through the MessageBox service, the wait cursor, the
// calling window's enabling, and the mounted removable volumes.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <memory>

#include "lumdb/RunHost.h"

class MessageBox;
class QWidget;
class SearchStatusDialog;

class QtRunHost : public lumdb::RunHost {
  public:
    // `parent` is the calling window (may be null at start-up); messages and beeps go to
    // `messages`.
    QtRunHost(QWidget* parent, MessageBox& messages);
    ~QtRunHost() override;

    void enableParent(bool enabled) override;
    void openStatus() override;
    void closeStatus() override;
    void refreshStatus(const std::string& process, const std::string& phase, std::int32_t lower,
                       std::int32_t upper) override;
    lumdb::Answer message(const std::string& text, const std::string& caption, lumdb::Icon icon,
                          lumdb::Buttons buttons, bool owned = true) override;
    void beep() override;
    void setWaitCursor(bool wait) override;
    std::vector<std::string> removableVolumes() override;

    SearchStatusDialog* statusDialog() const { return status_; }

    // Events are dispatched at most this often while a run pumps.
    static constexpr int kPumpIntervalMs = 20;

  protected:
    bool pump() override;

  private:
    QPointer<QWidget> parent_;
    MessageBox& messages_;
    SearchStatusDialog* status_ = nullptr;
    QElapsedTimer sincePump_;
    int waitCursors_ = 0;
};
