// Towards "which elements are in this sample": the measurement of found lines on the
// unsmoothed data, a noise estimate that strong lines do not inflate, and the estimate of a
// wavelength shift per segment of the x axis against the strongest expected database lines.
// None of this changes the spectrum or the identification's candidates; the shift is meant
// for the matching of measured lines with database lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <utility>
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

// How noisy the points with from <= x <= to are against the whole spectrum: the robust noise
// of those points (taken in x order) over that of all points, kept within 0.05 .. 20 (data
// quantised in coarse steps can leave a median residual of zero). 1 when the range holds
// every point, fewer than three, or either estimate is zero. Segments of the x axis that
// come from different detectors or gratings differ in signal and noise; each is judged
// against its own noise by scaling the spectrum's noise with this ratio.
LUMDB_EXPORT double SegmentNoiseRatio(std::span<const TPointF> points, double from, double to);
// The same for each of several x ranges, the whole spectrum's noise estimated once.
LUMDB_EXPORT std::vector<double> SegmentNoiseRatios(
    std::span<const TPointF> points, std::span<const std::pair<double, double>> ranges);

// The faint lines the line search leaves out: its noise estimate grows with the strong lines
// of a crowded spectrum, and its smoothing merges a faint line into a strong neighbour. The
// search runs once more over the points `given` selects, with a second-order polynomial
// filter over five points, which keeps lines of a few points' width apart, and a noise value
// of five times `noise` (a robust estimate such as RobustNoise): the light filter leaves more
// of the noise in, so a line must stand out more than the search's own rules ask. A line
// found there is added to `lines` where no line of `lines` lies within two steps of the
// data. Nothing is added where fewer than 16 points are selected. False when the search was
// aborted; `lines` is then unchanged.
LUMDB_EXPORT bool AddFaintLines(RunHost& host, const TPointList& points,
                                const SLineSearchVal& given, float noise, TLineArray& lines);

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

// Where a database line's expected emission comes from.
enum class EmissionBasis : std::uint8_t {
    Transition,         // g f of the line and the energy of its upper level (Boltzmann)
    RelativeIntensity,  // a relative intensity within the species (NIST's, scaled)
    BandHead,           // a molecular band head's relative intensity (0 .. 1)
    Unknown,            // an f-value without level energies: no expected emission
};

// A database line: its wavelength and its expected emission relative to the strongest line
// of its species (0 .. 1) at kReferenceTemperature, with what that rests on.
struct ReferenceLine {
    float wavelength = 0.0f;
    float strength = 0.0f;
    std::uint32_t species = 0;  // index into ReferenceLines::species
    EmissionBasis basis = EmissionBasis::RelativeIntensity;
    // Transition: g_lower f / wavelength^2 (proportional to g_upper A); otherwise unused.
    float transition = 0.0f;
    float upperEnergy = 0.0f;  // eV, for Transition
    // eV, of the lower level where the database gives either level's energy; NaN otherwise.
    float lowerEnergy = std::numeric_limits<float>::quiet_NaN();
    // Band heads: the sequence of heads the line belongs to (numbered within the species
    // from 1); 0 for atomic lines.
    std::uint32_t sequence = 0;
};

struct ReferenceLines {
    std::vector<std::string> species;  // species labels as the database gives them ("Fe I")
    std::vector<ReferenceLine> lines;  // sorted by wavelength
};

// The plasma temperature (K) at which the expected emission of atomic lines is estimated
// from g f / wavelength^2 and the Boltzmann factor of the upper level.
inline constexpr double kReferenceTemperature = 10000.0;

// The expected emission of `line` at temperature `kelvin`, relative within its species and
// basis: g f / wavelength^2 times the Boltzmann factor for a transition, the stored relative
// value otherwise; NaN for EmissionBasis::Unknown.
LUMDB_EXPORT double ExpectedEmission(const ReferenceLine& line, double kelvin);

// Reads the database lines of the selected elements and stages (the identification's walk
// over the files: `values` gives Neutrals, FirstIons, HigherIons and decipherMode) with
// from <= wavelength <= to. Expected strength within a species: for atomic lines with an
// f-value, g_lower f / wavelength^2 times exp(-E_upper / kT); for NIST relative intensities
// and molecular band heads the stored relative value; each kind scaled to its species'
// strongest line in the whole file. Lines below `floor` of that are left out. An f-value
// without either level energy is scaled as if the lower level were the ground state but
// marked EmissionBasis::Unknown. Band heads of one system less than 6 nm apart form one
// sequence.
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
    // Estimated by JudgeSpecies from the agreeing lines of the species present, where the
    // vote of EstimateShifts left the segment open.
    bool fromSpecies = false;

    bool estimated() const { return outcome == ShiftOutcome::Estimated; }
    double centre() const { return 0.5 * (from + to); }
    // The database wavelength that would appear at measured position x.
    double corrected(double x) const;
};

// The x ranges [from, to] of the segments of the axis of `points`: runs of points without a
// gap wider than `gapSteps` times the local step, in rising x.
LUMDB_EXPORT std::vector<std::pair<double, double>> AxisSegments(std::span<const TPointF> points,
                                                                 double gapSteps = 4.0);

// Splits the x axis of `points` into segments at gaps of many steps and estimates each
// segment's shift from `measured` (MeasureLines of its found lines, `noise` the noise used
// over the whole axis, scaled per segment by SegmentNoiseRatio) against `references` by a
// vote: every pairing of a measured line with a nearby database line proposes a shift, and
// the shift that most measured lines agree on within the tolerance wins when it stands
// clearly above chance and above any other shift; it is then refined on its supporting
// lines (mean, or a Theil-Sen line with the stretch).
LUMDB_EXPORT std::vector<SegmentShift> EstimateShifts(std::span<const TPointF> points,
                                                      std::span<const LineMeasurement> measured,
                                                      float noise, const ReferenceLines& references,
                                                      const ShiftSettings& settings = {});

// Judging which species are in a sample.
enum class Verdict : std::uint8_t { Present, Possible, Unsupported };

struct EvidenceSettings {
    double temperature = kReferenceTemperature;  // K, for the Boltzmann factor
    // Fit the temperature from the found lines of the leading present species (a Boltzmann
    // plot over at least four lines spanning 1 eV) and judge again at it.
    bool fitTemperature = false;
    // A source out of equilibrium (a discharge lamp) excites each species in its own way: a
    // species with lines of level energies that is not present at the temperature is judged
    // again at these multiples of it (no lower than 2500 K), each time with its chance
    // multiplied by the temperatures tried, and is present at the best of them where it is
    // present there. Empty: one temperature for all.
    std::vector<double> ladder = {0.3, 0.5, 1.5};
    std::size_t strongest = 12;   // strongest expected lines per species that are judged
    double atomAccuracy = 0.003;  // nm, standard uncertainty of an atomic database wavelength
    double headAccuracy = 0.03;   // nm, of a band head (heads move with the resolution)
    double reach = 3.0;           // a database line matches within this many combined sigmas
    double visible = 5.0;         // a line predicted this many noises high must be seen
    double ratioTolerance = 3.0;  // factor within which a found line agrees with its prediction
    // Lines whose lower level lies at most groundTerm (eV) above the ground state may stand
    // up to selfAbsorption times lower than predicted (beyond ratioTolerance) before they
    // count against their species.
    double groundTerm = 0.15;
    double selfAbsorption = 5.0;
    double presentScore = 0.7;    // score from which a species with agreeing lines is present
    double possibleScore = 0.15;  // score from which a species with a found line is possible
    // Present also needs its agreeing lines to be this unlikely by chance: for each, a
    // measured line of about the predicted height as close as it was found (from the density
    // and heights of the measured lines nearby), for any as many of the judged lines. Every
    // species is tried, so a few would pass a lenient bar in any line-rich spectrum.
    double presentChance = 1e-3;
    std::size_t presentLines = 2;  // fewest agreeing lines of a present species
    // Agreement far less likely by chance makes a species of lines (not band heads) present
    // from a lower score: where lines are dense, every match is discounted for the neighbours
    // that could have met it, which caps the score of a species whose many lines all agree.
    double sureChance = 1e-5;
    double sureScore = 0.35;
    // Segments the line vote left without a shift are searched within +/- maxShift (nm) for
    // the shift under which at least searchLines lines of present species agree.
    double maxShift = 1.0;
    double maxStretch = 1.5e-3;  // nm per nm, tried on long segments
    double stretchGain = 1.25;   // factor by which a stretch must beat no stretch in that search
    // Fewest agreeing lines from which that search accepts a shift; the shifts it tried
    // then multiply the chance of every species matched with it.
    std::size_t searchLines = 3;
    // A found line, at least `visible` noises high, that no present species accounts for came
    // from some species: where only one species could show it and that species' line agrees
    // there with nothing it predicts above the noise missing, from a score of soleScore, the
    // species is present on that line alone (a species with one line above the noise).
    bool soleExplanation = true;
    double soleScore = 0.5;
};

// How one expected line of a species fared.
enum class LineOutcome : std::uint8_t {
    Agrees,      // found, with the predicted height within the ratio tolerance
    Stronger,    // found, much higher than predicted: a blend with another line, mild support
    Weaker,      // found, much lower than predicted: counter-evidence
    Missing,     // not found although predicted to stand above the noise: counter-evidence
    Faint,       // predicted below the noise and not found: says nothing
    Unresolved,  // next to a stronger judged line of its species, or hidden in the flank of a
                 // neighbour (the data stand about as high as predicted): says nothing
    Explained,   // found on a line that a species judged present before accounts for (at
                 // least half its height): no evidence of its own
    Unscaled,    // not found, in a segment of the x axis where no line of the species was
                 // found: the response there is unknown, so it says nothing
    Absorbed,    // a line from the ground term found weaker or missing, by no more than
                 // self-absorption can explain: says nothing
};

struct ExpectedLine {
    std::size_t reference = 0;     // index into ReferenceLines::lines
    double expected = 0.0;         // emission relative to the species' strongest judged line
    double position = 0.0;         // where the shifted database line should appear
    double sigma = 0.0;            // combined standard uncertainty of the position match
    double predicted = 0.0;        // expected height: the species' scale times `expected`
    std::ptrdiff_t measured = -1;  // index of the matched measured line, -1 none
    double likelihood = 0.0;       // of the position error, 0 .. 1
    double chance = 0.0;           // probability of a measured line that near by chance
    double signal = 0.0;  // not matched: how high the data stand there; -1 next to a stronger line
    LineOutcome outcome = LineOutcome::Faint;
    double weight = 0.0;        // share of the line in the species' score
    double contribution = 0.0;  // its signed contribution (-1 .. 1) before weighting
};

struct SpeciesEvidence {
    std::uint32_t species = 0;  // index into ReferenceLines::species
    Verdict verdict = Verdict::Unsupported;
    EmissionBasis basis = EmissionBasis::Unknown;
    bool scored = false;       // false: the database gives no expected emission (score unknown)
    double score = 0.0;        // -1 .. 1: weighted agreement of the judged lines
    double scale = 0.0;        // measured height per unit of expected emission (in the
                               // segment of the strongest judged line that has a scale)
    std::size_t found = 0;     // judged lines found (Agrees or Stronger)
    std::size_t expected = 0;  // judged lines that say something (not Faint or Unresolved)
    std::size_t missing = 0;   // Missing or Weaker
    double chance = 1.0;       // probability of agreement as close by chance
    double temperature = 0.0;  // K, at which its lines were judged (see EvidenceSettings::ladder)
    // Present as the only explanation of this measured line (EvidenceSettings::soleExplanation),
    // -1 otherwise.
    std::ptrdiff_t soleLine = -1;
    std::vector<ExpectedLine> lines;  // the judged lines, strongest expected first
};

// A database line as the explanation of a measured line.
struct LineCandidate {
    std::size_t reference = 0;  // index into ReferenceLines::lines
    double score = 0.0;         // 0 .. 1, comparable across species
    double likelihood = 0.0;    // of the position error
    double intensity = 0.0;     // agreement of the predicted with the measured height; -1 unknown
};

struct EvidenceResult {
    double temperature = 0.0;  // K, at which the species were judged
    bool temperatureFitted = false;
    std::uint32_t temperatureSpecies = 0;  // the species it was fitted from
    // The shifts the species were matched with: those given, and for segments without an
    // estimate the one the species' lines agree on, if any (SegmentShift::fromSpecies).
    std::vector<SegmentShift> shifts;
    std::vector<SpeciesEvidence> species;  // species with judged lines, best first
    // Per measured line its candidates, best first; those of present species lead.
    std::vector<std::vector<LineCandidate>> candidates;
};

// Judges every species of `references` against the measured lines of a spectrum `points`
// (MeasureLines,
// `noise` the noise used over the whole axis; each segment is judged with it scaled by
// SegmentNoiseRatio) with each segment's shift (EstimateShifts; a segment without
// an estimate gets the shift its species agree on, or is matched unshifted). Per species the
// strongest expected lines in the covered range are matched; the species' scale in each segment
// is the one, among those its found lines there suggest, under which the judged lines agree
// best; found lines that agree with their prediction count for it, lines that should stand
// above the noise but are absent or much weaker count against it (not so lines of segments
// without a found line of the species, nor ground-term lines within what self-absorption
// allows). Species judged present then claim their lines, least likely by chance first, and
// the species after them are judged again without those lines. Deterministic: the result
// depends on the order of neither the species nor the lines of `references`.
LUMDB_EXPORT EvidenceResult JudgeSpecies(std::span<const TPointF> points,
                                         std::span<const LineMeasurement> measured, float noise,
                                         const ReferenceLines& references,
                                         std::span<const SegmentShift> shifts,
                                         const EvidenceSettings& settings = {});

// The judgement of one spectrum from its found lines, every step above in turn.
struct SpectrumJudgement {
    float noise = 0.0f;                     // RobustNoise of the points
    std::vector<LineMeasurement> measured;  // one per found line, same order
    std::vector<SegmentShift> shifts;
    EvidenceResult evidence;
};

// Measures `lines` (found by the line search, which worked with `searchNoise`, 0 when not
// known) against the robust noise, estimates the shift per segment and judges the species
// of `references` with the larger of the two noises: a line the search could not have found
// is no counter-evidence.
LUMDB_EXPORT SpectrumJudgement JudgeSpectrum(std::span<const TPointF> points,
                                             const TLineArray& lines, float searchNoise,
                                             const ReferenceLines& references,
                                             const ShiftSettings& shiftSettings = {},
                                             const EvidenceSettings& evidenceSettings = {});

}  // namespace lumdb
