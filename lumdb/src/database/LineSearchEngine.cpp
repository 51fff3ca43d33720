// LineSearchEngine: every database line of the selected species within a wavelength and a
// strength range, ordered by the chosen sort option.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DatabaseRun.h"
#include "StoredFile.h"
#include "lumdb/Database.h"

namespace {

using lumdb::detail::SpeciesFile;

// The walk builds each result record once, in storage that never moves (blocks of a fixed
// count), and the records are moved into the result array at the end, in their final
// order. Collecting them in one growing vector and sorting copies of them moved 300,000
// records around several times.
class SearchVisitor : public lumdb::detail::RecordVisitor {
  public:
    explicit SearchVisitor(const SSearchEngineVal& values) : values_(values) {}

    bool record(const SpeciesFile& file, float lambda,
                lumdb::detail::RecordText& recordText) override {
        // Both ranges are closed: a line exactly on a bound is listed.
        if (!(values_.LowerWavelength <= lambda && lambda <= values_.UpperWavelength)) return true;
        const std::string_view rest = recordText.get();
        float v = 0.0f;
        if (!lumdb::detail::parseNumberField(lumdb::RecordField(rest, 0), v)) return false;
        const float s = lumdb::StrengthOf(values_.IntensityOption, v, lambda, file.atomic, rest);
        if (!(values_.LowerIntensity <= s && s <= values_.UpperIntensity)) return true;
        if (count_ % kBlock == 0) blocks_.push_back(std::make_unique<CSearchEngineLine[]>(kBlock));
        CSearchEngineLine& hit = at(count_++);
        hit.wavelength = lambda;
        hit.value = s;
        hit.label = file.label;  // then ";%g" of the stored value
        hit.label += ';';
        lumdb::detail::appendGeneral(hit.label, v, 6);
        hit.color = file.element->color;
        hit.record = lumdb::detail::toUtf8(rest);
        hit.sortOption = values_.SortOption;
        return true;
    }

    std::size_t size() const { return count_; }

    // Hit `i`, to be moved into the result.
    CSearchEngineLine&& take(std::size_t i) { return std::move(at(i)); }

    void prefetch(std::size_t i) const {
        const char* entry = reinterpret_cast<const char*>(&at(i));
        __builtin_prefetch(entry);
        __builtin_prefetch(entry + sizeof(CSearchEngineLine) - 1);
    }

    // The sort key of hit `i`: what CSearchEngineLine's order compares.
    float key(std::size_t i) const {
        return values_.SortOption == 1 ? at(i).wavelength : at(i).value;
    }

  private:
    static constexpr std::size_t kBlock = 4096;

    CSearchEngineLine& at(std::size_t i) { return blocks_[i / kBlock][i % kBlock]; }
    const CSearchEngineLine& at(std::size_t i) const { return blocks_[i / kBlock][i % kBlock]; }

    const SSearchEngineVal& values_;
    std::vector<std::unique_ptr<CSearchEngineLine[]>> blocks_;
    std::size_t count_ = 0;
};

// The indexes of the hits in a stable order of their keys, ascending or descending, as
// CSearchEngineLine compares them. Float keys map to unsigned integers of the same order
// (both zeros to one, since they compare equal), which a least-significant-digit radix
// sort orders stably in four passes instead of a comparison sort's twenty. A key that is
// not a number compares with nothing, which no integer does: then the comparison sort.
std::vector<std::uint32_t> sortedOrder(const SearchVisitor& found, bool descending) {
    const std::size_t n = found.size();
    std::vector<std::uint32_t> keys(n);
    bool plain = true;
    for (std::size_t i = 0; i < n; ++i) {
        const float key = found.key(i);
        if (key != key) plain = false;
        const std::uint32_t bits = key == 0.0f ? 0u : std::bit_cast<std::uint32_t>(key);
        std::uint32_t ordered = (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
        keys[i] = descending ? ~ordered : ordered;
    }
    std::vector<std::uint32_t> order(n);
    for (std::uint32_t i = 0; i < n; ++i) order[i] = i;
    if (!plain) {
        auto less = [&found, descending](std::uint32_t a, std::uint32_t b) {
            return descending ? found.key(a) > found.key(b) : found.key(a) < found.key(b);
        };
        if (!std::is_sorted(order.begin(), order.end(), less))
            std::stable_sort(order.begin(), order.end(), less);
        return order;
    }
    std::vector<std::uint32_t> other(n);
    for (int pass = 0; pass < 4; ++pass) {
        const int shift = 8 * pass;
        std::size_t count[257] = {};
        for (std::uint32_t i : order) ++count[((keys[i] >> shift) & 0xFF) + 1];
        if (count[((keys[order[0]] >> shift) & 0xFF) + 1] == n) continue;  // one digit for all
        for (int d = 0; d < 256; ++d) count[d + 1] += count[d];
        for (std::uint32_t i : order) other[count[(keys[i] >> shift) & 0xFF]++] = i;
        order.swap(other);
    }
    return order;
}

// Adds the hits to the sorted array with the same result as adding them one by one: a
// stable sort by the records' own order keeps equal ones in the order they came, and
// adding an already ordered sequence only ever appends.
void addAll(TSearchEngineLineArray& result, SearchVisitor& found, std::int32_t sortOption) {
    const std::size_t n = found.size();
    if (n == 0) return;
    if (!result.empty()) {
        // Earlier results may carry another sort option: order everything by the records'
        // own comparison. The sort moves indexes, not records.
        std::vector<CSearchEngineLine> all;
        all.reserve(result.size() + n);
        for (const CSearchEngineLine& line : result) all.push_back(line);
        for (std::size_t i = 0; i < n; ++i) all.push_back(found.take(i));
        std::vector<std::uint32_t> order(all.size());
        for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        auto less = [&all](std::uint32_t a, std::uint32_t b) { return all[a] < all[b]; };
        if (!std::is_sorted(order.begin(), order.end(), less))
            std::stable_sort(order.begin(), order.end(), less);
        result.clear();
        result.reserve(all.size());
        for (std::uint32_t i : order) result.add(std::move(all[i]));
        return;
    }
    result.reserve(n);
    // Sort option 0 compares nothing as less: the order found is already the result.
    if (sortOption != 1 && sortOption != 2) {
        for (std::size_t i = 0; i < n; ++i) result.add(found.take(i));
        return;
    }
    // The order of the hits: a stable sort of their keys by wavelength ascending, or the
    // strongest first.
    const std::vector<std::uint32_t> order = sortedOrder(found, sortOption == 2);
    // The sorted order visits the records all over their blocks: ask for them a few
    // records ahead, so that the cache misses overlap instead of coming one at a time.
    constexpr std::size_t kAhead = 8;
    for (std::size_t k = 0; k < n; ++k) {
        if (k + kAhead < n) found.prefetch(order[k + kAhead]);
        result.add(found.take(order[k]));
    }
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
    const unsigned char completed =
        lumdb::detail::runOverDatabase(parent, "Suchmaschine:", dataDir, elements, stages, visitor);
    // Results found before an abort stay in the array.
    addAll(result, visitor, values.SortOption);
    return completed;
}
