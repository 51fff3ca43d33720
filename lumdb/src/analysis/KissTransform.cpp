// The Wiener-Fourier filter's transform on KissFFT's real FFT, which takes any even length.
#include <kissfft/kiss_fftr.h>

#include <new>
#include <vector>

#include "analysis/SpectrumTransform.h"

namespace lumdb::analysis {

namespace {

class KissTransform final : public SpectrumTransform {
  public:
    explicit KissTransform(std::size_t length)
        : length_(length),
          forward_(kiss_fftr_alloc(static_cast<int>(length), 0, nullptr, nullptr)),
          inverse_(kiss_fftr_alloc(static_cast<int>(length), 1, nullptr, nullptr)) {
        if (!forward_ || !inverse_) {
            release();
            throw std::bad_alloc();
        }
    }
    ~KissTransform() override { release(); }
    KissTransform(const KissTransform&) = delete;
    KissTransform& operator=(const KissTransform&) = delete;

    // std::complex<float> has the layout of two floats, as kiss_fft_cpx has.
    void forward(const float* samples, std::complex<float>* bins) override {
        kiss_fftr(forward_, samples, reinterpret_cast<kiss_fft_cpx*>(bins));
    }
    void inverse(const std::complex<float>* bins, float* samples) override {
        kiss_fftri(inverse_, reinterpret_cast<const kiss_fft_cpx*>(bins), samples);
        // KissFFT leaves the inverse unnormalised.
        const float scale = 1.0f / static_cast<float>(length_);
        for (std::size_t i = 0; i < length_; ++i) samples[i] *= scale;
    }

  private:
    void release() {
        kiss_fftr_free(forward_);
        kiss_fftr_free(inverse_);
        forward_ = inverse_ = nullptr;
    }

    std::size_t length_;
    kiss_fftr_cfg forward_;
    kiss_fftr_cfg inverse_;
};

}  // namespace

std::unique_ptr<SpectrumTransform> makeFastTransform(std::size_t length) {
    return std::make_unique<KissTransform>(length);
}

}  // namespace lumdb::analysis
