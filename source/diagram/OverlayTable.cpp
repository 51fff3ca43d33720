#include "diagram/OverlayTable.h"

#include <algorithm>

#include "lumgl/lumgl.h"

bool OverlayTable::setCurrent(std::size_t position) {
    if (position >= count_) return false;
    current_ = position;
    return true;
}

SpectrumRecord* OverlayTable::prepareNext() {
    if (full()) return nullptr;
    const std::size_t p = count_;
    SpectrumRecord& r = records_[p];
    r = SpectrumRecord{};
    const PenTable::Row& row = pens_.row(p);
    std::copy(row.begin() + PenTable::FirstMarker, row.end(), r.axisText.markerPens.begin());
    MakePlotInfoStruct(r.plotInfo, true);
    r.plotInfo.curvePen = row[PenTable::Curve];
    r.plotInfo.framePen = row[PenTable::BlackCurve];
    histories_[p].flush();
    return &r;
}

void OverlayTable::commitNext() {
    if (full()) return;
    current_ = count_++;
}

void OverlayTable::abandonNext() {
    if (!full()) release(count_);
}

void OverlayTable::release(std::size_t position) {
    records_[position] = SpectrumRecord{};
    histories_[position].flush();
}

void OverlayTable::closeCurrent() {
    if (count_ == 0) return;
    const std::size_t closed = current_;
    pens_.moveToEnd(closed);
    release(closed);
    // The freed record and its emptied history go behind the live ones.
    const auto shift = [&](auto& table) {
        std::rotate(table.begin() + static_cast<std::ptrdiff_t>(closed),
                    table.begin() + static_cast<std::ptrdiff_t>(closed) + 1,
                    table.begin() + static_cast<std::ptrdiff_t>(count_));
    };
    shift(records_);
    shift(histories_);
    --count_;
    if (current_ >= count_) current_ = count_ == 0 ? 0 : count_ - 1;
}

void OverlayTable::closeOverlays() {
    for (std::size_t p = count_; p-- > 1;) {
        pens_.moveToEnd(p);
        release(p);
    }
    if (count_ > 1) count_ = 1;
    current_ = 0;
}
