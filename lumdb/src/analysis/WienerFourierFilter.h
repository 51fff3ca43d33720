// The Wiener-Fourier filter: weights the spectrum of overlapping, mirrored segments by
// S / (S + N), with signal and noise power modelled as exponentials fitted to the low and
// the high part of the measured power spectrum.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/RunState.h"
#include "analysis/SpectrumTransform.h"

namespace lumdb::analysis {

// The two exponential models of one segment and the cutoff they were grown to.
struct SpectrumModels {
    std::uint32_t cutoff = 0;   // K: bins [0, K) fitted by the signal model
    double signalLogAmp = 0.0;  // ln A_s
    double signalSlope = 0.0;   // B_s
    bool hasNoise = false;      // false: no noise model (A_n = 0), every weight is 1
    double noiseLogAmp = 0.0;   // ln A_n
    double noiseSlope = 0.0;    // B_n
    // The weight of bin k: S_k / (S_k + N_k).
    double weight(std::uint32_t k) const;
    // The weights of bins 0 ... out.size() - 1 at once.
    void weights(std::span<float> out) const;
};

class WienerFourierFilter {
  public:
    static constexpr std::uint32_t kDefaultBins = 512;

    explicit WienerFourierFilter(TransformFactory factory = makeFastTransform);

    // Filters ys in place. freqNumber and freqCutoff are the settings' FreqNumber and
    // FreqCutoff (0 = automatic); unless the run was aborted they receive the number of
    // bins used and the cutoff of the last segment. Returns false on abort.
    bool filter(std::span<float> ys, std::int32_t& freqNumber, std::int32_t& freqCutoff,
                RunState& run) const;

  private:
    TransformFactory factory_;
};

// The automatic cutoff of one power spectrum p[0 ... M-1]: the bin after the fifth bin
// below a threshold set between the low-frequency peak and the high-frequency noise floor.
// The last segment also counts bin 0 to the peak.
std::uint32_t automaticCutoff(std::span<const double> power, bool lastSegment);

// Grows the signal model from the cutoff `start` (already limited and reduced) until its
// slope is negative, then fits the noise model above it. logPower[k] is ln p[k] (0 where
// p[k] <= 0).
SpectrumModels fitModels(std::span<const double> logPower, std::uint32_t start);

}  // namespace lumdb::analysis
