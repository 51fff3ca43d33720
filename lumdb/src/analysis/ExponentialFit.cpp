// Exponential fit by running sums with the singular-value cut of a decomposition of [1 x].
#include "analysis/ExponentialFit.h"

#include <cmath>

namespace lumdb::analysis {

void ExponentialFit::add(double x, double y) {
    addLog(x, y > 0.0 ? std::log(y) : 0.0);
}

void ExponentialFit::addLog(double x, double logY) {
    if (count_ == 0) origin_ = x;
    const double u = x - origin_;
    ++count_;
    sumX_ += u;
    sumXX_ += u * u;
    sumL_ += logY;
    sumXL_ += u * logY;
}

ExponentialFit ExponentialFit::consecutive(double origin, std::size_t count, double sumLog,
                                           double sumXLog) {
    ExponentialFit fit;
    fit.origin_ = origin;
    fit.count_ = count;
    const double c = static_cast<double>(count);
    fit.sumX_ = c * (c - 1.0) / 2.0;                     // 0 + 1 + ... + (c - 1)
    fit.sumXX_ = (c - 1.0) * c * (2.0 * c - 1.0) / 6.0;  // 0 + 1 + ... + (c - 1)^2
    fit.sumL_ = sumLog;
    fit.sumXL_ = sumXLog;
    return fit;
}

ExponentialFit::Result ExponentialFit::solve() const {
    Result r;
    if (count_ == 0) return r;
    const double n = static_cast<double>(count_);
    const double meanU = sumX_ / n;
    const double meanL = sumL_ / n;
    const double sxxCentred = sumXX_ - sumX_ * meanU;  // sum (x - mean x)^2
    const double sxlCentred = sumXL_ - sumX_ * meanL;  // sum (x - mean x)(l - mean l)
    const double meanX = origin_ + meanU;

    // Gram matrix G = A^T A of the unshifted design A = [1 x]: its eigenvalues are the
    // squared singular values of A. det G = n * sum (x - mean x)^2 without cancellation.
    const double g00 = n;
    const double g01 = n * meanX;
    const double g11 = sxxCentred + n * meanX * meanX;
    const double trace = g00 + g11;
    const double det = n * sxxCentred;
    const double half = 0.5 * (g00 - g11);
    const double largest = 0.5 * trace + std::sqrt(half * half + g01 * g01);
    const double smallest = det / largest;

    if (smallest > kSingularThreshold * kSingularThreshold * largest) {
        // Full rank: the ordinary least-squares line.
        r.slope = sxlCentred / sxxCentred;
        r.logAmplitude = meanL - r.slope * meanX;
        return r;
    }
    // Rank one: keep only the component along the leading singular vector v,
    // solution = v (v . A^T l) / sigma_max^2.
    double v0 = g01;
    double v1 = largest - g00;
    if (std::fabs(v0) + std::fabs(v1) == 0.0 || std::fabs(largest - g11) > std::fabs(v1)) {
        v0 = largest - g11;
        v1 = g01;
    }
    const double norm = std::sqrt(v0 * v0 + v1 * v1);
    v0 /= norm;
    v1 /= norm;
    const double atl0 = n * meanL;                       // sum l
    const double atl1 = sxlCentred + n * meanX * meanL;  // sum x l
    const double along = (v0 * atl0 + v1 * atl1) / largest;
    r.logAmplitude = v0 * along;
    r.slope = v1 * along;
    return r;
}

}  // namespace lumdb::analysis
