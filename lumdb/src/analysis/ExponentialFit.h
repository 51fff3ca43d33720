// Least-squares fit of y = A * exp(B * x) through ln y, kept as running sums so that a
// model can grow point by point without refitting from scratch.
#pragma once

#include <cstddef>

namespace lumdb::analysis {

class ExponentialFit {
  public:
    struct Result {
        double logAmplitude = 0.0;  // ln A
        double slope = 0.0;         // B
    };

    // The ratio below which a singular value of the design matrix counts as zero.
    static constexpr double kSingularThreshold = 1.0e-5;

    // Adds the point (x, y); ln y is taken as 0 when y <= 0.
    void add(double x, double y);
    // Adds the point (x, ln y) with the logarithm already taken.
    void addLog(double x, double logY);

    // The least-squares line ln y = ln A + B x, solved as by a singular value decomposition
    // of the design matrix [1 x] in which singular values below kSingularThreshold times the
    // largest are set to zero (so that fits over few, distant x give the minimum-norm
    // answer instead of an ill-conditioned one). Zero points give A = 1, B = 0.
    Result solve() const;

    std::size_t count() const { return count_; }
    double origin() const { return origin_; }
    // Sums over the points added, x taken relative to origin().
    double sumLog() const { return sumL_; }
    double sumXLog() const { return sumXL_; }

    // A fit over the points x = origin, origin + 1, ..., origin + count - 1 whose sums of
    // ln y and (x - origin) ln y are known already.
    static ExponentialFit consecutive(double origin, std::size_t count, double sumLog,
                                      double sumXLog);

  private:
    // Sums are kept relative to the first x, which keeps them exact for integer x and
    // avoids the cancellation of raw second moments.
    double origin_ = 0.0;
    std::size_t count_ = 0;
    double sumX_ = 0.0;
    double sumXX_ = 0.0;
    double sumL_ = 0.0;
    double sumXL_ = 0.0;
};

}  // namespace lumdb::analysis
