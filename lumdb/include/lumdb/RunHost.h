// What lumdb asks of its caller during a run: the progress dialog with "Abbruch"
// (SearchStatusDialog), message boxes, the beep, and disabling the parent window.
// The program implements it with Qt; tests and the command-line tool with scripted answers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumdb {

enum class Icon { Stop, Exclamation, Information, Question };
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

class RunHost {
  public:
    virtual ~RunHost() = default;

    // The calling window: disabled for the length of a run, enabled (and raised) after it.
    virtual void enableParent(bool enabled) = 0;

    // SearchStatusDialog: shown at the start of a run, destroyed at its end.
    virtual void openStatus() = 0;
    virtual void closeStatus() = 0;
    // "refresh": process caption, phase caption and the progress range.
    virtual void refreshStatus(const std::string& process, const std::string& phase,
                               std::int32_t lower, std::int32_t upper) = 0;

    // A message box. `owned` is false for the few boxes the library shows without an owner.
    virtual Answer message(const std::string& text, const std::string& caption, Icon icon,
                           Buttons buttons, bool owned = true) = 0;
    virtual void beep() {}
    // Hourglass during long work; the arrow again when it ends.
    virtual void setWaitCursor(bool /*wait*/) {}

    // Root folders of the mounted removable and optical volumes, in a stable order (the
    // places where a database disc may lie). Asked again after every prompt to insert one.
    virtual std::vector<std::string> removableVolumes() { return {}; }

    // One step of a run: records the progress position and tells whether "Abbruch" was
    // pressed. Loops call it per point, so it must cost next to nothing: only every
    // kPumpStride-th call reaches pump(), which dispatches the waiting events (a GUI host
    // also throttles that to every ~20 ms) and reports the abort request. The button can
    // only be pressed while events are dispatched, so no abort is noticed later than that.
    bool step(std::int32_t position) {
        position_ = position;
        if (--countdown_ > 0) return abortRequested_;
        countdown_ = kPumpStride;
        abortRequested_ = pump();
        return abortRequested_;
    }
    // `count` steps at once, for loops that compute their points in blocks so that the
    // arithmetic stays vectorised. For count <= kPumpStride it pumps exactly when `count`
    // calls of step() would have, so a block of at most kPumpStride points notices
    // "Abbruch" as early as stepping point by point does.
    bool steps(std::int32_t count, std::int32_t position) {
        position_ = position;
        countdown_ -= count;
        if (countdown_ > 0) return abortRequested_;
        while (countdown_ <= 0) countdown_ += kPumpStride;
        abortRequested_ = pump();
        return abortRequested_;
    }
    // Pumps at once, regardless of the stride (used between phases and per file).
    bool pumpNow() {
        countdown_ = kPumpStride;
        abortRequested_ = pump();
        return abortRequested_;
    }
    // Cleared when a run starts.
    void resetAbort() {
        abortRequested_ = false;
        countdown_ = 1;
    }
    std::int32_t position() const { return position_; }

    static constexpr int kPumpStride = 64;

  protected:
    // Dispatch waiting events, show position(), return true when the user asked to abort.
    virtual bool pump() = 0;

  private:
    std::int32_t position_ = 0;
    int countdown_ = 1;
    bool abortRequested_ = false;
};

}  // namespace lumdb
