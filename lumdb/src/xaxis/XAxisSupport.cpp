// The x-axis helpers; see XAxisSupport.h.
#include "xaxis/XAxisSupport.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace lumdb {

void resortFoundLines(TLineArray& lines, int* selectedLine) {
    const auto byX = [](const CLine& a, const CLine& b) { return a.x < b.x; };
    if (std::is_sorted(lines.begin(), lines.end(), byX)) return;
    // A decreasing map reverses the lines; sorting an index list keeps equal positions in
    // their old order and tells where the selected line went.
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return lines[a].x < lines[b].x; });
    std::vector<CLine> sorted;
    sorted.reserve(lines.size());
    int selectedAt = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (selectedLine && static_cast<long long>(order[i]) == *selectedLine)
            selectedAt = static_cast<int>(i);
        sorted.push_back(std::move(lines[order[i]]));
    }
    std::move(sorted.begin(), sorted.end(), lines.begin());
    if (selectedLine && *selectedLine >= 0) *selectedLine = selectedAt;
}

}  // namespace lumdb
