// SmoothData: the smoothing entry point (Wiener-Fourier filter, polynomial filter or both).
#include <new>

#include "analysis/AnalysisTexts.h"
#include "analysis/PointSelection.h"
#include "analysis/PolynomialFilter.h"
#include "analysis/RunState.h"
#include "analysis/SmoothingSteps.h"
#include "analysis/WienerFourierFilter.h"
#include "lumdb/Analysis.h"

using namespace lumdb::analysis;

unsigned char SmoothData(lumdb::RunHost& parent, const TPointList& in, TPointList& out,
                         SLineSearchVal* settings) {
    if (!settings) {
        out.clear();
        return 0;
    }
    if (&in == &out) {
        // The output is emptied before the points are read back: work on a copy.
        const TPointList copy = in;
        return SmoothData(parent, copy, out, settings);
    }
    SLineSearchVal& s = *settings;
    RunState run(parent);
    try {
        PointSelection sel = selectPoints(in, s.ZoomData, s.zoomFrom, s.zoomTo);
        if (s.ZoomData && sel.size() < kMinZoomPoints) {
            run.stopMessage(text::kSmoothTooFewPoints, text::kSmoothing);
            run.abort();
        }
        out.clear();
        if (s.FTFilter && !run.aborted()) runWienerFourier(sel.ys, s, run, text::kSmoothing);
        if (s.SGFilter && !run.aborted()) {
            run.phase(text::kSmoothing, text::kPolynomial, 0,
                      static_cast<std::int32_t>(sel.size()) - 1);
            runPolynomial(sel.ys, s.PolynomOrder, s.FilterWidth, run);
        }
        if (!run.aborted()) appendReversed(sel, out);
    } catch (const std::bad_alloc&) {
        // Out of memory for the working arrays: a failed run, reported by the result.
        run.abort();
    }
    if (run.aborted()) {
        out.clear();
        return 0;
    }
    return 1;
}
