// Line search and smoothing of one spectrum; see LineRun.h.
#include "LineRun.h"

#include "AnalysisOptions.h"
#include "SpectrumInput.h"
#include "lumdb/Analysis.h"

namespace lumcli {

namespace {

void prepare(Session& session, const SpectrumRecord& record, SLineSearchVal& search) {
    applyDataRange(search, record.points, session.line().has("zoom"));
    const std::string limit = filterLimitMessage(search, record.points.size());
    if (!limit.empty()) throw FileFailure("InputError", limit);
    session.host().clearLastMessage();
}

}  // namespace

TLineArray searchLines(Session& session, const SpectrumRecord& record, SLineSearchVal search,
                       float* noise) {
    prepare(session, record, search);
    TPointList smoothed;
    TLineArray lines;
    if (!LineSearch(session.host(), record.points, smoothed, lines, &search))
        throw FileFailure("SearchFailed",
                          session.host().failureText("Die Liniensuche ist fehlgeschlagen."));
    if (noise) *noise = search.NoiseValue;
    return lines;
}

TPointList smoothPoints(Session& session, const SpectrumRecord& record, SLineSearchVal search) {
    prepare(session, record, search);
    TPointList smoothed;
    if (!SmoothData(session.host(), record.points, smoothed, &search))
        throw FileFailure("SmoothFailed",
                          session.host().failureText("Die Datenglättung ist fehlgeschlagen."));
    return smoothed;
}

}  // namespace lumcli
