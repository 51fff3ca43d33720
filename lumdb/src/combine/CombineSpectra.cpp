// CombineSpectra: difference, sum, product or quotient of two spectra on the grid of the
// coarser one over their common range.
#include <algorithm>
#include <cmath>
#include <vector>

#include "lumdb/Combine.h"

namespace {

const char* const kCaption = "Spektren kombinieren";

// The points in ascending x without repeated x. The walk starts at the end with the larger
// x (so falling and rising spectra come out alike) and drops a point whose x equals the
// previous one taken.
TPointList ascendingUnique(const TPointList& points) {
    TPointList descending;
    descending.reserve(points.size());
    const bool rising = points.back().x >= points.front().x;
    auto take = [&](const TPointF& p) {
        if (descending.empty() || p.x != descending.back().x) descending.push_back(p);
    };
    if (rising)
        for (auto it = points.rbegin(); it != points.rend(); ++it) take(*it);
    else
        for (const TPointF& p : points) take(p);
    return TPointList(descending.rbegin(), descending.rend());
}

float spacing(const TPointList& p) {
    return std::fabs(p.back().x - p.front().x) / static_cast<float>(p.size());
}

float apply(int operation, float a, float b) {
    switch (operation) {
        case 0:
            return a - b;
        case 1:
            return a + b;
        case 2:
            return a * b;
        case 3:
            return a / b;
        default:
            return 0.0f;
    }
}

unsigned char fail(lumdb::RunHost& host, const char* text) {
    host.message(text, kCaption, lumdb::Icon::Stop, lumdb::Buttons::Ok, true);
    host.enableParent(true);
    host.setWaitCursor(false);
    return 0;
}

}  // namespace

unsigned char CombineSpectra(lumdb::RunHost& parent, const TPointList& a, const TPointList& b,
                             TPointList& out, int operation) {
    parent.enableParent(false);
    parent.setWaitCursor(true);
    const char* const kNoCommonRange = "Die Spektren haben keine gemeinsamen Wellenlängenbereich!";
    // An empty spectrum has no range at all, so it shares none with the other.
    if (a.empty() || b.empty()) return fail(parent, kNoCommonRange);

    const TPointList ua = ascendingUnique(a);
    const TPointList ub = ascendingUnique(b);
    if (!(ub.front().x <= ua.back().x && ua.front().x <= ub.back().x))
        return fail(parent, kNoCommonRange);
    const float lo = std::max(ua.front().x, ub.front().x);
    const float hi = std::min(ua.back().x, ub.back().x);

    // The coarser spectrum gives the grid; on equal spacing it is A.
    const bool gridIsA = !(spacing(ua) < spacing(ub));
    const TPointList& grid = gridIsA ? ua : ub;
    const TPointList& other = gridIsA ? ub : ua;

    std::vector<TPointF> result;
    result.reserve(grid.size());
    // The grid rises, so the interpolation walk over the other spectrum only ever moves
    // forward: one pass instead of a restart at its first point for every grid point.
    std::size_t k = 0;
    for (const TPointF& g : grid) {
        if (g.x < lo) continue;
        if (g.x > hi) break;
        while (k + 1 < other.size() && other[k].x < g.x) ++k;
        const TPointF& p1 = other[k];
        float interpolated;
        if (p1.x == g.x || k == 0) {
            interpolated = p1.y;
        } else {
            const TPointF& p0 = other[k - 1];
            interpolated = (g.x - p0.x) * ((p1.y - p0.y) / (p1.x - p0.x)) + p0.y;
        }
        const float va = gridIsA ? g.y : interpolated;
        const float vb = gridIsA ? interpolated : g.y;
        if (operation == 3 && vb == 0.0f)
            return fail(parent, "Vorgang abgebrochen: Division durch Null!");
        result.push_back({g.x, apply(operation, va, vb)});
    }

    // Every point went in at the front of the output: descending x.
    out.assign(result.rbegin(), result.rend());
    parent.enableParent(true);
    parent.setWaitCursor(false);
    return 1;
}
