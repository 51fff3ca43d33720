// The commands a window answers, declared in one table: for each command id what it runs,
// when it is enabled and when it is checked. The frame asks the table of the object a menu
// item is routed to, so no window needs a switch over command ids.
#pragma once

#include <functional>
#include <map>
#include <vector>

class CommandTable {
  public:
    using Run = std::function<void()>;
    using State = std::function<bool()>;

    // Declares `id`: `enabled` empty means always enabled, `checked` empty means never
    // checked. A second declaration of an id replaces the first.
    CommandTable& add(int id, Run run, State enabled = {}, State checked = {});

    bool contains(int id) const { return entries_.count(id) != 0; }
    // False for an id the table does not hold.
    bool isEnabled(int id) const;
    bool isChecked(int id) const;
    // Runs the command when the table holds it and it is enabled; whether it ran.
    bool run(int id) const;
    // The declared ids, ascending.
    std::vector<int> ids() const;

  private:
    struct Entry {
        Run run;
        State enabled;
        State checked;
    };
    std::map<int, Entry> entries_;
};
