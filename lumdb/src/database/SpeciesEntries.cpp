// The species entries of a found line: per species the strongest of its candidates, the rule
// the identification fills them by and that an edited candidate list is labelled by again.
#include <algorithm>
#include <string>
#include <string_view>

#include "lumdb/Candidate.h"
#include "lumdb/Database.h"

namespace {

// The species part of a candidate label: everything before its last blank ("Fe I" of
// "Fe I 400.05;0.3"); the wavelength and value after it hold no blank.
std::string_view speciesOf(std::string_view label) {
    const std::size_t blank = label.rfind(' ');
    return blank == std::string_view::npos ? label : label.substr(0, blank);
}

}  // namespace

void AppendSpeciesEntries(CLine& line, std::size_t first, std::size_t last, const float* values) {
    last = std::min({last, line.candidateLabels.size(), line.candidateColors.size(),
                     line.candidateRecords.size()});
    const auto valueOf = [&](std::size_t i) {
        if (values) return values[i - first];
        return lumdb::ReadFloat(lumdb::RecordField(line.candidateRecords[i], 0));
    };
    for (std::size_t k = first; k < last;) {
        const std::string_view species = speciesOf(line.candidateLabels[k]);
        std::size_t best = k;
        float bestValue = valueOf(k);
        std::size_t end = k + 1;
        for (; end < last && speciesOf(line.candidateLabels[end]) == species; ++end) {
            const float v = valueOf(end);
            if (v > bestValue) {
                best = end;
                bestValue = v;
            }
        }
        const std::string& label = line.candidateLabels[best];
        std::string& entry = line.speciesLabels.emplace_back();
        entry.reserve(label.size() + 1);
        entry = label;
        if (end - k >= 2) entry += '*';
        line.speciesColors.push_back(line.candidateColors[best]);
        line.speciesRecords.push_back(line.candidateRecords[best]);
        k = end;
    }
}
