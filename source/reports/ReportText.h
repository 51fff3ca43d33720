// Drawing one report paragraph's runs with its tab stops, shared by the report view and
// report printing: each cell starts at the next tab stop right of what was drawn before it,
// so a long cell pushes the rest of its row along instead of overwriting it.
#pragma once

#include <QColor>
#include <QFont>
#include <cstddef>
#include <functional>
#include <span>

#include "lumreport/Report.h"

class QPainter;

namespace reporttext {

QColor toQColor(lumreport::Color c);

// The next stop right of `x` among `stops` (ascending, from the paragraph's left edge), then
// every `defaultTab`.
int nextTabStop(std::span<const int> stops, int defaultTab, int x);

struct RunLook {
    std::function<const QFont&(const lumreport::Style&)> font;
    std::function<QColor(const lumreport::Style&)> color;
};

// Draws paragraph `i` of `report` from `x0` on `baseline`; returns the width drawn.
int drawRuns(QPainter& painter, const lumreport::Report& report, std::size_t i, int x0,
             int baseline, std::span<const int> stops, int defaultTab, const RunLook& look);

}  // namespace reporttext
