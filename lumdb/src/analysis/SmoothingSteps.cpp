// Smoothing steps shared by SmoothData and LineSearch.
#include "analysis/SmoothingSteps.h"

#include "analysis/AnalysisTexts.h"
#include "analysis/PolynomialFilter.h"
#include "analysis/WienerFourierFilter.h"

namespace lumdb::analysis {

bool runWienerFourier(std::span<float> ys, SLineSearchVal& settings, RunState& run,
                      const char* process) {
    run.phase(process, text::kWienerFourier);
    settings.highCutMode = 0;
    if (settings.SetFTValues) {
        settings.FreqNumber = 0;
        settings.FreqCutoff = 0;
        settings.highCutMode = 0;
    }
    const WienerFourierFilter filter;
    if (!filter.filter(ys, settings.FreqNumber, settings.FreqCutoff, run)) run.abort();
    return !run.aborted();
}

bool runPolynomial(std::span<float> ys, std::int32_t order, std::int32_t width, RunState& run) {
    try {
        if (!polynomialFilter(ys, order, width, run)) run.abort();
    } catch (const FilterError& e) {
        run.stopMessage(e.isOverflow() ? text::kPolynomialOverflow : text::kPolynomialError,
                        text::kSmoothing);
        run.abort();
    }
    return !run.aborted();
}

void appendReversed(const PointSelection& sel, TPointList& out) {
    const std::size_t n = sel.size();
    out.clear();
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i) out[n - 1 - i] = TPointF{sel.x(i), sel.ys[i]};
}

}  // namespace lumdb::analysis
