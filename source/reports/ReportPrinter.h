// Prints a report page by page, drawn from its model: the title centred on each page ("…
// - Seite n" from page 2), the paragraphs from the third line position on in the report
// font 14 units high, each with the tab stops its kind gives it, rules as lines. Units are
// 1/96 inch on any printer; the text area is inset by 80 left, top and right and 40 at the
// bottom.
#pragma once

#include <QString>

#include "lumreport/Report.h"

class QPagedPaintDevice;

namespace reportprint {

// Prints pages `fromPage` to `toPage` (1-based; 0 for either means from the first or to the
// last) on `device`; returns how many pages were printed.
int print(QPagedPaintDevice& device, const lumreport::Report& report, const QString& title,
          int fromPage = 0, int toPage = 0);

}  // namespace reportprint
