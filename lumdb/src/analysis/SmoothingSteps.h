// The smoothing steps that SmoothData and LineSearch share: the Wiener-Fourier pass with its
// settings, the polynomial pass with its failure messages, and the output in reverse order.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/PointSelection.h"
#include "analysis/RunState.h"
#include "lumdb/Records.h"

namespace lumdb::analysis {

// Captions (process, "Wiener-Fourierfilter"); clears highCutMode, and with SetFTValues also
// FreqNumber and FreqCutoff; filters ys, which writes FreqNumber and FreqCutoff back unless
// aborted. Returns false on abort.
bool runWienerFourier(std::span<float> ys, SLineSearchVal& settings, RunState& run,
                      const char* process);

// The polynomial filter in place (the caller sets captions and range). A failure of the
// weight computation shows its message and aborts the run. Returns false on abort.
bool runPolynomial(std::span<float> ys, std::int32_t order, std::int32_t width, RunState& run);

// Puts the selected points, with the smoothed intensities, at the front of `out` one by one,
// so that `out` holds them in the reverse of their input order.
void appendReversed(const PointSelection& sel, TPointList& out);

}  // namespace lumdb::analysis
