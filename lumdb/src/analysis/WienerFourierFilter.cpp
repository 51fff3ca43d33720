// The Wiener-Fourier filter over overlapping segments with mirrored margins.
#include "analysis/WienerFourierFilter.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <utility>

#include "analysis/ExponentialFit.h"

namespace lumdb::analysis {

namespace {

// Index of the j-th value of the margin mirrored at the end of ys[0 ... n-1]: n-1, n-2, ...,
// 0, and should a margin be longer than the data, 0, 1, ... again (reflected at both ends,
// every end point taken twice, as the left margin does).
std::size_t mirroredIndex(std::size_t j, std::size_t n) {
    const std::size_t q = j % (2 * n);
    return q < n ? n - 1 - q : q - n;
}

// Everything one run needs per segment, sized once.
struct Segment {
    std::size_t length;  // N = 2M real samples
    std::size_t bins;    // M
    std::vector<float> data;
    std::vector<std::complex<float>> spectrum;  // bins 0 ... M
    std::vector<double> power;                  // p[0 ... M-1]
    std::vector<double> logPower;               // ln p, 0 where p <= 0
    std::vector<float> weight;                  // S / (S + N) per bin
    double energyIn = 0.0;
    float low = 1.0e38f;
    float high = -1.0e38f;

    explicit Segment(std::size_t m)
        : length(2 * m), bins(m), data(2 * m), spectrum(m + 1), power(m), logPower(m), weight(m) {}

    // Sum of squares, minimum and maximum of the filled data. Eight lanes keep the
    // additions and comparisons independent, so that the loop vectorises.
    void measure() {
        constexpr std::size_t kLanes = 8;
        double energy[kLanes] = {};
        float lo[kLanes], hi[kLanes];
        for (std::size_t j = 0; j < kLanes; ++j) {
            lo[j] = 1.0e38f;
            hi[j] = -1.0e38f;
        }
        const float* d = data.data();
        std::size_t i = 0;
        for (; i + kLanes <= length; i += kLanes)
            for (std::size_t j = 0; j < kLanes; ++j) {
                const float v = d[i + j];
                energy[j] += static_cast<double>(v) * v;
                lo[j] = v < lo[j] ? v : lo[j];
                hi[j] = v > hi[j] ? v : hi[j];
            }
        for (; i < length; ++i) {
            const float v = d[i];
            energy[0] += static_cast<double>(v) * v;
            lo[0] = v < lo[0] ? v : lo[0];
            hi[0] = v > hi[0] ? v : hi[0];
        }
        energyIn = 0.0;
        low = lo[0];
        high = hi[0];
        for (std::size_t j = 0; j < kLanes; ++j) {
            energyIn += energy[j];
            low = std::min(low, lo[j]);
            high = std::max(high, hi[j]);
        }
    }

    // Adds the offset back and returns the sum of squares of the result.
    double restore(float offset) {
        constexpr std::size_t kLanes = 8;
        double energy[kLanes] = {};
        float* d = data.data();
        std::size_t i = 0;
        for (; i + kLanes <= length; i += kLanes)
            for (std::size_t j = 0; j < kLanes; ++j) {
                d[i + j] += offset;
                energy[j] += static_cast<double>(d[i + j]) * d[i + j];
            }
        for (; i < length; ++i) {
            d[i] += offset;
            energy[0] += static_cast<double>(d[i]) * d[i];
        }
        double sum = 0.0;
        for (double e : energy) sum += e;
        return sum;
    }
};

}  // namespace

double SpectrumModels::weight(std::uint32_t k) const {
    if (!hasNoise) return 1.0;
    // S / (S + N) = 1 / (1 + N / S), with N / S taken in the log domain so that neither
    // model can overflow or underflow on its own.
    const double t =
        (noiseLogAmp - signalLogAmp) + static_cast<double>(k) * (noiseSlope - signalSlope);
    return 1.0 / (1.0 + std::exp(t));
}

std::uint32_t automaticCutoff(std::span<const double> power, bool lastSegment) {
    const std::size_t m = power.size();
    const std::size_t tenth = m / 10;
    double peak = 0.0;
    for (std::size_t k = lastSegment ? 0 : 1; k < tenth; ++k) peak = std::max(peak, power[k]);
    double noise = 0.0;
    if (tenth > 0) {
        for (std::size_t k = m - tenth; k < m; ++k) noise += power[k];
        noise /= static_cast<double>(tenth);
    }
    // A vanishing peak or noise floor gives the limit of the formulas below, 0, instead of
    // taking the logarithm of 0 or of infinity.
    double threshold = 0.0;
    if (peak > 0.0 && noise > 0.0) {
        const double decades = std::log10(peak / noise);
        const double d = std::trunc(decades);
        if (d >= 0.0 && d <= 3.0)
            threshold = (peak - noise) * 0.25 + noise;
        else
            threshold = peak * std::pow(10.0, std::trunc(-decades * 3.0 * 0.25));
    }
    int below = 0;
    for (std::size_t k = 0; k < m; ++k)
        if (power[k] < threshold && ++below == 5) return static_cast<std::uint32_t>(k + 1);
    return static_cast<std::uint32_t>(m);
}

SpectrumModels fitModels(std::span<const double> logPower, std::uint32_t start) {
    const std::uint32_t m = static_cast<std::uint32_t>(logPower.size());
    SpectrumModels models;
    std::uint32_t k = std::min(start, m);
    ExponentialFit signal;
    for (std::uint32_t i = 0; i < k; ++i) signal.addLog(i, logPower[i]);
    ExponentialFit::Result s;
    bool decays = false;
    // The model grows by one bin per pass until its slope turns negative. When no negative
    // slope turns up before all M bins are in the fit, the spectrum shows no decaying signal
    // part to separate from noise, and the segment is passed through unweighted.
    while (k < m) {
        signal.addLog(k, logPower[k]);
        ++k;
        s = signal.solve();
        if (s.slope < 0.0) {
            decays = true;
            break;
        }
    }
    models.cutoff = k;
    models.signalLogAmp = s.logAmplitude;
    models.signalSlope = s.slope;
    if (!decays || k >= m) return models;

    // The noise model fits bins k ... M-1: its sums are the totals less the signal's
    // (whose x start at 0), so no second pass over the bins is needed.
    double part[4] = {0.0, 0.0, 0.0, 0.0};
    double partX[4] = {0.0, 0.0, 0.0, 0.0};
    std::uint32_t i = 0;
    for (; i + 4 <= m; i += 4)
        for (std::uint32_t j = 0; j < 4; ++j) {
            part[j] += logPower[i + j];
            partX[j] += static_cast<double>(i + j) * logPower[i + j];
        }
    for (; i < m; ++i) {
        part[0] += logPower[i];
        partX[0] += static_cast<double>(i) * logPower[i];
    }
    const double totalLog = (part[0] + part[1]) + (part[2] + part[3]);
    const double totalXLog = (partX[0] + partX[1]) + (partX[2] + partX[3]);
    const double noiseLog = totalLog - signal.sumLog();
    const double noiseXLog = (totalXLog - signal.sumXLog()) - static_cast<double>(k) * noiseLog;
    const auto r = ExponentialFit::consecutive(k, m - k, noiseLog, noiseXLog).solve();
    if (r.slope > 0.0) return models;  // a rising noise model is dropped (A_n = B_n = 0)
    models.hasNoise = true;
    models.noiseLogAmp = r.logAmplitude;
    models.noiseSlope = r.slope;
    return models;
}

void SpectrumModels::weights(std::span<float> out) const {
    const std::size_t m = out.size();
    if (!hasNoise) {
        std::fill(out.begin(), out.end(), 1.0f);
        return;
    }
    // N_k / S_k = e^(c + k d) grows geometrically: one exact exponential every 64 bins and
    // multiplications in between (relative error below 1e-14). Steep ratios, where a value
    // could under- or overflow between two exact ones, take the exponential for every bin.
    const double c = noiseLogAmp - signalLogAmp;
    const double d = noiseSlope - signalSlope;
    if (std::fabs(d) > 1.0) {
        for (std::size_t k = 0; k < m; ++k)
            out[k] = static_cast<float>(weight(static_cast<std::uint32_t>(k)));
        return;
    }
    const double step = std::exp(d);
    for (std::size_t k0 = 0; k0 < m; k0 += 64) {
        double ratio = std::exp(c + static_cast<double>(k0) * d);
        const std::size_t end = std::min(m, k0 + 64);
        for (std::size_t k = k0; k < end; ++k) {
            out[k] = static_cast<float>(1.0 / (1.0 + ratio));
            ratio *= step;
        }
    }
}

WienerFourierFilter::WienerFourierFilter(TransformFactory factory) : factory_(std::move(factory)) {}

bool WienerFourierFilter::filter(std::span<float> ys, std::int32_t& freqNumber,
                                 std::int32_t& freqCutoff, RunState& run) const {
    std::size_t n = ys.size();
    // Non-positive values are not valid settings; they mean automatic, as 0 does.
    const bool automaticBins = freqNumber <= 0;
    std::size_t m = automaticBins ? kDefaultBins : static_cast<std::size_t>(freqNumber);
    const std::size_t ov = m / 10;  // margin at each end of a segment, from the first M
    if (automaticBins && 2 * ov + n < 2 * m) {
        // Short data fit into one segment: an even length, the last point of an odd series
        // stays as it is.
        n &= ~static_cast<std::size_t>(1);
        m = (2 * ov + n) / 2;
    }
    const std::uint32_t userCutoff = freqCutoff > 0 ? static_cast<std::uint32_t>(freqCutoff) : 0;

    if (n <= ov) {
        // Not even one margin of data: nothing to transform, no cutoff to report.
        freqNumber = static_cast<std::int32_t>(m);
        return true;
    }

    Segment seg(m);
    const std::size_t length = seg.length;
    const std::size_t advance = length - 2 * ov;  // points written per full segment
    // A full segment reads `advance` points beyond its left margin. Segments run full only
    // while those lie inside the data; the rest, however short, goes into the last segment,
    // which mirrors the data at their end. So no read passes the end, and every point
    // is written.
    const std::size_t fullSegments = n >= ov + advance ? (n - ov) / advance : 0;
    const std::size_t segments = fullSegments + 1;
    auto transform = factory_(length);

    std::int32_t counter = 0;
    run.range(0, static_cast<std::int32_t>(3 * segments));

    std::vector<float> edge(2 * ov);
    for (std::size_t i = 0; i < ov; ++i) {
        edge[ov - 1 - i] = ys[i];
        edge[ov + i] = ys[i];
    }
    std::size_t r = ov;
    std::size_t w = 0;
    std::uint32_t cutoff = 0;

    // Steps b to j of one segment whose data are filled; returns the energy scale, or a
    // negative value on abort.
    auto processSegment = [&](bool last) -> double {
        float* data = seg.data.data();
        const float offset = static_cast<float>((static_cast<double>(seg.high) + seg.low) * 0.5);
        for (std::size_t i = 0; i < length; ++i) data[i] -= offset;

        if (run.step(++counter)) return -1.0;
        transform->forward(data, seg.spectrum.data());
        const auto& spectrum = seg.spectrum;
        seg.power[0] = std::norm(std::complex<double>(spectrum[0]));
        for (std::size_t k = 1; k < m; ++k)
            seg.power[k] = 2.0 * std::norm(std::complex<double>(spectrum[k]));
        for (std::size_t k = 0; k < m; ++k)
            seg.logPower[k] = seg.power[k] > 0.0 ? std::log(seg.power[k]) : 0.0;

        std::uint32_t k0 = userCutoff ? userCutoff : automaticCutoff(seg.power, last);
        if (k0 >= m) k0 = static_cast<std::uint32_t>(m - 1);
        if (k0 > 2) k0 -= 1;
        const SpectrumModels models = fitModels(seg.logPower, k0);
        cutoff = models.cutoff;

        // Bin M (the Nyquist bin) keeps its value.
        models.weights(seg.weight);
        for (std::size_t k = 0; k < m; ++k) seg.spectrum[k] *= seg.weight[k];

        if (run.step(++counter)) return -1.0;
        transform->inverse(seg.spectrum.data(), data);
        const double energyOut = seg.restore(offset);
        // An all-zero segment stays zero rather than turning into 0/0.
        return energyOut > 0.0 ? std::sqrt(seg.energyIn / energyOut) : 1.0;
    };

    for (std::size_t s = 0; s < fullSegments; ++s) {
        if (run.step(++counter)) return false;
        float* data = seg.data.data();
        std::copy(edge.begin(), edge.end(), data);
        std::copy(ys.begin() + static_cast<std::ptrdiff_t>(r),
                  ys.begin() + static_cast<std::ptrdiff_t>(r + length - 2 * ov), data + 2 * ov);
        r += length - 2 * ov;
        std::copy(data + length - 2 * ov, data + length, edge.begin());
        seg.measure();
        const double scale = processSegment(false);
        if (scale < 0.0) return false;
        for (std::size_t i = ov; i < length - ov; ++i)
            ys[w++] = static_cast<float>(data[i] * scale);
    }

    if (w < n) {
        if (run.step(++counter)) return false;
        float* data = seg.data.data();
        std::copy(edge.begin(), edge.end(), data);
        std::size_t i = 2 * ov;
        while (r < n && i < length) data[i++] = ys[r++];
        for (std::size_t j = 0; i < length; ++j) data[i++] = ys[mirroredIndex(j, n)];
        seg.measure();
        const double scale = processSegment(true);
        if (scale < 0.0) return false;
        for (i = ov; i < length && w < n; ++i) ys[w++] = static_cast<float>(data[i] * scale);
    }

    freqNumber = static_cast<std::int32_t>(m);
    freqCutoff = static_cast<std::int32_t>(cutoff);
    return true;
}

}  // namespace lumdb::analysis
