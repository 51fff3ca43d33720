// EstimateShifts: the wavelength shift of each segment of the x axis, found by a vote of the
// measured lines against the strongest expected database lines and refined on the lines
// that support it.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "elements/SortedSeries.h"
#include "lumdb/Elements.h"

namespace lumdb {

namespace {

struct Pair {
    double d;            // measured position minus database wavelength
    std::uint32_t line;  // index among the voting lines
    std::uint32_t ref;   // index among the segment's references
    double weight;       // how much the pairing says: strong line with strong database line
};

struct Window {
    double score = 0.0;               // the weights of its pairs
    std::size_t lines = 0;            // distinct lines among them
    std::size_t first = 0, last = 0;  // pair indices, inclusive
};

// The window of width `width` over the sorted proposals with the highest weight; windows
// whose middle lies within `exclude` of `around` are passed over.
Window bestWindow(const std::vector<Pair>& pairs, std::size_t lineCount, double width,
                  double around = 0.0, double exclude = -1.0) {
    std::vector<std::uint32_t> count(lineCount, 0);
    Window best;
    std::size_t distinct = 0, a = 0;
    double score = 0.0;
    for (std::size_t b = 0; b < pairs.size(); ++b) {
        if (count[pairs[b].line]++ == 0) ++distinct;
        score += pairs[b].weight;
        while (pairs[b].d - pairs[a].d > width) {
            score -= pairs[a].weight;
            if (--count[pairs[a++].line] == 0) --distinct;
        }
        if (exclude >= 0 && std::abs(0.5 * (pairs[a].d + pairs[b].d) - around) <= exclude) continue;
        if (score > best.score) best = {score, distinct, a, b};
    }
    return best;
}

double medianOf(std::vector<double> v) {
    if (v.empty()) return 0.0;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    double m = *mid;
    if (v.size() % 2 == 0) m = 0.5 * (m + *std::max_element(v.begin(), mid));
    return m;
}

struct Match {
    std::uint32_t line;
    std::uint32_t ref;
    double d;
    double w;  // database wavelength
};

}  // namespace

double SegmentShift::corrected(double x) const {
    return (x - shift + stretch * centre()) / (1.0 + stretch);
}

std::vector<SegmentShift> EstimateShifts(std::span<const TPointF> points,
                                         std::span<const LineMeasurement> measured, float noise,
                                         const ReferenceLines& references,
                                         const ShiftSettings& settings) {
    std::vector<SegmentShift> out;
    const detail::SortedSeries series(points);
    const double maxShift = std::abs(settings.maxShift);
    std::vector<std::pair<double, double>> ranges;
    for (const auto& [first, last] : series.segments(settings.gapSteps))
        ranges.emplace_back(series.x(static_cast<std::int32_t>(first)),
                            series.x(static_cast<std::int32_t>(last)));
    const std::vector<double> ratios = SegmentNoiseRatios(points, ranges);
    for (std::size_t r = 0; r < ranges.size(); ++r) {
        SegmentShift seg;
        seg.from = ranges[r].first;
        seg.to = ranges[r].second;
        const double c = seg.centre();
        const double segmentNoise = noise * ratios[r];

        // The voting lines: the strongest lines of the segment that stand above the noise.
        std::vector<std::size_t> voters;
        for (std::size_t i = 0; i < measured.size(); ++i) {
            const LineMeasurement& m = measured[i];
            if (!(m.position >= seg.from && m.position <= seg.to)) continue;
            if (!(m.height > settings.minHeight * segmentNoise) || !std::isfinite(m.position))
                continue;
            voters.push_back(i);
        }
        std::stable_sort(voters.begin(), voters.end(), [&](std::size_t a, std::size_t b) {
            return measured[a].height > measured[b].height;
        });
        if (voters.size() > settings.maxMeasured) voters.resize(settings.maxMeasured);
        seg.votingLines = voters.size();
        if (voters.size() < std::max<std::size_t>(settings.minLines, 1)) {
            out.push_back(std::move(seg));
            continue;
        }

        // The strongest expected lines of every species within reach of the segment.
        std::vector<const ReferenceLine*> refs;
        {
            const auto lo = std::lower_bound(
                references.lines.begin(), references.lines.end(), seg.from - maxShift,
                [](const ReferenceLine& r, double w) { return r.wavelength < w; });
            std::vector<const ReferenceLine*> reach;
            for (auto it = lo; it != references.lines.end() && it->wavelength <= seg.to + maxShift;
                 ++it)
                reach.push_back(&*it);
            std::stable_sort(reach.begin(), reach.end(),
                             [](const ReferenceLine* a, const ReferenceLine* b) {
                                 if (a->species != b->species) return a->species < b->species;
                                 return a->strength > b->strength;
                             });
            for (std::size_t k = 0, taken = 0; k < reach.size(); ++k) {
                if (k > 0 && reach[k]->species != reach[k - 1]->species) taken = 0;
                if (taken++ < settings.perSpecies) refs.push_back(reach[k]);
            }
            std::stable_sort(refs.begin(), refs.end(),
                             [](const ReferenceLine* a, const ReferenceLine* b) {
                                 return a->wavelength < b->wavelength;
                             });
        }

        // Agreement is judged within half a step or twice the typical position uncertainty.
        std::vector<double> uncertainties;
        for (std::size_t v : voters) uncertainties.push_back(measured[v].uncertainty);
        double step = 0.0;
        for (std::size_t v : voters) step += measured[v].step;
        step /= static_cast<double>(voters.size());
        const double tol = std::max({0.5 * std::abs(step), 2.0 * medianOf(uncertainties), 1e-4});

        // A pairing weighs by both lines' strength: the square root of the measured line's
        // height against the segment's strongest, times the database line's expected
        // strength within its species. Strong lines matching strong lines is what a shift
        // rests on; the many weak database lines of every species mostly add chance.
        const double tallest = measured[voters.front()].height;
        std::vector<Pair> pairs;
        for (std::uint32_t i = 0; i < voters.size(); ++i) {
            const double x = measured[voters[i]].position;
            const double lineWeight = std::sqrt(measured[voters[i]].height / tallest);
            const auto lo = std::lower_bound(
                refs.begin(), refs.end(), x - maxShift,
                [](const ReferenceLine* r, double w) { return r->wavelength < w; });
            for (auto it = lo; it != refs.end() && (*it)->wavelength <= x + maxShift; ++it)
                pairs.push_back({x - (*it)->wavelength, i,
                                 static_cast<std::uint32_t>(it - refs.begin()),
                                 lineWeight * (*it)->strength});
        }
        // With a stretch the vote runs over a grid of stretches, each step moving the ends of
        // the segment by at most half the tolerance, and the best (stretch, shift) wins.
        const double halfSpan = 0.5 * (seg.to - seg.from);
        const double maxStretch = settings.fitStretch ? std::abs(settings.maxStretch) : 0.0;
        const double stretchStep = halfSpan > 0 ? 0.5 * tol / halfSpan : 1.0;
        const int stretchSteps =
            static_cast<int>(std::min(200.0, std::floor(maxStretch / stretchStep)));
        std::vector<Pair> sorted;
        auto vote = [&](double k) {
            sorted = pairs;
            for (Pair& p : sorted) p.d -= k * (refs[p.ref]->wavelength - c);
            std::sort(sorted.begin(), sorted.end(), [](const Pair& a, const Pair& b) {
                return a.d < b.d ||
                       (a.d == b.d && (a.line < b.line || (a.line == b.line && a.ref < b.ref)));
            });
            return bestWindow(sorted, voters.size(), 2 * tol);
        };
        double k0 = 0.0;
        Window best = vote(0.0);
        for (int j = 1; j <= stretchSteps; ++j)
            for (const double k : {j * stretchStep, -j * stretchStep}) {
                const Window w = vote(k);
                if (w.score > best.score) best = w, k0 = k;
            }
        best = vote(k0);
        if (best.score <= 0) {
            seg.outcome = ShiftOutcome::NotSignificant;
            out.push_back(std::move(seg));
            continue;
        }
        std::vector<double> inWindow;
        for (std::size_t k = best.first; k <= best.last; ++k) inWindow.push_back(sorted[k].d);
        const double s0 = medianOf(inWindow);
        seg.bestShift = s0;
        seg.bestLines = best.lines;
        const Window second = bestWindow(sorted, voters.size(), 2 * tol, s0, 3 * tol);
        seg.runnerUp = second.lines;
        // Proposals spread over the whole range of shifts; a window of width 2 tol catches
        // its share of them by chance, in count and in weight. Trying many stretches gives
        // chance more tries, so the bar is higher then.
        const double share = (2 * tol) / (2 * maxShift + 2 * tol);
        double weights = 0.0, squares = 0.0;
        for (const Pair& p : pairs) {
            weights += p.weight;
            squares += p.weight * p.weight;
        }
        seg.chanceLines = static_cast<double>(pairs.size()) * share;
        const double chanceScore = weights * share;
        const double typicalWeight = weights > 0 ? squares / weights : 0.0;
        const double excess = best.score - chanceScore;
        if (best.lines < settings.minLines) {
            seg.outcome = ShiftOutcome::TooFewLines;
            out.push_back(std::move(seg));
            continue;
        }
        const double bar = stretchSteps > 0 ? 4.5 : 4.0;
        if (excess < bar * std::sqrt(squares * share) + 2 * typicalWeight) {
            seg.outcome = ShiftOutcome::NotSignificant;
            out.push_back(std::move(seg));
            continue;
        }
        if (second.score - chanceScore >= 0.8 * excess) {
            seg.outcome = ShiftOutcome::Ambiguous;
            out.push_back(std::move(seg));
            continue;
        }

        // Refinement: each line's proposal nearest to the model, within tol, until the
        // supporting set settles.
        double shift = s0, stretch = k0;
        std::vector<Match> matches;
        auto gather = [&]() {
            matches.clear();
            std::vector<const Pair*> nearest(voters.size(), nullptr);
            std::vector<double> off(voters.size(), tol);
            for (const Pair& p : pairs) {
                const double w = refs[p.ref]->wavelength;
                const double r = std::abs(p.d - (shift + stretch * (w - c)));
                if (r <= off[p.line] && (!nearest[p.line] || r < off[p.line])) {
                    nearest[p.line] = &p;
                    off[p.line] = r;
                }
            }
            for (std::uint32_t i = 0; i < voters.size(); ++i)
                if (nearest[i])
                    matches.push_back(
                        {i, nearest[i]->ref, nearest[i]->d, refs[nearest[i]->ref]->wavelength});
        };
        for (int round = 0; round < 4; ++round) {
            gather();
            if (matches.empty()) break;
            double lowW = matches.front().w, highW = lowW;
            for (const Match& m : matches) {
                lowW = std::min(lowW, m.w);
                highW = std::max(highW, m.w);
            }
            const bool stretchable = settings.fitStretch &&
                                     matches.size() >= settings.minLines + 2 &&
                                     highW - lowW >= 0.25 * (seg.to - seg.from);
            if (stretchable) {
                // Theil-Sen: the median of the slopes of all pairs, then the median intercept.
                std::vector<double> slopes;
                for (std::size_t a = 0; a < matches.size(); ++a)
                    for (std::size_t b = a + 1; b < matches.size(); ++b)
                        if (std::abs(matches[b].w - matches[a].w) > 4 * tol)
                            slopes.push_back((matches[b].d - matches[a].d) /
                                             (matches[b].w - matches[a].w));
                stretch = slopes.empty() ? 0.0 : medianOf(slopes);
                std::vector<double> intercepts;
                for (const Match& m : matches) intercepts.push_back(m.d - stretch * (m.w - c));
                shift = medianOf(intercepts);
            } else {
                stretch = 0.0;
                double sum = 0.0;
                for (const Match& m : matches) sum += m.d;
                shift = sum / static_cast<double>(matches.size());
            }
        }
        gather();
        if (matches.size() < settings.minLines) {
            seg.outcome = ShiftOutcome::NotSignificant;
            seg.shift = s0;
            out.push_back(std::move(seg));
            continue;
        }
        const auto n = static_cast<double>(matches.size());
        double sumSquares = 0.0, meanW = 0.0, unc2 = 0.0;
        for (const Match& m : matches) {
            const double r = m.d - (shift + stretch * (m.w - c));
            sumSquares += r * r;
            meanW += m.w / n;
            unc2 += measured[voters[m.line]].uncertainty * measured[voters[m.line]].uncertainty / n;
        }
        const double parameters = stretch != 0.0 ? 2.0 : 1.0;
        const double spread =
            std::max(std::sqrt(sumSquares / std::max(1.0, n - parameters)), std::sqrt(unc2));
        double spanW = 0.0;
        for (const Match& m : matches) spanW += (m.w - meanW) * (m.w - meanW);
        seg.outcome = ShiftOutcome::Estimated;
        seg.shift = shift;
        seg.stretch = stretch;
        seg.shiftUncertainty = spread / std::sqrt(n);
        seg.stretchUncertainty = stretch != 0.0 && spanW > 0 ? spread / std::sqrt(spanW) : 0.0;
        for (const Match& m : matches)
            seg.support.push_back({voters[m.line], refs[m.ref]->wavelength, refs[m.ref]->species,
                                   m.d - (shift + stretch * (m.w - c))});
        std::sort(seg.support.begin(), seg.support.end(),
                  [&](const ShiftSupport& a, const ShiftSupport& b) {
                      return measured[a.line].position < measured[b.line].position;
                  });
        out.push_back(std::move(seg));
    }
    return out;
}

}  // namespace lumdb
