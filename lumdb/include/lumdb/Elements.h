// Towards "which elements are in this sample": the measurement of found lines on the
// unsmoothed data, a noise estimate that strong lines do not inflate, and the estimate of a
// wavelength shift per segment of the x axis against the strongest expected database lines.
// None of this changes the spectrum or the identification's candidates; the shift is meant
// for the matching of measured lines with database lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lumdb/Records.h"
#include "lumdb/RunHost.h"
#include "lumdb/lumdb_export.h"

namespace lumdb {

// The noise amplitude from the median absolute deviation of the residual of each point
// against the mean of its two neighbours, scaled to the standard deviation of Gaussian
// noise. Lines cover few points, so they hardly move a median: unlike the line search's
// own estimate, strong lines do not inflate it. 0 with fewer than 3 points.
LUMDB_EXPORT float RobustNoise(std::span<const TPointF> points);

// One found line measured on the unsmoothed data.
struct LineMeasurement {
    double position = 0.0;     // x of the fitted centre
    double uncertainty = 0.0;  // standard uncertainty of the position, x units
    double height = 0.0;       // peak above the local baseline
    double baseline = 0.0;     // local baseline at the centre
    double width = 0.0;        // full width at half maximum, x units
    double step = 0.0;         // distance of neighbouring points at the line
    bool gaussian = false;     // a Gaussian fit over the line; else a three-point parabola
};

// Measures every line of `lines` on `points` (in any x order): the line's extent is walked
// down on either side of its data point, a straight baseline joins the two feet, and a
// Gaussian is fitted to the points standing above a third of the peak (the weighted
// least-squares parabola through their logarithms); with fewer than three such points, a
// parabola through the peak and its neighbours. The uncertainty is the Cramér-Rao bound of
// the fitted Gaussian's centre at noise amplitude `noise`. One result per line, same order;
// a line whose x is not a point of the data is measured at the nearest point.
LUMDB_EXPORT std::vector<LineMeasurement> MeasureLines(std::span<const TPointF> points,
                                                       const TLineArray& lines, float noise);

// A database line for the shift estimate: its wavelength and its expected emission relative
// to the strongest line of its species (0 .. 1).
struct ReferenceLine {
    float wavelength = 0.0f;
    float strength = 0.0f;
    std::uint32_t species = 0;  // index into ReferenceLines::species
};

struct ReferenceLines {
    std::vector<std::string> species;  // species labels as the database gives them ("Fe I")
    std::vector<ReferenceLine> lines;  // sorted by wavelength
};

// The plasma temperature (K) at which the expected emission of atomic lines is estimated
// from g f / wavelength^2 and the Boltzmann factor of the upper level.
inline constexpr double kReferenceTemperature = 10000.0;

// Reads the database lines of the selected elements and stages (the identification's walk
// over the files: `values` gives Neutrals, FirstIons, HigherIons and decipherMode) with
// from <= wavelength <= to. Expected strength within a species: for atomic lines with an
// f-value, g_lower f / wavelength^2 times exp(-E_upper / kT); for NIST relative intensities
// and molecular band heads the stored relative value; each kind scaled to its species'
// strongest line in the whole file. Lines below `floor` of that are left out.
// Returns 1 when completed, 0 when cancelled or aborted.
LUMDB_EXPORT unsigned char CollectReferenceLines(RunHost& parent, const std::string& dataDir,
                                                 const TElementArray& elements,
                                                 const SSelectElVal& values, double from, double to,
                                                 ReferenceLines& out, float floor = 0.01f);

struct ShiftSettings {
    double maxShift = 1.0;          // largest shift considered, nm
    double gapSteps = 4.0;          // a gap of this many local steps starts a new segment
    bool fitStretch = false;        // shift plus a linear stretch instead of a shift alone
    double maxStretch = 2e-3;       // largest stretch considered (nm per nm)
    std::size_t minLines = 5;       // fewest supporting lines for an estimate
    std::size_t perSpecies = 8;     // strongest expected lines per species and segment
    std::size_t maxMeasured = 120;  // strongest measured lines per segment that vote
    double minHeight = 5.0;         // a measured line votes when its height is this many noises
};

enum class ShiftOutcome {
    Estimated,
    TooFewLines,     // fewer measured lines or supporting lines than minLines
    NotSignificant,  // no shift gathers clearly more lines than chance would
    Ambiguous,       // a second, different shift gathers nearly as many lines
};

// A measured line that supports a segment's shift, with the database line it matched.
struct ShiftSupport {
    std::size_t line = 0;  // index into the measurements
    float reference = 0.0f;
    std::uint32_t species = 0;  // index into ReferenceLines::species
    double residual = 0.0;      // measured minus modelled position
};

// The shift of one segment. Model: a database line at wavelength w appears at
// w + shift + stretch (w - centre) with centre = (from + to) / 2.
struct SegmentShift {
    double from = 0.0, to = 0.0;  // x range of the segment's points
    ShiftOutcome outcome = ShiftOutcome::TooFewLines;
    double shift = 0.0;
    double stretch = 0.0;
    double shiftUncertainty = 0.0;
    double stretchUncertainty = 0.0;
    std::size_t votingLines = 0;  // measured lines that took part in the vote
    double chanceLines = 0.0;     // lines expected to agree on any one shift by chance
    double bestShift = 0.0;       // the shift most lines agreed on, estimated or not
    std::size_t bestLines = 0;    // lines behind it
    std::size_t runnerUp = 0;     // lines behind the best different shift
    std::vector<ShiftSupport> support;

    bool estimated() const { return outcome == ShiftOutcome::Estimated; }
    double centre() const { return 0.5 * (from + to); }
    // The database wavelength that would appear at measured position x.
    double corrected(double x) const;
};

// Splits the x axis of `points` into segments at gaps of many steps and estimates each
// segment's shift from `measured` (MeasureLines of its found lines, `noise` the noise used
// there) against `references` by a vote: every pairing of a measured line with a nearby
// database line proposes a shift, and the shift that most measured lines agree on within
// the tolerance wins when it stands clearly above chance and above any other shift; it is
// then refined on its supporting lines (mean, or a Theil-Sen line with the stretch).
LUMDB_EXPORT std::vector<SegmentShift> EstimateShifts(std::span<const TPointF> points,
                                                      std::span<const LineMeasurement> measured,
                                                      float noise, const ReferenceLines& references,
                                                      const ShiftSettings& settings = {});

}  // namespace lumdb
