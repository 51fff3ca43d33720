// The spectra of one diagram: twelve records created with the window, of which the first
// `count` are live, one of them current; the pen table whose rows belong to the live
// positions; and one undo/redo history per position. Records and histories move together
// when a spectrum is closed, so no two positions ever share a history.
#pragma once

#include <array>
#include <cstddef>

#include "diagram/PenTable.h"
#include "diagram/SpectrumHistory.h"
#include "lumio/SpectrumRecord.h"

class OverlayTable {
  public:
    static constexpr std::size_t kMax = PenTable::kRows;

    std::size_t count() const { return count_; }
    bool empty() const { return count_ == 0; }
    bool full() const { return count_ == kMax; }
    // The current position; 0 while the table is empty.
    std::size_t current() const { return current_; }
    // Makes a live position current; false (and nothing changes) for any other.
    bool setCurrent(std::size_t position);

    SpectrumRecord& record(std::size_t position) { return records_.at(position); }
    const SpectrumRecord& record(std::size_t position) const { return records_.at(position); }
    SpectrumRecord& currentRecord() { return records_.at(current_); }
    const SpectrumRecord& currentRecord() const { return records_.at(current_); }
    SpectrumHistory& history(std::size_t position) { return histories_.at(position); }
    const SpectrumHistory& history(std::size_t position) const { return histories_.at(position); }
    SpectrumHistory& currentHistory() { return histories_.at(current_); }
    const SpectrumHistory& currentHistory() const { return histories_.at(current_); }
    const PenTable& pens() const { return pens_; }

    // Sets up the first free record for a reader to fill: its marker pens and its own plot
    // description with the curve pens of its pen row. Null when the table is full.
    SpectrumRecord* prepareNext();
    // The prepared record was filled: it becomes live and current.
    void commitNext();
    // The prepared record could not be filled: it is released again, nothing else changes.
    void abandonNext();

    // Closes the current spectrum: its pen row goes to the end, the spectra after it move up
    // with their histories, and the one after it (or, for the last, the one before) becomes
    // current. Does nothing on an empty table.
    void closeCurrent();
    // Closes every spectrum but the first, which becomes current.
    void closeOverlays();

  private:
    void release(std::size_t position);

    std::array<SpectrumRecord, kMax> records_{};
    std::array<SpectrumHistory, kMax> histories_{};
    PenTable pens_;
    std::size_t count_ = 0;
    std::size_t current_ = 0;
};
