// The value rules every reader applies while it fills a spectrum's points: dropped
// duplicate x, the running ranges, the x and y limits, and the number fields of text files.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ReadContext.h"

namespace lumio::detail {

// Largest magnitude a value may have (32-bit float range as the files use it).
inline constexpr double kValueLimit = 3.4e38;

// The largest float not above kValueLimit: for a float v, |v| <= kFloatLimit says the same
// as -kValueLimit <= v <= kValueLimit, in one comparison, and is false for NaN too.
inline constexpr float kFloatLimit =
    static_cast<double>(static_cast<float>(kValueLimit)) <= kValueLimit
        ? static_cast<float>(kValueLimit)
        : std::bit_cast<float>(std::bit_cast<std::uint32_t>(static_cast<float>(kValueLimit)) - 1);
static_assert(static_cast<double>(kFloatLimit) <= kValueLimit &&
              static_cast<double>(std::bit_cast<float>(std::bit_cast<std::uint32_t>(kFloatLimit) +
                                                       1)) > kValueLimit);

class PointCollector {
  public:
    explicit PointCollector(ReadContext& ctx);

    // Appends (x, y) to the record's points under the shared rules:
    // - an x outside ±3.4e38 (or not a number) shows the x message and throws
    //   "CancelOpenFile";
    // - a y outside ±3.4e38 (or not a number) becomes the last valid y (0 before the first)
    //   and is reported once by finish();
    // - a point whose x equals the x of the point appended just before is dropped, but its
    //   values still widen the ranges.
    // Inline: readers call it once per point, a million times for a large file.
    void add(double x, double y) {
        if (!(x <= kValueLimit && x >= -kValueLimit)) rejectX();  // NaN too
        float fy;
        if (y <= kValueLimit && y >= -kValueLimit) {
            fy = static_cast<float>(y);
            lastValidY_ = fy;
        } else {
            fy = lastValidY_;
            yReplaced_ = true;
        }
        const float fx = static_cast<float>(x);
        if (fx < xMin_) xMin_ = fx;
        if (fx > xMax_) xMax_ = fx;
        if (fy < yMin_) yMin_ = fy;
        if (fy > yMax_) yMax_ = fy;
        if (!points_.empty() && points_.back().x == fx) return;
        points_.push_back({fx, fy});
    }

    // add() for values that are floats already (the binary files'), for the points
    // point(0) .. point(n - 1) (each a pair {x, y} of floats),
    // with the running values held in locals for the whole run: stores into the points
    // could touch any float, so the members would go through memory at every point.
    template <class Point>
    void addFloatRun(std::size_t n, Point point) {
        float xMin = xMin_, xMax = xMax_, yMin = yMin_, yMax = yMax_;
        float lastValidY = lastValidY_;
        bool yReplaced = yReplaced_;
        bool any = !points_.empty();
        float lastX = any ? points_.back().x : 0.0f;
        for (std::size_t i = 0; i < n; ++i) {
            auto [x, y] = point(i);
            if (!(std::fabs(x) <= kFloatLimit)) rejectX();
            if (std::fabs(y) <= kFloatLimit) {
                lastValidY = y;
            } else {
                y = lastValidY;
                yReplaced = true;
            }
            xMin = x < xMin ? x : xMin;
            xMax = x > xMax ? x : xMax;
            yMin = y < yMin ? y : yMin;
            yMax = y > yMax ? y : yMax;
            if (any && lastX == x) continue;
            points_.push_back({x, y});
            lastX = x;
            any = true;
        }
        xMin_ = xMin;
        xMax_ = xMax;
        yMin_ = yMin;
        yMax_ = yMax;
        lastValidY_ = lastValidY;
        yReplaced_ = yReplaced;
    }

    // The running values, for a reader's loop that holds them in a local meanwhile
    // (stores into the points could touch any float, so members would go through memory
    // at every point). Put them back with resume() before any other add.
    struct Running {
        float xMin, xMax, yMin, yMax, lastValidY;
    };
    Running running() const { return {xMin_, xMax_, yMin_, yMax_, lastValidY_}; }
    void resume(const Running& r) {
        xMin_ = r.xMin;
        xMax_ = r.xMax;
        yMin_ = r.yMin;
        yMax_ = r.yMax;
        lastValidY_ = r.lastValidY;
    }

    // add() for values known to be finite and within the limits (plain numbers of at
    // most 15 digits), with the running values in `r`: only the ranges and the duplicate
    // rule are left to apply.
    void addPlain(Running& r, float x, float y) {
        r.lastValidY = y;
        r.xMin = x < r.xMin ? x : r.xMin;
        r.xMax = x > r.xMax ? x : r.xMax;
        r.yMin = y < r.yMin ? y : r.yMin;
        r.yMax = y > r.yMax ? y : r.yMax;
        if (!points_.empty() && points_.back().x == x) return;
        points_.push_back({x, y});
    }

    // Writes the ranges into the record's plotInfo and shows the y message when any y was
    // replaced. Call once when the data are complete.
    void finish();

    std::size_t count() const;
    bool yReplaced() const { return yReplaced_; }

  private:
    [[noreturn]] void rejectX();

    ReadContext& ctx_;
    TPointList& points_;
    float xMin_, xMax_, yMin_, yMax_;
    float lastValidY_ = 0.0f;
    bool yReplaced_ = false;
};

// Reads a number field of a text file like C's atof reads it (the longest number at the
// start, leading blanks and a "+" allowed, 0 when there is none), after the decimal-comma
// rule: every "," becomes "." and, while more than one "." remains, the first is removed,
// so "1.234,5" reads as 1234.5. Values beyond the double range come back as ±infinity, so
// the range rules catch them.
double parseNumberField(std::string_view field);

}  // namespace lumio::detail
