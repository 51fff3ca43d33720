// The writers behind WriteFileData, one per file type.
#pragma once

#include "lumio/SpectrumRecord.h"
#include "writers/OutputFile.h"

namespace lumio::detail {

void writeNative(OutputFile& out, const SpectrumRecord& record);
void writeCsv(OutputFile& out, const SpectrumRecord& record);
void writeAsciiXY(OutputFile& out, const SpectrumRecord& record);
void writeAsciiY(OutputFile& out, const SpectrumRecord& record);
void writeBinaryXY(OutputFile& out, const SpectrumRecord& record);
void writeBinaryY(OutputFile& out, const SpectrumRecord& record);

// Calls fn(point) for every point with x rising: in list order when the last x is larger
// than the first, otherwise backwards.
template <class Fn>
void forEachRising(const TPointList& points, Fn fn) {
    if (points.empty()) return;
    if (points.back().x > points.front().x) {
        for (const TPointF& p : points) fn(p);
    } else {
        for (auto it = points.rbegin(); it != points.rend(); ++it) fn(*it);
    }
}

}  // namespace lumio::detail
