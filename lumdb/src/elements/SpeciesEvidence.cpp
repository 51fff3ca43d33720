// JudgeSpecies: which species the measured lines of a spectrum speak for, with the evidence
// for and against each, and every measured line's database candidates ranked by a score
// that means the same for every species.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <tuple>

#include "elements/SortedSeries.h"
#include "lumdb/Elements.h"

namespace lumdb {

namespace {

constexpr double kBoltzmannEv = 8.617333262e-5;  // eV per K
// Lines that overlap pull each other's measured peak aside by a fraction of their width;
// this share of the width enters every position match.
constexpr double kBlend = 0.15;
// The shift search matches at least this many of a segment's strongest lines.
constexpr std::size_t kSearchLines = 400;

// One segment of the x axis with the model that maps database wavelengths into it.
struct Frame {
    double from = 0.0, to = 0.0;
    double shift = 0.0, stretch = 0.0, centre = 0.0;
    double modelSigma = 0.0;         // scatter of lines about the model (or a guess without one)
    double width = 0.0;              // typical full width at half maximum of its lines
    double uncertainty = 0.0;        // typical position uncertainty of its lines
    double density = 0.0;            // measured lines per nm
    double noise = 0.0;              // noise amplitude in the segment
    double trials = 1.0;             // shifts tried to find the model's shift from the species
    std::size_t supportLines = 0;    // the lines that shift rests on
    std::vector<std::size_t> lines;  // measured lines in it, by position
    std::vector<double> heights;     // their heights, rising

    double place(double w) const { return w + shift + stretch * (w - centre); }
    // The database wavelength that appears at x.
    double unplace(double x) const { return (x - shift + stretch * centre) / (1.0 + stretch); }
};

double median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

std::vector<Frame> framesOf(std::span<const LineMeasurement> measured,
                            std::span<const SegmentShift> shifts) {
    std::vector<Frame> frames;
    for (const SegmentShift& s : shifts) {
        Frame f;
        f.from = s.from;
        f.to = s.to;
        f.centre = s.centre();
        std::vector<double> widths, uncertainties;
        // A line whose measurement failed (not finite) takes no part: comparisons with NaN
        // would leave the orderings below without a consistent order.
        for (std::size_t i = 0; i < measured.size(); ++i)
            if (measured[i].position >= s.from && measured[i].position <= s.to &&
                std::isfinite(measured[i].uncertainty) && std::isfinite(measured[i].height) &&
                std::isfinite(measured[i].width)) {
                f.lines.push_back(i);
                widths.push_back(measured[i].width);
                uncertainties.push_back(measured[i].uncertainty);
            }
        std::stable_sort(f.lines.begin(), f.lines.end(), [&](std::size_t a, std::size_t b) {
            return measured[a].position < measured[b].position;
        });
        f.width = median(widths);
        f.uncertainty = median(uncertainties);
        f.density = s.to > s.from ? static_cast<double>(f.lines.size()) / (s.to - s.from) : 0.0;
        for (std::size_t i : f.lines) f.heights.push_back(measured[i].height);
        std::sort(f.heights.begin(), f.heights.end());
        if (s.estimated()) {
            f.shift = s.shift;
            f.stretch = s.stretch;
            const double n = static_cast<double>(std::max<std::size_t>(1, s.support.size()));
            // The residuals' scatter about the model, as the shift estimate found it.
            f.modelSigma = std::hypot(s.shiftUncertainty * std::sqrt(n), s.shiftUncertainty);
        } else {
            f.modelSigma = std::max(0.02, 0.25 * f.width);
        }
        frames.push_back(std::move(f));
    }
    return frames;
}

const Frame* frameAt(const std::vector<Frame>& frames, double w, double& position) {
    for (const Frame& f : frames) {
        const double p = f.place(w);
        if (p >= f.from && p <= f.to) {
            position = p;
            return &f;
        }
    }
    return nullptr;
}

struct Context {
    const detail::SortedSeries& series;
    std::span<const LineMeasurement> measured;
    float noise;
    const ReferenceLines& refs;
    const EvidenceSettings& settings;
    std::vector<Frame> frames;
    // Per measured line the height the species accepted as present so far predict for it;
    // empty before any is accepted.
    std::vector<double> explained;

    double dbSigma(const ReferenceLine& r) const {
        return r.basis == EmissionBasis::BandHead ? settings.headAccuracy : settings.atomAccuracy;
    }
    // The position uncertainty of a match without the allowance for blends: how close an
    // isolated line can be placed.
    double sigmaApart(const ReferenceLine& r, const Frame& f, double lineUncertainty) const {
        const double d = dbSigma(r);
        return std::sqrt(lineUncertainty * lineUncertainty + d * d + f.modelSigma * f.modelSigma);
    }
    double sigma(const ReferenceLine& r, const Frame& f, double lineUncertainty) const {
        const double d = dbSigma(r);
        return std::sqrt(lineUncertainty * lineUncertainty + d * d + f.modelSigma * f.modelSigma +
                         kBlend * kBlend * f.width * f.width);
    }
    // The farthest a database line of any kind can lie from a measured line of segment `f`
    // (at most four times its typical uncertainty) and still match it.
    double widest(const Frame& f) const {
        return settings.reach *
               std::sqrt(16 * f.uncertainty * f.uncertainty +
                         settings.headAccuracy * settings.headAccuracy +
                         f.modelSigma * f.modelSigma + kBlend * kBlend * f.width * f.width);
    }
    // What the data show at x: the highest point within `reach` above the lowest point
    // within two line widths, the local baseline.
    double signalAt(double x, double reach, double width) const {
        const std::vector<float>& xs = series.xs();
        if (xs.empty()) return 0.0;
        auto index = [&](double v) {
            return static_cast<std::int32_t>(std::lower_bound(xs.begin(), xs.end(), v) -
                                             xs.begin());
        };
        const auto n = static_cast<std::int32_t>(xs.size());
        const std::int32_t a = std::min(index(x - reach), n - 1),
                           b = std::min(index(x + reach), n - 1);
        const std::int32_t lo = std::min(index(x - 2 * width), n - 1),
                           hi = std::min(index(x + 2 * width), n - 1);
        double top = series.y(a), bottom = series.y(lo);
        for (std::int32_t k = a; k <= b; ++k) top = std::max(top, series.y(k));
        for (std::int32_t k = lo; k <= hi; ++k) bottom = std::min(bottom, series.y(k));
        return top - bottom;
    }
    // The measured line nearest to `position` within reach, and the match's sigma.
    std::ptrdiff_t nearest(const ReferenceLine& r, const Frame& f, double position,
                           double& sigmaOut) const {
        const double wide = settings.reach * sigma(r, f, 4 * f.uncertainty + 1e-9);
        const auto lo =
            std::lower_bound(f.lines.begin(), f.lines.end(), position - wide,
                             [&](std::size_t i, double x) { return measured[i].position < x; });
        std::ptrdiff_t best = -1;
        double bestZ = settings.reach;
        sigmaOut = sigma(r, f, f.uncertainty);
        for (auto it = lo; it != f.lines.end() && measured[*it].position <= position + wide; ++it) {
            const double s = sigma(r, f, measured[*it].uncertainty);
            const double z = std::abs(measured[*it].position - position) / s;
            if (z <= bestZ) {
                bestZ = z;
                best = static_cast<std::ptrdiff_t>(*it);
                sigmaOut = s;
            }
        }
        return best;
    }
};

// A species' judged lines and how its scale and outcomes follow from them.
struct Judged {
    SpeciesEvidence evidence;
    double norm = 1.0;                 // raw expected emission of the strongest judged line
    double tries = 1.0;                // temperatures tried to find it: they multiply its chance
    std::vector<const Frame*> frames;  // the segment of each judged line
    std::vector<double> scales;        // the species' scale in the segment of each judged line

    // The species' scale in segment `f`, 0 where none of its lines was found there.
    double scaleIn(const Frame* f) const {
        double scale = 0.0;
        for (std::size_t k = 0; k < frames.size() && k < scales.size(); ++k)
            if (frames[k] == f && scales[k] > 0) scale = scales[k];
        return scale;
    }
};

// The share of a segment's measured lines whose height agrees with `predicted`: how likely a
// chance neighbour also passes for the line. Never below one in twenty.
double heightChance(const Frame& f, double predicted, double tolerance) {
    if (f.heights.empty() || !(predicted > 0)) return 1.0;
    const auto lo = std::lower_bound(f.heights.begin(), f.heights.end(), predicted / tolerance);
    const auto hi = std::upper_bound(f.heights.begin(), f.heights.end(), predicted * tolerance);
    return std::max(0.05, static_cast<double>(hi - lo) / static_cast<double>(f.heights.size()));
}

// A line whose lower level lies in the ground term: in a dense plasma the atoms in that
// level absorb it on its way out, so it may stand much lower than its emission predicts.
bool fromGround(const ReferenceLine& r, const EvidenceSettings& s) {
    return r.lowerEnergy <= s.groundTerm;
}

// A line beside a stronger judged line of its species, or on a line another species
// explains: it takes no part in the species' score.
bool saysNothing(const ExpectedLine& l) {
    return (l.outcome == LineOutcome::Unresolved && l.signal < 0) ||
           l.outcome == LineOutcome::Explained;
}

// Judges the lines of `ev` with the species' scale in each line's segment (`scales`, one
// per line; 0 where no line of the species was found in the segment); `tries` multiplies
// the chance (the temperatures tried for the species).
void evaluate(const Context& ctx, SpeciesEvidence& ev, const std::vector<const Frame*>& frames,
              const std::vector<double>& scales, double tries) {
    const EvidenceSettings& s = ctx.settings;
    ev.found = ev.expected = ev.missing = 0;
    std::size_t agreeing = 0;
    double weights = 0.0, sum = 0.0;
    for (std::size_t k = 0; k < ev.lines.size(); ++k) {
        ExpectedLine& l = ev.lines[k];
        const double scale = scales[k];
        const double visible = s.visible * frames[k]->noise;
        l.predicted = scale * l.expected;
        l.contribution = 0.0;
        l.weight = 0.0;
        if (saysNothing(l)) continue;
        if (!(scale > 0) && l.measured < 0) {
            // Each segment of the x axis may come from its own detector with its own
            // response: without a found line of the species in it, its height there is
            // unknown.
            l.outcome = LineOutcome::Unscaled;
            continue;
        }
        const double w = std::sqrt(l.expected) * std::min(1.0, l.predicted / visible);
        if (l.measured >= 0) {
            const double a = ctx.measured[static_cast<std::size_t>(l.measured)].height;
            const double ratio = l.predicted > 0 ? a / l.predicted : 1e30;
            // A chance neighbour would also have to match the predicted height, which about
            // one in three does; the position error weighs, but a model that is a little off
            // should not erase a match.
            const double support = (1.0 - 0.5 * l.chance) * (0.3 + 0.7 * l.likelihood);
            if (ratio > s.ratioTolerance) {
                l.outcome = LineOutcome::Stronger;
                l.contribution = 0.5 * support;
            } else if (ratio * s.ratioTolerance < 1.0 &&
                       fromGround(ctx.refs.lines[l.reference], s) &&
                       ratio * s.ratioTolerance * s.selfAbsorption >= 1.0) {
                l.outcome = LineOutcome::Absorbed;
                continue;
            } else if (ratio * s.ratioTolerance < 1.0) {
                l.outcome = LineOutcome::Weaker;
                l.contribution = -0.5;
            } else {
                l.outcome = LineOutcome::Agrees;
                l.contribution = support;
                ++agreeing;
            }
            l.weight = w;
        } else if (l.predicted >= visible && 2.0 * l.signal >= l.predicted) {
            // Not found as a line of its own, but the data stand at least half as high there
            // (a line adds all its height to what is below it): it hides in the flank of a
            // neighbour, which says nothing either way.
            l.outcome = LineOutcome::Unresolved;
            continue;
        } else if (l.predicted >= visible && fromGround(ctx.refs.lines[l.reference], s) &&
                   l.predicted < visible * s.selfAbsorption) {
            l.outcome = LineOutcome::Absorbed;
            continue;
        } else if (l.predicted >= visible) {
            l.outcome = LineOutcome::Missing;
            l.contribution = -1.0;
            l.weight = std::sqrt(l.expected);
        } else {
            l.outcome = LineOutcome::Faint;
        }
        if (l.weight <= 0) continue;
        ++ev.expected;
        if (l.outcome == LineOutcome::Agrees || l.outcome == LineOutcome::Stronger) ++ev.found;
        if (l.outcome == LineOutcome::Missing || l.outcome == LineOutcome::Weaker) ++ev.missing;
        weights += l.weight;
        sum += l.weight * l.contribution;
    }
    // Band heads: within a sequence the heads' heights follow the vibrational population,
    // which the database's relative head intensities do not give. A head found much higher
    // than predicted agrees where at least two other heads of its sequence agree: the
    // sequence found at one shift is the evidence, not the ratio of its heads.
    for (ExpectedLine& l : ev.lines) {
        const ReferenceLine& r = ctx.refs.lines[l.reference];
        if (l.outcome != LineOutcome::Stronger || r.basis != EmissionBasis::BandHead) continue;
        std::size_t others = 0;
        for (const ExpectedLine& o : ev.lines)
            others += o.outcome == LineOutcome::Agrees &&
                      ctx.refs.lines[o.reference].basis == EmissionBasis::BandHead &&
                      ctx.refs.lines[o.reference].sequence == r.sequence;
        if (others < 2) continue;
        sum += l.weight * l.contribution;  // from half its support to all of it
        l.contribution *= 2;
        l.outcome = LineOutcome::Agrees;
        ++agreeing;
    }
    const double total =
        std::accumulate(ev.lines.begin(), ev.lines.end(), 0.0,
                        [](double t, const ExpectedLine& l) { return t + l.weight; });
    for (ExpectedLine& l : ev.lines) l.weight = total > 0 ? l.weight / total : 0.0;
    ev.score = weights > 0 ? sum / weights : 0.0;
    // How likely agreement as good as this is by chance: for each agreeing line, a measured
    // line of about the predicted height as close to where it should be (no closer than an
    // isolated line can be placed: closer than that, position says no more); any `agreeing`
    // of the judged lines could have met such neighbours, the faint ones too.
    std::size_t candidates = 0;
    double product = 1.0;
    for (std::size_t k = 0; k < ev.lines.size(); ++k) {
        const ExpectedLine& l = ev.lines[k];
        if (saysNothing(l)) continue;
        ++candidates;
        if (l.outcome != LineOutcome::Agrees) continue;
        const LineMeasurement& m = ctx.measured[static_cast<std::size_t>(l.measured)];
        const double off = std::abs(m.position - l.position);
        const double floor = ctx.sigmaApart(ctx.refs.lines[l.reference], *frames[k], m.uncertainty);
        const double near = std::min(0.95, frames[k]->density * 2 * std::max(off, floor));
        // A band head that agrees as part of its sequence although much higher than
        // predicted: a chance neighbour would have to be about as high as the head found.
        const bool sequenceHead = ctx.refs.lines[l.reference].basis == EmissionBasis::BandHead &&
                                  m.height > l.predicted * s.ratioTolerance;
        product *=
            heightChance(*frames[k], sequenceHead ? m.height : l.predicted, s.ratioTolerance) *
            near;
    }
    double ways = 1.0;
    for (std::size_t i = 0; i < agreeing; ++i)
        ways *= static_cast<double>(candidates - i) / static_cast<double>(i + 1);
    // A shift found from the species' own lines gave them as many chances as shifts were
    // tried; where other species' lines carry most of it, it says little about this one.
    double trials = 1.0;
    for (const Frame* f : frames)
        if (2 * agreeing >= f->supportLines) trials = std::max(trials, f->trials);
    ev.chance = agreeing > 0 ? std::min(1.0, tries * trials * ways * product) : 1.0;
    // Band heads agree loosely (their positions move with the resolution, and a sequence lets
    // heads far higher than predicted agree): they keep the usual bar.
    const bool convincing = (ev.score >= s.presentScore && ev.chance <= s.presentChance) ||
                            (ev.basis != EmissionBasis::BandHead && ev.score >= s.sureScore &&
                             ev.chance <= s.sureChance);
    if (convincing && agreeing >= s.presentLines)
        ev.verdict = Verdict::Present;
    else if (ev.score >= s.possibleScore && ev.found >= 1)
        ev.verdict = Verdict::Possible;
    else
        ev.verdict = Verdict::Unsupported;
}

// Matches the selected lines of `j` (positions set) with the measured lines and finds the
// scale under which they agree best. Without `lookAtData` a line that is not found is not
// looked for in the data's flanks (the quick form for trying many shifts).
void match(const Context& ctx, Judged& j, bool lookAtData = true) {
    const EvidenceSettings& s = ctx.settings;
    SpeciesEvidence& ev = j.evidence;
    for (std::size_t k = 0; k < ev.lines.size(); ++k) {
        ExpectedLine& l = ev.lines[k];
        const Frame& frame = *j.frames[k];
        const ReferenceLine& r = ctx.refs.lines[l.reference];
        l.outcome = LineOutcome::Faint;
        l.likelihood = l.chance = l.signal = 0.0;
        l.measured = ctx.nearest(r, frame, l.position, l.sigma);
        l.chance = std::min(0.95, frame.density * 2 * s.reach * l.sigma);
        if (l.measured >= 0 && !ctx.explained.empty() &&
            2.0 * ctx.explained[static_cast<std::size_t>(l.measured)] >=
                ctx.measured[static_cast<std::size_t>(l.measured)].height) {
            l.outcome = LineOutcome::Explained;
            continue;
        }
        if (l.measured >= 0) {
            const double z =
                (ctx.measured[static_cast<std::size_t>(l.measured)].position - l.position) /
                l.sigma;
            l.likelihood = std::exp(-0.5 * z * z);
        } else if (lookAtData) {
            l.signal = ctx.signalAt(l.position, s.reach * l.sigma, frame.width);
        }
        // A line closer to a stronger judged line of its species than the lines' width
        // cannot be told apart from it: it says nothing of its own.
        for (std::size_t o = 0; o < k; ++o) {
            const ExpectedLine& stronger = ev.lines[o];
            const ReferenceLine& other = ctx.refs.lines[stronger.reference];
            const bool sameMatch = l.measured >= 0 && stronger.measured == l.measured;
            const bool near =
                std::abs(stronger.position - l.position) < std::max(frame.width, s.reach * l.sigma);
            if (sameMatch ||
                (near && (r.basis != EmissionBasis::BandHead || other.sequence == r.sequence))) {
                l.outcome = LineOutcome::Unresolved;
                l.measured = -1;
                l.signal = -1.0;
                break;
            }
        }
    }
    if (!lookAtData && ev.scored) {
        // Trying shifts, only a species with two found lines can agree: no scale is tried
        // for the others.
        std::size_t found = 0;
        for (const ExpectedLine& l : ev.lines) found += l.measured >= 0;
        if (found < 2) {
            ev.found = found;
            ev.score = 0.0;
            ev.verdict = Verdict::Unsupported;
            return;
        }
    }
    if (!ev.scored) {
        ev.found = 0;
        for (const ExpectedLine& l : ev.lines)
            ev.found += l.measured >= 0 && l.outcome != LineOutcome::Explained;
        ev.expected = ev.lines.size();
        ev.verdict = ev.found >= 2 ? Verdict::Possible : Verdict::Unsupported;
        ev.score = std::nan("");
        return;
    }
    // Per segment, segments in the order of their strongest judged line: the scale each
    // found line there suggests, and the one under which the judged lines agree best.
    // Lines another species explains suggest scales only where no other line is found: the
    // species would need such a scale to show them, so its missing lines still speak.
    j.scales.assign(ev.lines.size(), 0.0);
    std::vector<const Frame*> segments;
    for (const Frame* f : j.frames)
        if (std::find(segments.begin(), segments.end(), f) == segments.end()) segments.push_back(f);
    for (const Frame* f : segments) {
        std::vector<double> scales, explainedScales;
        for (std::size_t k = 0; k < ev.lines.size(); ++k) {
            const ExpectedLine& l = ev.lines[k];
            if (j.frames[k] == f && l.measured >= 0)
                (l.outcome == LineOutcome::Explained ? explainedScales : scales)
                    .push_back(ctx.measured[static_cast<std::size_t>(l.measured)].height /
                               l.expected);
        }
        if (scales.empty()) scales = std::move(explainedScales);
        std::sort(scales.begin(), scales.end());
        double bestScale = 0.0, bestScore = -2.0;
        std::size_t bestFound = 0;
        auto setScale = [&](double a) {
            for (std::size_t k = 0; k < ev.lines.size(); ++k)
                if (j.frames[k] == f) j.scales[k] = a;
        };
        for (const double a : scales) {
            if (!(a > 0) || !std::isfinite(a)) continue;
            setScale(a);
            evaluate(ctx, ev, j.frames, j.scales, j.tries);
            if (ev.score > bestScore + 1e-12 ||
                (std::abs(ev.score - bestScore) <= 1e-12 && ev.found > bestFound)) {
                bestScore = ev.score;
                bestScale = a;
                bestFound = ev.found;
            }
        }
        setScale(bestScale);
    }
    evaluate(ctx, ev, j.frames, j.scales, j.tries);
    // The scale reported is that of the segment of the strongest judged line with one.
    ev.scale = 0.0;
    for (const double a : j.scales)
        if (a > 0) {
            ev.scale = a;
            break;
        }
}

// The strongest expected lines of species `sp` among `lines` (its references, by
// wavelength) in the range `frames` cover, at temperature `kelvin`; not yet matched.
Judged select(const Context& ctx, const std::vector<Frame>& frames, std::uint32_t sp,
              const std::vector<std::size_t>& lines, double kelvin) {
    const EvidenceSettings& s = ctx.settings;
    Judged j;
    SpeciesEvidence& ev = j.evidence;
    ev.species = sp;
    struct Covered {
        std::size_t ref;
        double position;
        const Frame* frame;
    };
    std::vector<Covered> covered;
    std::size_t counts[4] = {0, 0, 0, 0};
    for (std::size_t r : lines) {
        double p = 0.0;
        if (const Frame* f = frameAt(frames, ctx.refs.lines[r].wavelength, p)) {
            covered.push_back({r, p, f});
            ++counts[static_cast<int>(ctx.refs.lines[r].basis)];
        }
    }
    if (covered.empty()) return j;
    // One basis per species: intensities of different bases are not on one scale.
    const auto T = static_cast<std::size_t>(EmissionBasis::Transition);
    const auto R = static_cast<std::size_t>(EmissionBasis::RelativeIntensity);
    const auto B = static_cast<std::size_t>(EmissionBasis::BandHead);
    ev.basis = counts[B] > 0                                 ? EmissionBasis::BandHead
               : counts[T] >= 3 || (counts[T] && !counts[R]) ? EmissionBasis::Transition
               : counts[R] > 0                               ? EmissionBasis::RelativeIntensity
                                                             : EmissionBasis::Unknown;
    ev.scored = ev.basis != EmissionBasis::Unknown;
    struct Ranked {
        double e;
        Covered c;
    };
    std::vector<Ranked> ranked;
    for (const Covered& c : covered) {
        const ReferenceLine& r = ctx.refs.lines[c.ref];
        if (ev.scored && r.basis != ev.basis) continue;
        const double e = ev.scored ? ExpectedEmission(r, kelvin) : r.strength;
        if (std::isfinite(e) && e > 0) ranked.push_back({e, c});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.e > b.e; });
    if (ranked.size() > s.strongest) ranked.resize(s.strongest);
    if (ranked.empty()) return j;
    j.norm = ranked.front().e;
    for (const Ranked& k : ranked) {
        ExpectedLine l;
        l.reference = k.c.ref;
        l.expected = k.e / j.norm;
        l.position = k.c.position;
        ev.lines.push_back(l);
        j.frames.push_back(k.c.frame);
    }
    return j;
}

Judged judge(const Context& ctx, std::uint32_t sp, const std::vector<std::size_t>& lines,
             double kelvin) {
    Judged j = select(ctx, ctx.frames, sp, lines, kelvin);
    j.evidence.temperature = kelvin;
    if (j.evidence.lines.empty()) return j;
    match(ctx, j);
    // Out of equilibrium, a species' lines may follow another temperature than the one
    // assumed; two found lines are the least that could tell.
    const auto& ladder = ctx.settings.ladder;
    const SpeciesEvidence& ev = j.evidence;
    const auto found = std::count_if(ev.lines.begin(), ev.lines.end(),
                                     [](const ExpectedLine& l) { return l.measured >= 0; });
    if (ladder.empty() || ev.verdict == Verdict::Present || ev.basis != EmissionBasis::Transition ||
        found < 2)
        return j;
    std::optional<Judged> best;
    for (const double factor : ladder) {
        const double t = std::max(2500.0, factor * kelvin);
        Judged k = select(ctx, ctx.frames, sp, lines, t);
        if (k.evidence.lines.empty()) continue;
        k.evidence.temperature = t;
        k.tries = 1.0 + static_cast<double>(ladder.size());
        match(ctx, k);
        if (k.evidence.verdict == Verdict::Present &&
            (!best || k.evidence.score > best->evidence.score))
            best = std::move(k);
    }
    if (best) return std::move(*best);
    return j;
}

// A species whose lines agree at a trial shift: present but for the test against chance,
// which the comparison of the shifts with each other takes over.
bool agreesWell(const Context& ctx, const SpeciesEvidence& ev) {
    std::size_t agreeing = 0;
    for (const ExpectedLine& l : ev.lines) agreeing += l.outcome == LineOutcome::Agrees;
    return ev.score >= ctx.settings.presentScore && agreeing >= 2;
}

// For a segment whose shift the line vote left open: the shift under which the species'
// strongest lines agree best, tried on a grid over the whole range of shifts. Every species
// that would be present there counts its agreeing lines; the shift wins when they are at
// least searchLines and clearly more than at any shift apart from it. It is then refined on
// those lines (their median offset) and kept with its supporting lines.
bool searchShift(const Context& ctx, Frame& frame,
                 const std::vector<std::vector<std::size_t>>& bySpecies, double kelvin,
                 SegmentShift& out) {
    const EvidenceSettings& s = ctx.settings;
    const double maxShift = std::abs(s.maxShift);
    if (frame.lines.size() < 2 || !(maxShift > 0)) return false;
    // A quarter of the line width, and at least four steps either side of no shift.
    const double step = std::max(0.005, std::min(0.25 * frame.width, 0.25 * maxShift));
    Frame trial = frame;
    trial.shift = trial.stretch = 0.0;
    trial.modelSigma = step;
    // Lines below the noise bar take part only among the segment's strongest: the line
    // search finds noise as well, and in a spectrum of noise alone thousands of such lines
    // would let some species agree at every shift, and make the search slow.
    if (trial.lines.size() > kSearchLines) {
        const std::vector<double>& heights = trial.heights;
        const double least =
            std::min(ctx.settings.visible * frame.noise, heights[heights.size() - kSearchLines]);
        std::erase_if(trial.lines,
                      [&](std::size_t i) { return !(ctx.measured[i].height >= least); });
        std::erase_if(trial.heights, [&](double h) { return !(h >= least); });
    }
    trial.density = frame.to > frame.from
                        ? static_cast<double>(trial.lines.size()) / (frame.to - frame.from)
                        : 0.0;
    if (trial.lines.size() < 2) return false;
    const std::vector<Frame> frames{trial};
    std::vector<Judged> selected;
    for (std::uint32_t sp = 0; sp < bySpecies.size(); ++sp) {
        const auto& all = bySpecies[sp];
        std::vector<std::size_t> near;
        for (std::size_t r : all) {
            const double w = ctx.refs.lines[r].wavelength;
            if (w >= frame.from && w <= frame.to) near.push_back(r);
        }
        if (near.empty()) continue;
        Judged j = select(ctx, frames, sp, near, kelvin);
        if (j.evidence.lines.size() >= 2 && j.evidence.scored) selected.push_back(std::move(j));
    }
    for (Judged& j : selected)
        for (const Frame*& f : j.frames) f = &trial;
    const int steps = static_cast<int>(std::floor(maxShift / step));
    // Long segments are tried with a few stretches as well, each moving the segment's ends
    // by one step of the shift grid.
    const double halfSpan = 0.5 * (frame.to - frame.from);
    const double stretchStep = halfSpan > 0 ? step / halfSpan : 0.0;
    const int stretches =
        stretchStep > 0 ? std::min(4, static_cast<int>(std::floor(s.maxStretch / stretchStep))) : 0;
    double stretch = 0.0;
    auto place = [&](Judged& j, double shift) {
        for (ExpectedLine& l : j.evidence.lines) {
            const double w = ctx.refs.lines[l.reference].wavelength;
            l.position = w + shift + stretch * (w - frame.centre);
        }
    };
    // Per shift: the agreeing lines (their likelihoods) and what confirms the shift. Each
    // species' first line only picks a shift, its further lines confirm it: a species counts
    // its likelihoods times (n - 1) / n for n agreeing lines, each weighted, as in the line
    // vote, by the square root of its height against the segment's tallest line. Chance
    // coincidences scatter over many species with two weak lines each; a species present,
    // a band sequence above all, agrees with many strong lines at one shift. The count of
    // agreeing lines still decides whether there are enough.
    double tallest = 0.0;
    for (const std::size_t i : frame.lines) tallest = std::max(tallest, ctx.measured[i].height);
    std::vector<double> objective, unstretched, confirmed, confirmedUnstretched;
    double bestObjective = -1.0, bestConfirmed = -1.0, bestStretch = 0.0;
    // No stretch first; a stretch is a further parameter and wins only where it confirms the
    // shift clearly better than none.
    double unstretchedTop = 0.0;
    for (int n = 0; n <= 2 * stretches; ++n) {
        const int q = n % 2 ? (n + 1) / 2 : -(n / 2);
        stretch = q * stretchStep;
        std::vector<double> tried(static_cast<std::size_t>(2 * steps + 1), 0.0);
        std::vector<double> confirms(tried.size(), 0.0);
        for (int k = -steps; k <= steps; ++k) {
            double sum = 0.0, confirm = 0.0;
            for (Judged& j : selected) {
                place(j, k * step);
                match(ctx, j, false);
                if (!agreesWell(ctx, j.evidence)) continue;
                double own = 0.0, heavy = 0.0;
                std::size_t n = 0;
                for (const ExpectedLine& l : j.evidence.lines)
                    if (l.outcome == LineOutcome::Agrees) {
                        own += l.likelihood;
                        ++n;
                        const double h = ctx.measured[static_cast<std::size_t>(l.measured)].height;
                        heavy += l.likelihood *
                                 (tallest > 0 ? std::sqrt(std::max(0.0, h / tallest)) : 1.0);
                    }
                sum += own;
                confirm += heavy * static_cast<double>(n - 1) / static_cast<double>(n);
            }
            tried[static_cast<std::size_t>(k + steps)] = sum;
            confirms[static_cast<std::size_t>(k + steps)] = confirm;
        }
        const auto top = std::max_element(confirms.begin(), confirms.end());
        if (q == 0) unstretched = tried, confirmedUnstretched = confirms, unstretchedTop = *top;
        if (*top > bestConfirmed && (q == 0 || *top > s.stretchGain * unstretchedTop)) {
            bestConfirmed = *top;
            bestObjective = tried[static_cast<std::size_t>(top - confirms.begin())];
            bestStretch = stretch;
            objective = tried;
            confirmed = confirms;
        }
    }
    stretch = bestStretch;
    // Fewer lines than a stretch needs besides the shift: a shift alone.
    if (bestObjective < static_cast<double>(s.searchLines)) {
        stretch = 0.0;
        objective = std::move(unstretched);
        confirmed = std::move(confirmedUnstretched);
    }
    const auto best = std::max_element(confirmed.begin(), confirmed.end());
    const int bestK = static_cast<int>(best - confirmed.begin()) - steps;
    double runnerUp = 0.0;
    for (int k = -steps; k <= steps; ++k)
        if (std::abs(k - bestK) > 4)
            runnerUp = std::max(runnerUp, confirmed[static_cast<std::size_t>(k + steps)]);
    out.bestShift = bestK * step;
    // Likelihoods below one make the sum a little short of the agreeing lines behind it;
    // their count is checked on the refined shift.
    const double lines = objective[static_cast<std::size_t>(bestK + steps)];
    if (lines < 0.5 * static_cast<double>(s.searchLines) || *best < 1.5 * runnerUp) return false;

    // Refinement on the agreeing lines of the species present at the best shift.
    double shift = bestK * step;
    std::vector<ShiftSupport> support;
    for (int round = 0; round < 2; ++round) {
        support.clear();
        std::vector<double> offsets;
        std::vector<bool> taken(ctx.measured.size(), false);
        for (Judged& j : selected) {
            place(j, shift);
            match(ctx, j, false);
            if (!agreesWell(ctx, j.evidence)) continue;
            for (const ExpectedLine& l : j.evidence.lines) {
                if (l.outcome != LineOutcome::Agrees || taken[static_cast<std::size_t>(l.measured)])
                    continue;
                taken[static_cast<std::size_t>(l.measured)] = true;
                const double x = ctx.measured[static_cast<std::size_t>(l.measured)].position;
                const double w = ctx.refs.lines[l.reference].wavelength;
                offsets.push_back(x - w - stretch * (w - frame.centre));
                support.push_back({static_cast<std::size_t>(l.measured),
                                   ctx.refs.lines[l.reference].wavelength,
                                   ctx.refs.lines[l.reference].species, 0.0});
            }
        }
        // Two lines suffice where no other shift lets any species agree at all.
        if (offsets.size() < (runnerUp > 0 ? s.searchLines : std::size_t{2})) return false;
        shift = median(offsets);
    }
    // Refined beyond the range searched, the shift is not one the search could have found.
    if (std::abs(shift) > maxShift) return false;
    std::vector<double> deviations;
    for (ShiftSupport& sup : support) {
        sup.residual = ctx.measured[sup.line].position - sup.reference - shift -
                       stretch * (sup.reference - frame.centre);
        deviations.push_back(std::abs(sup.residual));
    }
    const double n = static_cast<double>(support.size());
    const double spread = std::max(1.4826 * median(deviations), frame.uncertainty);
    std::sort(support.begin(), support.end(), [&](const ShiftSupport& a, const ShiftSupport& b) {
        return ctx.measured[a.line].position < ctx.measured[b.line].position;
    });
    out.outcome = ShiftOutcome::Estimated;
    out.fromSpecies = true;
    out.shift = shift;
    out.stretch = stretch;
    out.shiftUncertainty = spread / std::sqrt(n);
    out.bestLines = support.size();
    out.support = std::move(support);
    frame.shift = shift;
    frame.stretch = stretch;
    frame.modelSigma = std::hypot(spread, out.shiftUncertainty);
    // The shift was chosen to make these lines agree: as many chances as shifts were tried.
    frame.trials = static_cast<double>(objective.size());
    frame.supportLines = out.support.size();
    return true;
}

// Whether the strongest lines of any species make it present (on agreement, before the
// explaining away) under segment `frame`'s model.
bool anySpeciesPresent(const Context& ctx, const Frame& frame,
                       const std::vector<std::vector<std::size_t>>& bySpecies, double kelvin) {
    const std::vector<Frame> frames{frame};
    for (std::uint32_t sp = 0; sp < bySpecies.size(); ++sp) {
        Judged j = select(ctx, frames, sp, bySpecies[sp], kelvin);
        if (j.evidence.lines.size() < 2 || !j.evidence.scored) continue;
        match(ctx, j, false);
        if (j.evidence.verdict == Verdict::Present) return true;
    }
    return false;
}

// A present species' lines beyond those judged account for measured lines as well: each of
// its lines that its scale in the segment predicts above the noise claims the measured line
// it matches with that height. True when any was claimed.
bool claimBeyond(Context& ctx, const Judged& j, const std::vector<std::size_t>& lines) {
    const SpeciesEvidence& ev = j.evidence;
    if (!ev.scored) return false;
    std::vector<std::size_t> judgedRefs;
    // A transition's predicted height rests on the temperature assumed, the more so the
    // further its upper level lies from those of the lines that set the scale: only lines
    // within the span of the agreeing lines' upper levels (0.25 eV either side) claim.
    double lowest = std::numeric_limits<double>::infinity(), highest = -lowest;
    for (const ExpectedLine& l : ev.lines) {
        judgedRefs.push_back(l.reference);
        if (l.outcome != LineOutcome::Agrees) continue;
        lowest = std::min<double>(lowest, ctx.refs.lines[l.reference].upperEnergy);
        highest = std::max<double>(highest, ctx.refs.lines[l.reference].upperEnergy);
    }
    std::sort(judgedRefs.begin(), judgedRefs.end());
    bool claimed = false;
    for (const std::size_t r : lines) {
        const ReferenceLine& ref = ctx.refs.lines[r];
        if (ref.basis != ev.basis || std::binary_search(judgedRefs.begin(), judgedRefs.end(), r))
            continue;
        if (ref.basis == EmissionBasis::Transition &&
            !(ref.upperEnergy >= lowest - 0.25 && ref.upperEnergy <= highest + 0.25))
            continue;
        double position = 0.0;
        const Frame* f = frameAt(ctx.frames, ref.wavelength, position);
        if (!f) continue;
        const double predicted = j.scaleIn(f) * ExpectedEmission(ref, ev.temperature) / j.norm;
        if (!(predicted > f->noise) || !std::isfinite(predicted)) continue;
        double sigma = 0.0;
        const std::ptrdiff_t m = ctx.nearest(ref, *f, position, sigma);
        if (m < 0) continue;
        ctx.explained[static_cast<std::size_t>(m)] += predicted;
        claimed = true;
    }
    return claimed;
}

// Explaining away: the species judged present, the least likely by chance first, claim the
// measured lines they account for; every species after them is judged again without the
// lines claimed before it, so that a line shared with a present species is no evidence for
// a species whose own lines are missing. The order rests on the evidence and the labels
// only, not on the order of the database files.
void explainAway(Context& ctx, std::vector<Judged>& judged,
                 const std::vector<std::vector<std::size_t>>& bySpecies) {
    std::vector<std::size_t> order(judged.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto key = [&](std::size_t k) {
        const SpeciesEvidence& ev = judged[k].evidence;
        return std::make_tuple(ev.verdict != Verdict::Present, ev.chance,
                               std::cref(ctx.refs.species[ev.species]));
    };
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    ctx.explained.assign(ctx.measured.size(), 0.0);
    bool claimed = false;
    for (const std::size_t k : order) {
        Judged& j = judged[k];
        if (claimed) match(ctx, j);
        if (j.evidence.verdict != Verdict::Present) continue;
        for (const ExpectedLine& l : j.evidence.lines)
            if (l.measured >= 0 &&
                (l.outcome == LineOutcome::Agrees || l.outcome == LineOutcome::Stronger)) {
                ctx.explained[static_cast<std::size_t>(l.measured)] += l.predicted;
                claimed = true;
            }
        claimed |= claimBeyond(ctx, j, bySpecies[j.evidence.species]);
    }
}

// Whether species `j` could show a measured line of `height` in segment `f` through its
// database line `r`: scaled so that r stands that high, none of its judged lines in the
// segment would stand far higher than the data there. A species whose scale is unknown
// cannot be ruled out.
bool couldShow(const Context& ctx, const Judged& j, const ReferenceLine& r, const Frame& f,
               double height) {
    const EvidenceSettings& s = ctx.settings;
    const SpeciesEvidence& ev = j.evidence;
    if (!ev.scored) return true;
    if (r.basis != ev.basis) return false;
    const double e = ExpectedEmission(r, ev.temperature) / j.norm;
    if (!(e > 0) || !std::isfinite(e)) return false;
    for (std::size_t k = 0; k < ev.lines.size(); ++k) {
        const ExpectedLine& l = ev.lines[k];
        if (j.frames[k] != &f || (l.outcome == LineOutcome::Unresolved && l.signal < 0)) continue;
        const double seen = l.measured >= 0
                                ? ctx.measured[static_cast<std::size_t>(l.measured)].height
                                : std::max(0.0, l.signal);
        double allowed = s.ratioTolerance * std::max(seen, s.visible * f.noise);
        if (fromGround(ctx.refs.lines[l.reference], s)) allowed *= s.selfAbsorption;
        if (height * l.expected / e > allowed) return false;
    }
    return true;
}

// A measured line that stands clear of the noise and that no present species accounts for
// came from some species. The species that could show it (couldShow, through any of their
// database lines within reach) are its explanations; a species whose judged line agrees there,
// with nothing it predicts above the noise missing or weaker, is present on that line when
// every other explanation fails to show one of its other agreeing lines: a species whose
// strongest line is the only one above the noise cannot be told from chance by agreement,
// but it can by elimination. A line that a present species could show, that is much wider
// than its neighbours (a band or a blend) or lies within two widths of the segment's ends
// makes no species present, nor does any line of a segment where no species is present on
// agreement. Uses the claims explainAway left in ctx.explained.
void presentByElimination(const Context& ctx, std::vector<Judged>& judged) {
    const EvidenceSettings& s = ctx.settings;
    const auto& refs = ctx.refs.lines;
    std::vector<Judged*> ofSpecies(ctx.refs.species.size(), nullptr);
    for (Judged& j : judged) ofSpecies[j.evidence.species] = &j;
    std::vector<const Frame*> frameOf(ctx.measured.size(), nullptr);
    for (const Frame& f : ctx.frames)
        for (const std::size_t m : f.lines) frameOf[m] = &f;
    std::vector<bool> taken(ctx.measured.size(), false);
    // Segments where a species is present on agreement: their lines come from the database's
    // species. Elsewhere a peak may be no emission line at all (an absorption band, a
    // detector's edge, a lamp's continuum), and the one species that could show it says
    // nothing.
    std::vector<bool> anchored(ctx.frames.size(), false);
    for (const Judged& j : judged)
        if (j.evidence.verdict == Verdict::Present)
            for (std::size_t k = 0; k < j.evidence.lines.size(); ++k) {
                const ExpectedLine& l = j.evidence.lines[k];
                if (l.measured >= 0) taken[static_cast<std::size_t>(l.measured)] = true;
                if (l.outcome == LineOutcome::Agrees)
                    anchored[static_cast<std::size_t>(j.frames[k] - ctx.frames.data())] = true;
            }
    // The species that could show measured line m, and whether a present one could.
    struct Explanations {
        std::vector<std::uint32_t> species;
        bool present = false;
    };
    auto explanations = [&](std::size_t m) {
        Explanations out;
        const Frame& f = *frameOf[m];
        const LineMeasurement& line = ctx.measured[m];
        const double widest = ctx.widest(f);
        const double w0 = f.unplace(line.position);
        auto it =
            std::lower_bound(refs.begin(), refs.end(), w0 - widest,
                             [](const ReferenceLine& r, double w) { return r.wavelength < w; });
        for (; it != refs.end() && it->wavelength <= w0 + widest; ++it) {
            const double z =
                (line.position - f.place(it->wavelength)) / ctx.sigma(*it, f, line.uncertainty);
            if (!(std::abs(z) <= s.reach) ||
                std::find(out.species.begin(), out.species.end(), it->species) != out.species.end())
                continue;
            const Judged* j = it->species < ofSpecies.size() ? ofSpecies[it->species] : nullptr;
            if (j && !couldShow(ctx, *j, *it, f, line.height)) continue;
            out.present |= j && j->evidence.verdict == Verdict::Present;
            out.species.push_back(it->species);
        }
        return out;
    };
    for (std::size_t fi = 0; fi < ctx.frames.size(); ++fi) {
        if (!anchored[fi]) continue;
        const Frame& f = ctx.frames[fi];
        for (const std::size_t m : f.lines) {
            // A line cut by the segment's end, where detectors also leave artefacts, is not
            // trusted alone either.
            const LineMeasurement& line = ctx.measured[m];
            const double edge = 2.0 * std::max(line.width, f.width);
            if (taken[m] || !(line.height >= s.visible * f.noise) ||
                !(line.width <= 2.0 * f.width) || !(line.position - f.from >= edge) ||
                !(f.to - line.position >= edge) ||
                (!ctx.explained.empty() && 2.0 * ctx.explained[m] >= line.height))
                continue;
            const Explanations here = explanations(m);
            if (here.present) continue;
            // Every explanation is weighed before any is made present, so that the outcome
            // does not depend on their order.
            std::vector<SpeciesEvidence*> sole;
            for (const std::uint32_t sp : here.species) {
                if (!ofSpecies[sp]) continue;
                SpeciesEvidence& ev = ofSpecies[sp]->evidence;
                const bool agrees =
                    std::any_of(ev.lines.begin(), ev.lines.end(), [&](const ExpectedLine& l) {
                        return l.measured == static_cast<std::ptrdiff_t>(m) &&
                               l.outcome == LineOutcome::Agrees;
                    });
                if (!agrees || ev.verdict == Verdict::Present || ev.missing > 0 ||
                    ev.score < s.soleScore)
                    continue;
                std::vector<std::uint32_t> others;
                for (const std::uint32_t o : here.species)
                    if (o != sp) others.push_back(o);
                // Its other agreeing lines tell it from the others, but not those a present
                // species could show or that it could not show itself at that height.
                for (const ExpectedLine& l : ev.lines) {
                    if (others.empty()) break;
                    if (l.outcome != LineOutcome::Agrees ||
                        l.measured == static_cast<std::ptrdiff_t>(m))
                        continue;
                    const Explanations there = explanations(static_cast<std::size_t>(l.measured));
                    if (there.present || std::find(there.species.begin(), there.species.end(),
                                                   sp) == there.species.end())
                        continue;
                    std::erase_if(others, [&](std::uint32_t o) {
                        return std::find(there.species.begin(), there.species.end(), o) ==
                               there.species.end();
                    });
                }
                if (others.empty()) sole.push_back(&ev);
            }
            for (SpeciesEvidence* ev : sole) {
                ev->verdict = Verdict::Present;
                ev->soleLine = static_cast<std::ptrdiff_t>(m);
            }
        }
    }
}

int verdictRank(Verdict v) {
    return v == Verdict::Present ? 0 : v == Verdict::Possible ? 1 : 2;
}

// Ranks species: verdict, then score (an unknown score after every known one), then label.
void rankSpecies(std::vector<SpeciesEvidence>& species, const ReferenceLines& refs) {
    std::stable_sort(species.begin(), species.end(),
                     [&](const SpeciesEvidence& a, const SpeciesEvidence& b) {
                         if (a.verdict != b.verdict)
                             return verdictRank(a.verdict) < verdictRank(b.verdict);
                         if (a.scored != b.scored) return a.scored;
                         if (a.scored && a.score != b.score) return a.score > b.score;
                         if (a.found != b.found) return a.found > b.found;
                         return refs.species[a.species] < refs.species[b.species];
                     });
}

// A Boltzmann plot of the leading present species' found transition lines: the logarithm of
// height over g f / wavelength^2 against the upper level's energy falls by 1/kT. Theil-Sen.
bool fitTemperature(const Context& ctx, const std::vector<Judged>& judged,
                    const std::vector<std::vector<std::size_t>>& bySpecies, double& kelvin,
                    std::uint32_t& from) {
    const Judged* lead = nullptr;
    std::size_t leadFound = 0;
    for (const Judged& j : judged) {
        const SpeciesEvidence& ev = j.evidence;
        if (ev.verdict != Verdict::Present || ev.basis != EmissionBasis::Transition) continue;
        std::size_t agreeing = 0;
        for (const ExpectedLine& l : ev.lines) agreeing += l.outcome == LineOutcome::Agrees;
        if (agreeing > leadFound ||
            (agreeing == leadFound && lead &&
             ctx.refs.species[ev.species] < ctx.refs.species[lead->evidence.species])) {
            lead = &j;
            leadFound = agreeing;
        }
    }
    if (!lead) return false;
    std::vector<std::pair<double, double>> points;  // (energy, log ratio)
    std::vector<std::ptrdiff_t> used;
    for (std::size_t r : bySpecies[lead->evidence.species]) {
        const ReferenceLine& ref = ctx.refs.lines[r];
        if (ref.basis != EmissionBasis::Transition || !(ref.transition > 0)) continue;
        double p = 0.0;
        const Frame* f = frameAt(ctx.frames, ref.wavelength, p);
        if (!f) continue;
        double sigma = 0.0;
        const std::ptrdiff_t m = ctx.nearest(ref, *f, p, sigma);
        if (m < 0 || std::find(used.begin(), used.end(), m) != used.end()) continue;
        const double a = ctx.measured[static_cast<std::size_t>(m)].height;
        if (!(a > ctx.settings.visible * f->noise)) continue;
        used.push_back(m);
        points.push_back({ref.upperEnergy, std::log(a / ref.transition)});
    }
    if (points.size() < 4) return false;
    double lo = points.front().first, hi = lo;
    for (const auto& p : points) lo = std::min(lo, p.first), hi = std::max(hi, p.first);
    if (hi - lo < 1.0) return false;
    std::vector<double> slopes;
    for (std::size_t a = 0; a < points.size(); ++a)
        for (std::size_t b = a + 1; b < points.size(); ++b)
            if (std::abs(points[b].first - points[a].first) > 0.2)
                slopes.push_back((points[b].second - points[a].second) /
                                 (points[b].first - points[a].first));
    const double slope = median(slopes);
    if (!(slope < 0)) return false;
    const double t = -1.0 / (kBoltzmannEv * slope);
    if (!(t >= 2000.0 && t <= 50000.0)) return false;
    kelvin = t;
    from = lead->evidence.species;
    return true;
}

}  // namespace

EvidenceResult JudgeSpecies(std::span<const TPointF> points,
                            std::span<const LineMeasurement> measured, float noise,
                            const ReferenceLines& references, std::span<const SegmentShift> shifts,
                            const EvidenceSettings& settings) {
    EvidenceResult result;
    const detail::SortedSeries series(points);
    Context ctx{series,     measured, std::max(noise, 1e-30f),
                references, settings, framesOf(measured, shifts),
                {}};
    {
        std::vector<std::pair<double, double>> ranges;
        for (const Frame& f : ctx.frames) ranges.emplace_back(f.from, f.to);
        const std::vector<double> ratios = SegmentNoiseRatios(points, ranges);
        for (std::size_t k = 0; k < ctx.frames.size(); ++k)
            ctx.frames[k].noise = ctx.noise * ratios[k];
    }
    std::vector<std::vector<std::size_t>> bySpecies(references.species.size());
    for (std::size_t i = 0; i < references.lines.size(); ++i)
        if (references.lines[i].species < bySpecies.size())
            bySpecies[references.lines[i].species].push_back(i);

    auto judgeAll = [&](double kelvin) {
        std::vector<Judged> judged;
        for (std::uint32_t sp = 0; sp < bySpecies.size(); ++sp) {
            Judged j = judge(ctx, sp, bySpecies[sp], kelvin);
            if (!j.evidence.lines.empty()) judged.push_back(std::move(j));
        }
        return judged;
    };
    result.temperature = settings.temperature;
    result.shifts.assign(shifts.begin(), shifts.end());
    for (std::size_t f = 0; f < ctx.frames.size(); ++f) {
        if (!shifts[f].estimated()) {
            searchShift(ctx, ctx.frames[f], bySpecies, result.temperature, result.shifts[f]);
        } else if (!anySpeciesPresent(ctx, ctx.frames[f], bySpecies, result.temperature)) {
            // The vote's lines agree one by one with lines of many species, none of which
            // would be present there: strong lines met by chance. Where the species' own
            // search finds a shift, it replaces the vote's.
            Frame frame = ctx.frames[f];
            SegmentShift searched = result.shifts[f];
            if (searchShift(ctx, frame, bySpecies, result.temperature, searched)) {
                ctx.frames[f] = frame;
                result.shifts[f] = searched;
            }
        }
    }
    std::vector<Judged> judged = judgeAll(result.temperature);
    if (settings.fitTemperature) {
        double kelvin = 0.0;
        std::uint32_t from = 0;
        if (fitTemperature(ctx, judged, bySpecies, kelvin, from)) {
            result.temperature = kelvin;
            result.temperatureFitted = true;
            result.temperatureSpecies = from;
            judged = judgeAll(kelvin);
        }
    }

    explainAway(ctx, judged, bySpecies);
    if (settings.soleExplanation) presentByElimination(ctx, judged);
    ctx.explained.clear();

    // Candidates of every measured line, scored with their species' scale and verdict.
    std::vector<const Judged*> ofSpecies(references.species.size(), nullptr);
    for (const Judged& j : judged) ofSpecies[j.evidence.species] = &j;
    result.candidates.resize(measured.size());
    for (const Frame& f : ctx.frames) {
        const double widest = ctx.widest(f);
        for (std::size_t m : f.lines) {
            const LineMeasurement& line = measured[m];
            const double w0 = f.unplace(line.position);
            const auto lo =
                std::lower_bound(references.lines.begin(), references.lines.end(), w0 - widest,
                                 [](const ReferenceLine& r, double w) { return r.wavelength < w; });
            auto& list = result.candidates[m];
            for (auto it = lo; it != references.lines.end() && it->wavelength <= w0 + widest;
                 ++it) {
                const double sigma = ctx.sigma(*it, f, line.uncertainty);
                const double z = (line.position - f.place(it->wavelength)) / sigma;
                if (!(std::abs(z) <= settings.reach)) continue;
                LineCandidate c;
                c.reference = static_cast<std::size_t>(it - references.lines.begin());
                c.likelihood = std::exp(-0.5 * z * z);
                c.intensity = -1.0;
                double speciesFactor = 0.03;
                if (const Judged* j =
                        it->species < ofSpecies.size() ? ofSpecies[it->species] : nullptr) {
                    const SpeciesEvidence& ev = j->evidence;
                    speciesFactor = ev.verdict == Verdict::Present    ? 1.0
                                    : ev.verdict == Verdict::Possible ? 0.3
                                                                      : 0.03;
                    const double scale = j->scaleIn(&f);
                    if (ev.scored && it->basis == ev.basis && scale > 0) {
                        const double e = ExpectedEmission(*it, ev.temperature) / j->norm;
                        const double p = scale * e;
                        if (std::isfinite(p) && p > 0 && line.height > 0)
                            c.intensity =
                                std::sqrt(std::min(p, line.height) / std::max(p, line.height));
                    }
                }
                c.score = c.likelihood * (c.intensity < 0 ? 0.1 : c.intensity) * speciesFactor;
                list.push_back(c);
            }
            std::stable_sort(list.begin(), list.end(),
                             [&](const LineCandidate& a, const LineCandidate& b) {
                                 const auto va = ofSpecies[references.lines[a.reference].species];
                                 const auto vb = ofSpecies[references.lines[b.reference].species];
                                 const bool pa = va && va->evidence.verdict == Verdict::Present;
                                 const bool pb = vb && vb->evidence.verdict == Verdict::Present;
                                 if (pa != pb) return pa;
                                 if (a.score != b.score) return a.score > b.score;
                                 const std::string& la =
                                     references.species[references.lines[a.reference].species];
                                 const std::string& lb =
                                     references.species[references.lines[b.reference].species];
                                 if (la != lb) return la < lb;
                                 return references.lines[a.reference].wavelength <
                                        references.lines[b.reference].wavelength;
                             });
        }
    }

    for (Judged& j : judged) result.species.push_back(std::move(j.evidence));
    rankSpecies(result.species, references);
    return result;
}

SpectrumJudgement JudgeSpectrum(std::span<const TPointF> points, const TLineArray& lines,
                                float searchNoise, const ReferenceLines& references,
                                const ShiftSettings& shiftSettings,
                                const EvidenceSettings& evidenceSettings) {
    SpectrumJudgement j;
    j.noise = RobustNoise(points);
    j.measured = MeasureLines(points, lines, j.noise);
    j.shifts = EstimateShifts(points, j.measured, j.noise, references, shiftSettings);
    j.evidence = JudgeSpecies(points, j.measured, std::max(j.noise, searchNoise), references,
                              j.shifts, evidenceSettings);
    return j;
}

}  // namespace lumdb
