#include "diagram/PenTable.h"

#include <algorithm>

PenTable::PenTable() {
    // The black/white curves of neighbouring positions differ by dash style; the five
    // styles repeat from the sixth row on.
    static constexpr PenStyle kStyles[] = {PenStyle::Solid, PenStyle::Dot, PenStyle::Dash,
                                           PenStyle::DashDot, PenStyle::DashDotDot};
    const TColor black = kDiagramPalette[0];
    const TColor lightGrey = kDiagramPalette[2];
    for (std::size_t k = 0; k < kRows; ++k) {
        const PenStyle style = kStyles[k % std::size(kStyles)];
        rows_[k] = Row{SPenDesc{lumgl::OverlayColor(k), 1, PenStyle::Solid},
                       SPenDesc{black, 1, style},
                       SPenDesc{black, 1, PenStyle::Solid},
                       SPenDesc{black, 1, PenStyle::Solid},
                       SPenDesc{lightGrey, 1, PenStyle::Solid},
                       SPenDesc{lightGrey, 1, style}};
    }
}

void PenTable::moveToEnd(std::size_t position) {
    if (position >= kRows) return;
    std::rotate(rows_.begin() + static_cast<std::ptrdiff_t>(position),
                rows_.begin() + static_cast<std::ptrdiff_t>(position) + 1, rows_.end());
}
