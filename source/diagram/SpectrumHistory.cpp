#include "diagram/SpectrumHistory.h"

#include <charconv>

#include "lumcore/Printf.h"

HistorySnapshot& SpectrumHistory::push(std::string restoreText) {
    if (undo_.size() >= kDepth) undo_.pop_front();
    undo_.push_back(Entry{std::move(restoreText), {}});
    redo_.clear();
    return undo_.back().snapshot;
}

void SpectrumHistory::move(std::deque<Entry>& from, std::deque<Entry>& to, std::string inverse) {
    if (from.empty()) return;
    Entry entry = std::move(from.back());
    from.pop_back();
    entry.text = std::move(inverse);
    // Both stacks together never hold more than kDepth entries: a push empties the redo
    // stack, and undo and redo only move entries across.
    to.push_back(std::move(entry));
}

void SpectrumHistory::undone(std::string inverse) {
    move(undo_, redo_, std::move(inverse));
}

void SpectrumHistory::redone(std::string inverse) {
    move(redo_, undo_, std::move(inverse));
}

void SpectrumHistory::flush() {
    undo_.clear();
    redo_.clear();
}

std::string UndoText(unsigned message, std::span<const float> values) {
    std::string text = std::to_string(message);
    for (float v : values) {
        text += ',';
        text += lumcore::shortestFloat(v);
    }
    return text;
}

std::optional<unsigned> UndoMessage(std::string_view text) {
    const std::string_view head = text.substr(0, text.find(','));
    unsigned message = 0;
    const auto [end, error] = std::from_chars(head.data(), head.data() + head.size(), message);
    if (error != std::errc{} || end != head.data() + head.size() || head.empty())
        return std::nullopt;
    return message;
}

std::optional<std::vector<float>> UndoValues(std::string_view text, std::size_t count) {
    std::vector<float> values;
    std::size_t comma = text.find(',');
    while (comma != std::string_view::npos) {
        const std::size_t next = text.find(',', comma + 1);
        const std::string_view field = text.substr(comma + 1, next - comma - 1);
        float v = 0.0f;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), v);
        if (field.empty() || error != std::errc{} || end != field.data() + field.size())
            return std::nullopt;
        values.push_back(v);
        comma = next;
    }
    if (values.size() != count) return std::nullopt;
    return values;
}

const MessageRegistry::Handler* MessageRegistry::handlerFor(const std::string& text) const {
    const std::optional<unsigned> message = UndoMessage(text);
    if (!message) return nullptr;
    const auto it = handlers_.find(*message);
    return it == handlers_.end() ? nullptr : &it->second;
}

bool MessageRegistry::undo(SpectrumHistory& history) const {
    if (!history.canUndo()) return false;
    const Handler* handler = handlerFor(history.undoText());
    if (!handler) return false;
    history.undone((*handler)(history.undoText(), history.undoSnapshot(), 0));
    return true;
}

bool MessageRegistry::redo(SpectrumHistory& history) const {
    if (!history.canRedo()) return false;
    const Handler* handler = handlerFor(history.redoText());
    if (!handler) return false;
    history.redone((*handler)(history.redoText(), history.redoSnapshot(), 1));
    return true;
}
