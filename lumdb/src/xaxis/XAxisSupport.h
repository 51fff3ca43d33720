// Shared by the x-axis computations: found lines sorted again after an x change, and the
// float range every result must stay in.
#pragma once

#include "lumdb/Records.h"

namespace lumdb {

// Sorts `lines` by position again after their x changed; lines at the same position keep
// their order. `selectedLine` (an index, negative for none) moves with its line.
void resortFoundLines(TLineArray& lines, int* selectedLine);

// Largest magnitude a float holds; a double beyond it has no float.
inline bool fitsFloat(double v) {
    return v >= -3.4028234663852886e38 && v <= 3.4028234663852886e38;
}

}  // namespace lumdb
