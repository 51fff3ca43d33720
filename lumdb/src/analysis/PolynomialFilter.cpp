// The polynomial (Savitzky-Golay) smoothing filter: weights by a least-squares fit solved
// with an LU decomposition, applied with shifted windows at the edges.
#include "analysis/PolynomialFilter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace lumdb::analysis {

namespace {

const char* const kOverflow = "Overflow";
const char* const kUnknown = "Unknown";

// The weights are later applied to 32-bit floats, so anything at the edge of their range is
// an overflow even though the arithmetic here runs in double.
constexpr double kFloatLimit = 3.4e38;

void checkRange(double value) {
    if (!(std::fabs(value) < kFloatLimit)) throw FilterError(kOverflow);
}

// Solves a * x = rhs in place (rhs becomes x) by LU decomposition with partial pivoting.
void solveLu(std::vector<std::vector<double>>& a, std::vector<double>& rhs) {
    const std::size_t size = a.size();
    for (std::size_t row = 0; row < size; ++row) {
        double largest = 0.0;
        for (double v : a[row]) largest = std::max(largest, std::fabs(v));
        if (largest == 0.0) throw FilterError(kUnknown);
    }
    std::vector<std::size_t> perm(size);
    for (std::size_t i = 0; i < size; ++i) perm[i] = i;
    for (std::size_t col = 0; col < size; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < size; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
        if (a[pivot][col] == 0.0) throw FilterError(kUnknown);
        std::swap(a[pivot], a[col]);
        std::swap(perm[pivot], perm[col]);
        for (std::size_t row = col + 1; row < size; ++row) {
            const double factor = a[row][col] / a[col][col];
            a[row][col] = factor;
            for (std::size_t k = col + 1; k < size; ++k) a[row][k] -= factor * a[col][k];
        }
    }
    std::vector<double> x(size);
    for (std::size_t i = 0; i < size; ++i) x[i] = rhs[perm[i]];
    for (std::size_t i = 0; i < size; ++i)  // forward substitution, unit lower triangle
        for (std::size_t k = 0; k < i; ++k) x[i] -= a[i][k] * x[k];
    for (std::size_t i = size; i-- > 0;) {  // back substitution
        for (std::size_t k = i + 1; k < size; ++k) x[i] -= a[i][k] * x[k];
        x[i] /= a[i][i];
    }
    rhs = std::move(x);
}

// out[t] = sum_j c[j] * src[t + j] for t < count, accumulated in j order. Blocks of a fixed
// small count keep the inner loop vectorised.
template <int Count>
inline void convolveFixed(const float* src, const float* c, int taps, float* out) {
    float acc[Count];
    for (int t = 0; t < Count; ++t) acc[t] = 0.0f;
    for (int j = 0; j < taps; ++j) {
        const float cj = c[j];
        const float* s = src + j;
        for (int t = 0; t < Count; ++t) acc[t] += cj * s[t];
    }
    for (int t = 0; t < Count; ++t) out[t] = acc[t];
}

inline float convolveOne(const float* src, const float* c, int taps) {
    float acc = 0.0f;
    for (int j = 0; j < taps; ++j) acc += c[j] * src[j];
    return acc;
}

std::vector<float> toFloat(const std::vector<double>& c, std::size_t taps) {
    return std::vector<float>(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(taps));
}

}  // namespace

bool FilterError::isOverflow() const {
    return std::string(what()).find(kOverflow) != std::string::npos;
}

std::vector<double> smoothingCoefficients(int width, int nl, int nr, int order) {
    if (nl < 0 || nr < 0 || order < 0 || width < nl + nr + 1 || nl + nr < order)
        throw FilterError(kUnknown);
    const int size = order + 1;
    // The normal matrix depends on i + j only: moment[p] = sum over the window of k^p, where
    // the point itself (k = 0) adds 1 only to the zeroth moment.
    std::vector<double> moment(static_cast<std::size_t>(2 * order + 1), 0.0);
    for (int k = -nl; k <= nr; ++k) {
        double power = 1.0;
        for (int p = 0; p <= 2 * order; ++p) {
            if (p > 0) power *= k;
            checkRange(power);
            moment[static_cast<std::size_t>(p)] += power;
            checkRange(moment[static_cast<std::size_t>(p)]);
        }
    }
    std::vector<std::vector<double>> a(static_cast<std::size_t>(size),
                                       std::vector<double>(static_cast<std::size_t>(size)));
    for (int i = 0; i < size; ++i)
        for (int j = 0; j < size; ++j)
            a[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                moment[static_cast<std::size_t>(i + j)];
    std::vector<double> b(static_cast<std::size_t>(size), 0.0);
    b[0] = 1.0;
    solveLu(a, b);

    // The smoothed value is the fitted polynomial at k = 0, that is b . (k^0 ... k^order).
    std::vector<double> c(static_cast<std::size_t>(width), 0.0);
    for (int k = -nl; k <= nr; ++k) {
        double sum = b[0];
        double power = 1.0;
        for (int j = 1; j < size; ++j) {
            power *= k;
            sum += b[static_cast<std::size_t>(j)] * power;
        }
        checkRange(sum);
        c[static_cast<std::size_t>(k + nl)] = sum;
    }
    return c;
}

bool polynomialSmooth(std::span<const float> in, std::span<float> out, int order, int width,
                      RunState& run) {
    const std::int64_t n = static_cast<std::int64_t>(in.size());
    const int h = (width - 1) / 2;
    // The centre weights first: they reject bad arguments even where the edges would not be
    // reached.
    const std::vector<double> middle = smoothingCoefficients(width, h, h, order);
    if (width > n) {
        std::copy(in.begin(), in.end(), out.begin());
        return true;
    }
    const float* y = in.data();
    float* o = out.data();

    // Left edge: the window stays at the start of the data, the point moves through it.
    for (int k = 0; k < h; ++k) {
        const auto c = toFloat(smoothingCoefficients(width, k, width - k - 1, order),
                               static_cast<std::size_t>(width));
        o[k] = convolveOne(y, c.data(), width);
        if (run.step(k)) return false;
    }

    // Middle. An even width leaves the last weight 0 (the window has 2h + 1 points), so only
    // the active taps are read.
    const int taps = 2 * h + 1;
    const std::int64_t end = n - h;
    std::int64_t i = h;
    const bool flat = order <= 1 && taps > 32;
    const std::int32_t chunk = RunState::kProgressBlock;
    if (flat) {
        // Order 0 and 1 give equal weights on a centred window: a running sum does the same
        // in O(1) per point for the wide windows that the line search asks for.
        const double weight = 1.0 / taps;
        double sum = 0.0;
        for (int j = 0; j < taps; ++j) sum += y[i - h + j];
        while (i < end) {
            const std::int64_t chunkEnd = std::min<std::int64_t>(end, i + chunk);
            const std::int64_t count = chunkEnd - i;
            for (; i < chunkEnd; ++i) {
                o[i] = static_cast<float>(sum * weight);
                if (i + 1 < end) sum += static_cast<double>(y[i + h + 1]) - y[i - h];
            }
            if (run.steps(static_cast<std::int32_t>(count), static_cast<std::int32_t>(i - 1)))
                return false;
        }
    } else {
        const auto c = toFloat(middle, static_cast<std::size_t>(taps));
        constexpr int kBlock = 64;
        while (i < end) {
            const std::int64_t chunkEnd = std::min<std::int64_t>(end, i + chunk);
            const std::int64_t count = chunkEnd - i;
            for (; i + kBlock <= chunkEnd; i += kBlock)
                convolveFixed<kBlock>(y + i - h, c.data(), taps, o + i);
            for (; i < chunkEnd; ++i) o[i] = convolveOne(y + i - h, c.data(), taps);
            if (run.steps(static_cast<std::int32_t>(count), static_cast<std::int32_t>(i - 1)))
                return false;
        }
    }

    // Right edge: the window stays at the end of the data.
    for (i = std::max<std::int64_t>(end, h); i < n; ++i) {
        const int nl = width - static_cast<int>(n - i);
        const auto c = toFloat(smoothingCoefficients(width, nl, width - nl - 1, order),
                               static_cast<std::size_t>(width));
        o[i] = convolveOne(y + i - nl, c.data(), width);
        if (run.step(static_cast<std::int32_t>(i))) return false;
    }
    return true;
}

bool polynomialFilter(std::span<float> ys, int order, int width, RunState& run) {
    std::vector<float>& out = run.scratch(ys.size());
    if (!polynomialSmooth(ys, out, order, width, run)) return false;
    std::copy(out.begin(), out.end(), ys.begin());
    return true;
}

}  // namespace lumdb::analysis
