// One window's commands: run, enabled and checked by id.
#include "app/CommandTable.h"

CommandTable& CommandTable::add(int id, Run run, State enabled, State checked) {
    entries_[id] = Entry{std::move(run), std::move(enabled), std::move(checked)};
    return *this;
}

bool CommandTable::isEnabled(int id) const {
    const auto it = entries_.find(id);
    return it != entries_.end() && (!it->second.enabled || it->second.enabled());
}

bool CommandTable::isChecked(int id) const {
    const auto it = entries_.find(id);
    return it != entries_.end() && it->second.checked && it->second.checked();
}

bool CommandTable::run(int id) const {
    if (!isEnabled(id)) return false;
    const Entry& entry = entries_.at(id);
    if (entry.run) entry.run();
    return true;
}

std::vector<int> CommandTable::ids() const {
    std::vector<int> out;
    out.reserve(entries_.size());
    for (const auto& [id, entry] : entries_) out.push_back(id);
    return out;
}
