// LineSearchEngine: every database line of the selected species within a wavelength and a
// strength range, ordered by the chosen sort option.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "DatabaseRun.h"
#include "StoredFile.h"
#include "lumdb/Database.h"

namespace {

using lumdb::detail::SpeciesFile;

class SearchVisitor : public lumdb::detail::RecordVisitor {
public:
    explicit SearchVisitor(const SSearchEngineVal& values) : values_(values) {}

    void record(const SpeciesFile& file, float lambda, lumdb::detail::RecordText& recordText) override {
        // Both ranges are closed: a line exactly on a bound is listed.
        if (!(values_.LowerWavelength <= lambda && lambda <= values_.UpperWavelength)) return;
        const std::string_view rest = recordText.get();
        const float v = lumdb::detail::parseFloat(lumdb::detail::field(rest, 0));
        const float s =
            lumdb::detail::strengthOf(values_.IntensityOption, v, lambda, file.atomic, rest);
        if (!(values_.LowerIntensity <= s && s <= values_.UpperIntensity)) return;
        CSearchEngineLine hit;
        hit.wavelength = lambda;
        hit.value = s;
        hit.label = file.label;  // then ";%g" of the stored value
        hit.label += ';';
        lumdb::detail::appendGeneral(hit.label, v, 6);
        hit.color = file.element->color;
        hit.record = lumdb::detail::toUtf8(rest);
        hit.sortOption = values_.SortOption;
        found.push_back(std::move(hit));
    }

    std::vector<CSearchEngineLine> found;

private:
    const SSearchEngineVal& values_;
};

// Adds the hits to the sorted array with the same result as adding them one by one: a
// stable sort by the element's own order keeps equal elements in the order they came, and
// adding an already ordered sequence only ever appends. The sort moves indexes, not records.
void addAll(TSearchEngineLineArray& result, std::vector<CSearchEngineLine>& found) {
    if (found.empty()) return;
    std::vector<CSearchEngineLine> all;
    all.reserve(result.size() + found.size());
    for (const CSearchEngineLine& line : result) all.push_back(line);
    std::move(found.begin(), found.end(), std::back_inserter(all));
    found.clear();
    std::vector<std::uint32_t> order(all.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    auto less = [&all](std::uint32_t a, std::uint32_t b) { return all[a] < all[b]; };
    // Sort option 0 compares nothing as less: the order found is already the result.
    if (!std::is_sorted(order.begin(), order.end(), less))
        std::stable_sort(order.begin(), order.end(), less);
    result.clear();
    result.reserve(all.size());
    for (std::uint32_t i : order) result.add(std::move(all[i]));
}

}  // namespace

unsigned char LineSearchEngine(lumdb::RunHost& parent, const std::string& dataDir,
                               TSearchEngineLineArray& result, TElementArray& elements,
                               SSearchEngineVal values) {
    SearchVisitor visitor(values);
    lumdb::detail::StageChoice stages;
    stages.neutrals = values.Neutrals;
    stages.firstIons = values.FirstIons;
    stages.higherIons = values.HigherIons;
    stages.decipherMode = values.decipherMode;
    const unsigned char completed = lumdb::detail::runOverDatabase(
        parent, "Suchmaschine:", dataDir, elements, stages, visitor);
    // Results found before an abort stay in the array.
    addAll(result, visitor.found);
    return completed;
}
