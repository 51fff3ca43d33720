// The undo and redo history of one spectrum of a diagram.
//
// An entry is the text of a private message that restores a state ("1214,400,800,0,1000":
// message number, then its values) together with a snapshot of line records that the
// message needs (the lines an addition or deletion touched). Undo sends the newest undo
// text to its handler, which applies it and answers the text that restores what it replaced;
// that answer becomes the newest redo entry and takes the snapshot along, so undo and redo
// can alternate any number of times. Each stack holds at most twelve entries.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lumdb/Records.h"

struct HistorySnapshot {
    TLineArray lines;
    TSearchEngineLineArray databaseLines;
    std::vector<float> x;  // the x values an x-format change replaced, one per point
    void clear() {
        lines.clear();
        databaseLines.clear();
        x.clear();
    }
    bool empty() const { return lines.empty() && databaseLines.empty() && x.empty(); }
};

class SpectrumHistory {
  public:
    static constexpr std::size_t kDepth = 12;

    // Records the text that restores the state about to change, with an empty snapshot the
    // caller may fill; at kDepth entries the oldest goes. Empties the redo stack.
    HistorySnapshot& push(std::string restoreText);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }
    // The newest entries; only while the stack is not empty.
    const std::string& undoText() const { return undo_.back().text; }
    const std::string& redoText() const { return redo_.back().text; }
    const HistorySnapshot& undoSnapshot() const { return undo_.back().snapshot; }
    const HistorySnapshot& redoSnapshot() const { return redo_.back().snapshot; }
    HistorySnapshot& undoSnapshot() { return undo_.back().snapshot; }
    HistorySnapshot& redoSnapshot() { return redo_.back().snapshot; }

    // The newest undo entry was applied: it leaves the undo stack, and `inverse` with the
    // entry's snapshot becomes the newest redo entry. `redone` is the mirror image.
    void undone(std::string inverse);
    void redone(std::string inverse);

    // Every snapshot of both stacks, for a change to lines that they hold copies of.
    template <class Visit>
    void forEachSnapshot(Visit visit) {
        for (Entry& entry : undo_) visit(entry.snapshot);
        for (Entry& entry : redo_) visit(entry.snapshot);
    }

    // Empties both stacks with their snapshots.
    void flush();

  private:
    struct Entry {
        std::string text;
        HistorySnapshot snapshot;
    };
    static void move(std::deque<Entry>& from, std::deque<Entry>& to, std::string inverse);

    std::deque<Entry> undo_;
    std::deque<Entry> redo_;
};

// Undo texts. Values are written as the shortest text that reads back as the same float, so
// undo restores a range or a transform exactly.
std::string UndoText(unsigned message, std::span<const float> values);
// The message number of an undo text: the decimal number before the first comma.
std::optional<unsigned> UndoMessage(std::string_view text);
// The values after the message number; nullopt unless there are exactly `count` numbers.
std::optional<std::vector<float>> UndoValues(std::string_view text, std::size_t count);

// The private messages a window re-applies undo texts with. A handler gets the text, the
// entry's snapshot and 0 (an undo text) or 1 (a redo text), applies them and returns the
// text that restores the state it replaced. A handler that restores data kept in the
// snapshot may exchange it there for the data it replaces, which then travels with the
// inverse text.
class MessageRegistry {
  public:
    using Handler = std::function<std::string(const std::string& text, HistorySnapshot& snapshot,
                                              int parameter)>;

    void add(unsigned message, Handler handler) { handlers_[message] = std::move(handler); }
    bool handles(unsigned message) const { return handlers_.count(message) != 0; }

    // Undo and redo of the newest entry of `history` through its message's handler. False,
    // with the history untouched, when the stack is empty or no handler is registered for the
    // text's message.
    bool undo(SpectrumHistory& history) const;
    bool redo(SpectrumHistory& history) const;

  private:
    const Handler* handlerFor(const std::string& text) const;
    std::map<unsigned, Handler> handlers_;
};
