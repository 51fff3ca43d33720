// The transform pair the Wiener-Fourier filter works with: real samples of even length
// N = 2M to the spectrum bins 0 ... M and back.
#pragma once

#include <complex>
#include <cstddef>
#include <functional>
#include <memory>

namespace lumdb::analysis {

class SpectrumTransform {
  public:
    virtual ~SpectrumTransform() = default;
    // bins[0 ... M] of the discrete Fourier transform of samples[0 ... N-1]. The bins above M
    // are the mirror images of these, so they are not stored. The sign of the exponent is
    // free: the filter only weights bins symmetrically by real factors.
    virtual void forward(const float* samples, std::complex<float>* bins) = 0;
    // samples[0 ... N-1] from bins[0 ... M] (the upper half taken as the mirror images),
    // normalised so that inverse(forward(x)) gives x back.
    virtual void inverse(const std::complex<float>* bins, float* samples) = 0;
};

// Makes the transform for one length N (even).
using TransformFactory = std::function<std::unique_ptr<SpectrumTransform>(std::size_t length)>;

// The fast transform of any even length (mixed-radix FFT).
std::unique_ptr<SpectrumTransform> makeFastTransform(std::size_t length);

}  // namespace lumdb::analysis
