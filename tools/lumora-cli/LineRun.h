// The library runs on one spectrum as the diagram window starts them: the line search with
// the window's settings (zoom range filled in, filter limits checked), and smoothing.
#pragma once

#include "Session.h"
#include "lumdb/Records.h"
#include "lumio/SpectrumRecord.h"

namespace lumcli {

// LineSearch on the record's points with a copy of `search`; throws FileFailure when the
// settings do not fit the spectrum or the run fails. `noise`, if given, receives the noise
// value the search worked with.
TLineArray searchLines(Session& session, const SpectrumRecord& record, SLineSearchVal search,
                       float* noise = nullptr);

// SmoothData; the smoothed points in reverse input order. Throws FileFailure.
TPointList smoothPoints(Session& session, const SpectrumRecord& record, SLineSearchVal search);

}  // namespace lumcli
