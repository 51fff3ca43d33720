// Point-by-point arithmetic of two spectra over their common wavelength range.
#pragma once

#include "lumdb/Records.h"
#include "lumdb/RunHost.h"
#include "lumdb/lumdb_export.h"

// operation: 0 a - b, 1 a + b, 2 a * b, 3 a / b; any other value gives 0 at every point.
// The grid is the coarser spectrum's x, the other spectrum is interpolated linearly; `out`
// receives the result in descending x. Returns 1 when completed, 0 when the spectra have no
// common range or a divisor is zero (then `out` is left as it was).
LUMDB_EXPORT unsigned char CombineSpectra(lumdb::RunHost& parent, const TPointList& a,
                                          const TPointList& b, TPointList& out, int operation);
