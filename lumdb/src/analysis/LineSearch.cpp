// LineSearch: noise estimate, smoothing, maxima, their widths and evaluation, and the lines
// placed on the unsmoothed data.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "analysis/AnalysisTexts.h"
#include "analysis/LineMaxima.h"
#include "analysis/PointSelection.h"
#include "analysis/PolynomialFilter.h"
#include "analysis/RunState.h"
#include "analysis/SmoothingSteps.h"
#include "lumdb/Analysis.h"

using namespace lumdb::analysis;

namespace {

// The noise amplitude: the spread of the data about a 7-point straight-line smoothing of
// themselves. Returns false on abort.
bool estimateNoise(std::span<const float> ys, float& noise, RunState& run) {
    const std::size_t n = ys.size();
    const std::vector<float>& smooth = run.scratch(n);
    if (!polynomialSmooth(ys, run.scratch(n), 1, 7, run)) return false;
    // Four partial sums keep the additions independent of one another.
    double part[4] = {0.0, 0.0, 0.0, 0.0};
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4)
        for (std::size_t j = 0; j < 4; ++j) {
            const double d = static_cast<double>(ys[k + j]) - smooth[k + j];
            part[j] += d * d;
        }
    for (; k < n; ++k) {
        const double d = static_cast<double>(ys[k]) - smooth[k];
        part[0] += d * d;
    }
    const double sum = (part[0] + part[1]) + (part[2] + part[3]);
    noise = n > 1 ? static_cast<float>(std::sqrt(sum / static_cast<double>(n - 1))) : 0.0f;
    return true;
}

// Width of the straight-line smoothing that follows the Wiener-Fourier filter when it is the
// only filter: about one period of the cutoff frequency, at least 5 and at most M / 5 points,
// odd.
std::int64_t cutoffWidth(std::int32_t freqNumber, std::int32_t freqCutoff) {
    // No cutoff reported (no segment was filtered): the widest window allowed.
    std::int64_t wc =
        freqCutoff > 0 ? freqNumber / freqCutoff : std::numeric_limits<std::int64_t>::max();
    if (wc < 5) wc = 5;
    if (freqNumber / 5 < wc) wc = freqNumber / 5;
    if (wc % 2 == 0) wc += 1;
    return wc;
}

// Maxima and their widths on the current ys.
bool maximaAndWidths(std::span<const float> ys, float noise, MaximaTable& maxima,
                     TypicalWidth& typical, RunState& run) {
    run.phase(text::kLineSearch, text::kMaxima);
    if (!findMaxima(ys, maxima, run)) return false;
    run.phase(text::kLineSearch, text::kWidths, 0, static_cast<std::int32_t>(maxima.size()) - 1);
    return typicalWidth(ys, maxima, noise, typical, run);
}

// Adds the new lines in x order, so that each lands at the end of an array that was empty
// (no shifting of the lines already in it); a stable sort keeps lines of equal x in the order
// they were found, as adding them one by one would.
void addLines(std::vector<CLine>& found, TLineArray& lines) {
    std::stable_sort(found.begin(), found.end(),
                     [](const CLine& a, const CLine& b) { return a.x < b.x; });
    lines.reserve(lines.size() + found.size());
    for (auto& line : found) lines.add(std::move(line));
    found.clear();
}

void search(const TPointList& in, TPointList& smoothed, TLineArray& lines, SLineSearchVal& s,
            RunState& run) {
    PointSelection sel = selectPoints(in, s.ZoomData, s.zoomFrom, s.zoomTo);
    if (s.ZoomData && sel.size() < kMinZoomPoints) {
        run.stopMessage(text::kSearchTooFewPoints, text::kLineSearch);
        run.abort();
        return;
    }
    const std::size_t n = sel.size();
    const auto last = static_cast<std::int32_t>(n) - 1;
    std::span<float> ys(sel.ys);
    smoothed.clear();

    run.phase(text::kEvaluation, text::kNoise, 0, last);
    float noise = 0.0f;
    if (!estimateNoise(ys, noise, run)) return;

    if (s.FTFilter) {
        smoothed.clear();
        if (!runWienerFourier(ys, s, run, text::kSmoothing)) return;
        if (!s.SGFilter) {
            appendReversed(sel, smoothed);
            // The list shows the filter's result; the search itself looks at it smoothed once
            // more over about one period of the cutoff frequency. A window of a single point
            // would change nothing (and has no straight line to fit), so it is skipped.
            const std::int64_t wc = cutoffWidth(s.FreqNumber, s.FreqCutoff);
            if (wc > 1) {
                run.range(0, last);
                if (!runPolynomial(ys, 1, static_cast<std::int32_t>(wc), run)) return;
            }
        }
    }
    if (s.SGFilter) {
        run.phase(text::kSmoothing, text::kPolynomial, 0, last);
        smoothed.clear();
        if (!runPolynomial(ys, s.PolynomOrder, s.FilterWidth, run)) return;
        appendReversed(sel, smoothed);
    }

    MaximaTable maxima;
    TypicalWidth typical;
    if (!maximaAndWidths(ys, noise, maxima, typical, run)) return;

    if (!s.FTFilter && !s.SGFilter) {
        // Unfiltered data: smooth over about half the typical line width and look again.
        run.phase(text::kLineSearch, text::kSmoothingPhase, 0, last);
        smoothed.clear();
        std::int32_t pw = typical.width < 10 ? 5 : typical.width / 2;
        if (pw % 2 == 0) pw += 1;
        if (!runPolynomial(ys, 1, pw, run)) return;
        if (!maximaAndWidths(ys, noise, maxima, typical, run)) return;
    }

    run.phase(text::kLineSearch, text::kRating, 0, static_cast<std::int32_t>(maxima.size()) - 1);
    if (!s.Noise) s.NoiseValue = noise;
    const float v = s.NoiseValue;
    std::vector<CLine> found;
    const auto unsmoothed = [&sel](std::int32_t i) {
        return sel.unsmoothed(static_cast<std::size_t>(i));
    };
    const std::size_t count = maxima.size();
    for (std::size_t k = 0; k < count;) {
        const std::size_t blockEnd = std::min<std::size_t>(count, k + RunState::kProgressBlock);
        const std::size_t done = blockEnd - k;
        for (; k < blockEnd; ++k) {
            if (!isLine(ys, maxima[k], v, typical)) continue;
            const std::int32_t p = linePosition(unsmoothed, maxima[k]);
            found.emplace_back(sel.x(static_cast<std::size_t>(p)), unsmoothed(p));
        }
        if (run.steps(static_cast<std::int32_t>(done), static_cast<std::int32_t>(blockEnd - 1)))
            break;
    }
    // Lines accepted before an abort are kept.
    addLines(found, lines);
}

}  // namespace

unsigned char LineSearch(lumdb::RunHost& parent, const TPointList& in, TPointList& smoothed,
                         TLineArray& lines, SLineSearchVal* settings) {
    if (!settings) {
        smoothed.clear();
        return 0;
    }
    if (&in == &smoothed) {
        // The smoothed list is emptied while the points are still read: work on a copy.
        const TPointList copy = in;
        return LineSearch(parent, copy, smoothed, lines, settings);
    }
    RunState run(parent);
    try {
        search(in, smoothed, lines, *settings, run);
    } catch (const std::bad_alloc&) {
        // Out of memory for the working arrays: a failed run, reported by the result.
        run.abort();
    }
    if (run.aborted()) {
        smoothed.clear();
        return 0;
    }
    return 1;
}
