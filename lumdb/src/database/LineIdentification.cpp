// LineIdentification: database lines of the selected species within the hit interval of
// every found line, and the strongest of them per species.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DatabaseRun.h"
#include "StoredFile.h"
#include "lumdb/Database.h"

namespace {

using lumdb::detail::SpeciesFile;

// The walk only notes its hits (texts in one buffer); the lines' lists are filled once at the
// end, line by line. Filling them during the walk touched a different, scattered line for
// nearly every hit and grew each string and list piecemeal, which cost more than the walk.
class IdentificationVisitor : public lumdb::detail::RecordVisitor {
  public:
    IdentificationVisitor(TLineArray& lines, const SSelectElVal& values)
        : lines_(lines), settings_(values) {
        xs_.reserve(lines.size());
        for (const CLine& line : lines) {
            xs_.push_back(line.x);
            if (line.x != line.x) ordered_ = false;
        }
        if (!std::is_sorted(xs_.begin(), xs_.end())) ordered_ = false;
    }

    void beginFile(const SpeciesFile&) override { ++fileNumber_; }

    bool record(const SpeciesFile& file, float lambda,
                lumdb::detail::RecordText& recordText) override {
        // The hit interval is half-open, [lambda - tol, lambda + tol), so that a found line
        // between two database lines exactly 2 tol apart is not counted for both. The lines
        // are sorted by x: a binary search finds the first one at or above lambda - tol.
        const float low = lambda - settings_.SearchRange;
        const float high = lambda + settings_.SearchRange;
        const auto it = xs_.begin() + static_cast<std::ptrdiff_t>(firstNotBelow(low));
        if (it == xs_.end() || !(*it < high)) return true;

        const std::string_view rest = recordText.get();
        float v = 0.0f;
        if (!lumdb::detail::parseNumberField(lumdb::RecordField(rest, 0), v)) return false;
        // The strength depends on the record alone, so it decides for every line of the window.
        if (settings_.IntensityRange) {
            const float s =
                lumdb::StrengthOf(settings_.IntensityOption, v, lambda, file.atomic, rest);
            if (!(settings_.LowerIntensity <= s && s <= settings_.UpperIntensity)) return true;
        }
        Hit hit;
        hit.first = static_cast<std::uint32_t>(it - xs_.begin());
        std::size_t end = hit.first + 1;
        while (end < xs_.size() && xs_[end] < high) ++end;
        hit.end = static_cast<std::uint32_t>(end);
        hit.file = static_cast<std::uint32_t>(fileNumber_);
        hit.value = v;
        hit.color = file.element->color;
        // The candidate's label (lumdb::FormatCandidateLabel's text, without printf's cost),
        // then the record text.
        scratch_ = file.label;
        lumdb::detail::appendGeneral(scratch_, lambda, 7);
        scratch_ += ';';
        lumdb::detail::appendGeneral(scratch_, v, 6);
        hit.labelLength = static_cast<std::uint32_t>(scratch_.size());
        lumdb::detail::appendUtf8(scratch_, rest);
        hit.recordLength = static_cast<std::uint32_t>(scratch_.size() - hit.labelLength);
        hit.text = texts_.store(scratch_);
        hits_.push_back(hit);
        pairs_ += end - hit.first;
        return true;
    }

    void endFile(const SpeciesFile&) override { endedFiles_ = fileNumber_; }

    // Every line gets its candidates in the order the walk found them (a species file's
    // together), and per species its entry by AppendSpeciesEntries: the strongest candidate,
    // with "*" when the species gave the line more than one. Species are told apart by their
    // whole label, so one never picks up another's candidate whose label merely contains its
    // own ("Co I" and "CO", "Cu I" and "U I"). A file the walk did not finish (abort) leaves
    // its candidates but no species entries.
    void fill() {
        const std::size_t n = xs_.size();
        // The hits of each line, in the order found: a counting sort by line.
        std::vector<std::uint32_t> start(n + 1, 0);
        for (const Hit& hit : hits_)
            for (std::uint32_t i = hit.first; i < hit.end; ++i) ++start[i + 1];
        for (std::size_t i = 0; i < n; ++i) start[i + 1] += start[i];
        std::vector<std::uint32_t> byLine(pairs_);
        {
            std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
            for (std::uint32_t h = 0; h < hits_.size(); ++h)
                for (std::uint32_t i = hits_[h].first; i < hits_[h].end; ++i) byLine[next[i]++] = h;
        }
        for (std::size_t index = 0; index < n; ++index) {
            const std::uint32_t from = start[index], to = start[index + 1];
            if (from == to) continue;
            CLine& line = lines_[index];
            const std::size_t first = line.candidateLabels.size();
            std::size_t complete = first;  // the candidates of files the walk finished
            line.candidateLabels.reserve(first + (to - from));
            line.candidateColors.reserve(first + (to - from));
            line.candidateRecords.reserve(first + (to - from));
            values_.clear();
            for (std::uint32_t k = from; k < to; ++k) {
                const Hit& hit = hits_[byLine[k]];
                line.candidateLabels.emplace_back(label(hit));
                line.candidateColors.push_back(hit.color);
                line.candidateRecords.emplace_back(record(hit));
                values_.push_back(hit.value);
                if (hit.file <= endedFiles_) complete = line.candidateLabels.size();
            }
            AppendSpeciesEntries(line, first, complete, values_.data());
        }
    }

  private:
    // The first line at or above `low`, as std::lower_bound over all lines finds it. The
    // records of a file come in rising wavelength, so the search starts where the previous
    // one ended and strides forward from there: a few steps instead of a full binary
    // search over 20,000 lines for each of 300,000 records. (Should the lines not be in
    // order, or a position not be a number, always the full search.)
    std::size_t firstNotBelow(float low) {
        const std::size_t n = xs_.size();
        std::size_t from = 0, to = n;
        if (ordered_ && (hint_ == 0 || xs_[hint_ - 1] < low)) {
            // Every line before hint_ is below low.
            from = hint_;
            for (std::size_t step = 1;; step *= 2) {
                if (n - from <= step) break;
                if (!(xs_[from + step - 1] < low)) {
                    to = from + step - 1;
                    break;
                }
                from += step;
            }
        } else if (ordered_) {
            to = hint_;
        }
        const auto found = std::lower_bound(xs_.begin() + static_cast<std::ptrdiff_t>(from),
                                            xs_.begin() + static_cast<std::ptrdiff_t>(to), low);
        hint_ = static_cast<std::size_t>(found - xs_.begin());
        return hint_;
    }

    struct Hit {
        const char* text;  // label, then record text
        std::uint32_t labelLength;
        std::uint32_t recordLength;
        std::uint32_t first, end;  // the lines of the hit interval
        std::uint32_t file;        // number of the file, from 1
        float value;
        TColor color;
    };

    std::string_view label(const Hit& hit) const {
        return std::string_view(hit.text, hit.labelLength);
    }
    std::string_view record(const Hit& hit) const {
        return std::string_view(hit.text + hit.labelLength, hit.recordLength);
    }

    TLineArray& lines_;
    const SSelectElVal& settings_;
    std::vector<float> xs_;
    bool ordered_ = true;
    std::size_t hint_ = 0;  // where the previous search ended
    std::vector<Hit> hits_;
    std::vector<float> values_;  // the database values of one line's candidates
    lumdb::detail::TextBlocks texts_;
    std::string scratch_;    // the texts of one hit while they are built
    std::size_t pairs_ = 0;  // (line, hit) pairs in all
    std::uint32_t fileNumber_ = 0;
    std::uint32_t endedFiles_ = 0;  // files are numbered in walk order; these were finished
};

}  // namespace

unsigned char LineIdentification(lumdb::RunHost& parent, const std::string& dataDir,
                                 TLineArray& lines, TElementArray& elements, SSelectElVal values) {
    IdentificationVisitor visitor(lines, values);
    lumdb::detail::StageChoice stages;
    stages.neutrals = values.Neutrals;
    stages.firstIons = values.FirstIons;
    stages.higherIons = values.HigherIons;
    stages.decipherMode = values.decipherMode;
    const unsigned char completed = lumdb::detail::runOverDatabase(
        parent, "Linienidentifizierung:", dataDir, elements, stages, visitor);
    visitor.fill();
    return completed;
}
