// LineIdentification: database lines of the selected species within the hit interval of
// every found line, and the strongest of them per species.
#include <algorithm>
#include <vector>

#include "DatabaseRun.h"
#include "StoredFile.h"
#include "lumdb/Database.h"

namespace {

using lumdb::detail::SpeciesFile;

class IdentificationVisitor : public lumdb::detail::RecordVisitor {
public:
    IdentificationVisitor(TLineArray& lines, const SSelectElVal& values)
        : lines_(lines), values_(values), touchedIn_(lines.size(), -1), count_(lines.size(), 0),
          best_(lines.size(), 0), bestValue_(lines.size(), 0.0f) {
        xs_.reserve(lines.size());
        for (const CLine& line : lines) xs_.push_back(line.x);
    }

    void beginFile(const SpeciesFile&) override {
        ++fileNumber_;
        touched_.clear();
    }

    void record(const SpeciesFile& file, float lambda, lumdb::detail::RecordText& recordText) override {
        // The hit interval is half-open, [lambda - tol, lambda + tol), so that a found line
        // between two database lines exactly 2 tol apart is not counted for both. The lines
        // are sorted by x: a binary search finds the first one at or above lambda - tol.
        const float low = lambda - values_.SearchRange;
        const float high = lambda + values_.SearchRange;
        auto it = std::lower_bound(xs_.begin(), xs_.end(), low);
        if (it == xs_.end() || !(*it < high)) return;

        const std::string_view rest = recordText.get();
        const float v = lumdb::detail::parseFloat(lumdb::detail::field(rest, 0));
        // The strength depends on the record alone, so it decides for every line of the window.
        if (values_.IntensityRange) {
            const float s =
                lumdb::detail::strengthOf(values_.IntensityOption, v, lambda, file.atomic, rest);
            if (!(values_.LowerIntensity <= s && s <= values_.UpperIntensity)) return;
        }
        // "%s%.7g" of label and wavelength, then ";%g" of the value.
        std::string text = file.label;
        lumdb::detail::appendGeneral(text, lambda, 7);
        text += ';';
        lumdb::detail::appendGeneral(text, v, 6);
        std::string record = lumdb::detail::toUtf8(rest);

        const std::size_t first = static_cast<std::size_t>(it - xs_.begin());
        std::size_t end = first + 1;
        while (end < xs_.size() && xs_[end] < high) ++end;
        for (std::size_t index = first; index < end; ++index) {
            CLine& line = lines_[index];
            if (touchedIn_[index] < 0) reserveLists(line);
            const std::size_t candidate = line.candidateLabels.size();
            // The last line in the window takes the texts over, the others get copies.
            if (index + 1 == end) {
                line.candidateLabels.push_back(std::move(text));
                line.candidateRecords.push_back(std::move(record));
            } else {
                line.candidateLabels.push_back(text);
                line.candidateRecords.push_back(record);
            }
            line.candidateColors.push_back(file.element->color);
            // The strongest candidate of this file so far; on equal strength the one listed
            // first stays.
            if (touchedIn_[index] != fileNumber_) {
                touchedIn_[index] = fileNumber_;
                touched_.push_back(index);
                count_[index] = 1;
                best_[index] = candidate;
                bestValue_[index] = v;
            } else {
                ++count_[index];
                if (v > bestValue_[index]) {
                    best_[index] = candidate;
                    bestValue_[index] = v;
                }
            }
        }
    }

    // The species entry of every line this file matched: its strongest candidate, with "*"
    // when the file gave the line more than one. Only the candidates this file added count,
    // so a species never picks up another file's candidate whose label merely contains its
    // own ("Co I" and "CO", "Cu I" and "U I").
    void endFile(const SpeciesFile& file) override {
        for (std::size_t index : touched_) {
            CLine& line = lines_[index];
            const std::size_t best = best_[index];
            line.speciesLabels.push_back(line.candidateLabels[best] + (count_[index] >= 2 ? "*" : ""));
            line.speciesColors.push_back(file.element->color);
            line.speciesRecords.push_back(line.candidateRecords[best]);
        }
        touched_.clear();
    }

private:
    // A matched line usually collects several candidates and species: room for a few at
    // once instead of growing each list one reallocation at a time.
    static void reserveLists(CLine& line) {
        constexpr std::size_t kRoom = 8;
        line.candidateLabels.reserve(line.candidateLabels.size() + kRoom);
        line.candidateColors.reserve(line.candidateColors.size() + kRoom);
        line.candidateRecords.reserve(line.candidateRecords.size() + kRoom);
        line.speciesLabels.reserve(line.speciesLabels.size() + kRoom);
        line.speciesColors.reserve(line.speciesColors.size() + kRoom);
        line.speciesRecords.reserve(line.speciesRecords.size() + kRoom);
    }

    TLineArray& lines_;
    const SSelectElVal& values_;
    std::vector<float> xs_;
    std::vector<long> touchedIn_;        // number of the file that last added to the line
    std::vector<std::size_t> count_;     // candidates the current file gave the line
    std::vector<std::size_t> best_;      // index of its strongest one
    std::vector<float> bestValue_;
    std::vector<std::size_t> touched_;   // lines the current file added candidates to
    long fileNumber_ = 0;
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
    return lumdb::detail::runOverDatabase(parent, "Linienidentifizierung:", dataDir, elements, stages,
                                          visitor);
}
