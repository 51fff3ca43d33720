// The value rules every reader applies while it fills a spectrum's points: dropped
// duplicate x, the running ranges, the x and y limits, and the number fields of text files.
#pragma once

#include <cstddef>
#include <string_view>

#include "ReadContext.h"

namespace lumio::detail {

// Largest magnitude a value may have (32-bit float range as the files use it).
inline constexpr double kValueLimit = 3.4e38;

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
