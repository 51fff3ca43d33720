// Smoothing and line search: the two analysis entry points that work on one spectrum's
// intensities. Both show the progress dialog through the run host, keep the parent window
// disabled while they run and return 1 when the run completed, 0 when it was aborted or
// failed.
#pragma once

#include "lumdb/Records.h"
#include "lumdb/RunHost.h"
#include "lumdb/lumdb_export.h"

// Smooths the intensities of `in` with the Wiener-Fourier filter, the polynomial filter or
// both (in that order) and fills `out` with the smoothed points in the reverse of their
// input order. `settings` selects the filters and receives FreqNumber, FreqCutoff and
// highCutMode back. On 0 `out` is empty.
LUMDB_EXPORT unsigned char SmoothData(lumdb::RunHost& parent, const TPointList& in, TPointList& out,
                                      SLineSearchVal* settings);

// Finds the lines of `in` and adds them to `lines` (sorted by x). `smoothed` receives the
// smoothed data (reverse input order) when a filter is selected and stays empty otherwise.
// Without `Noise` the noise estimate is written into settings->NoiseValue. On 0 the
// smoothed list is empty; lines added before an abort stay in `lines`.
LUMDB_EXPORT unsigned char LineSearch(lumdb::RunHost& parent, const TPointList& in,
                                      TPointList& smoothed, TLineArray& lines,
                                      SLineSearchVal* settings);
