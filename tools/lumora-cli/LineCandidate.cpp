// Taking candidate texts and records apart; see LineCandidate.h.
#include "LineCandidate.h"

#include "lumdb/Database.h"

#include <cmath>
#include <cstdlib>

#include "lumcore/Printf.h"

namespace lumcli {

namespace {

std::string trimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        const auto semi = text.find(';', start);
        out.push_back(text.substr(start, semi - start));
        if (semi == std::string::npos) break;
        start = semi + 1;
    }
    return out;
}

float LineCandidate::strength(int intensityOption) const {
    return lumdb::LineStrength(intensityOption, v, lambda, species, record);
}

LineCandidate candidateFromLabel(const std::string& label, const std::string& record) {
    LineCandidate c;
    const auto semi = label.rfind(';');
    const std::string head = label.substr(0, semi);
    c.value = semi == std::string::npos ? std::string() : label.substr(semi + 1);
    const auto blank = head.rfind(' ');
    c.species = trimRight(blank == std::string::npos ? std::string() : head.substr(0, blank));
    c.wavelength = blank == std::string::npos ? head : head.substr(blank + 1);
    c.lambda = std::strtof(c.wavelength.c_str(), nullptr);
    c.record = record;
    c.fields = splitFields(record);
    // The strength is computed from the record's value, which the label only rounds.
    c.v = std::strtof(c.field(0).c_str(), nullptr);
    return c;
}

LineCandidate candidateFromSearch(const CSearchEngineLine& line) {
    LineCandidate c;
    const auto semi = line.label.rfind(';');
    c.species = trimRight(line.label.substr(0, semi));
    c.value = semi == std::string::npos ? std::string() : line.label.substr(semi + 1);
    c.lambda = line.wavelength;
    c.wavelength = lumcore::strprintf("%.4f", static_cast<double>(line.wavelength));
    c.record = line.record;
    c.fields = splitFields(line.record);
    c.v = std::strtof(c.field(0).c_str(), nullptr);
    return c;
}

std::vector<bool> bestOfSpecies(const CLine& line) {
    std::vector<bool> best(line.candidateLabels.size(), false);
    for (std::size_t s = 0; s < line.speciesLabels.size(); ++s) {
        std::string text = line.speciesLabels[s];
        // The species entry carries "*" when the species matched more than once.
        if (!text.empty() && text.back() == '*') text.pop_back();
        const std::string& record = s < line.speciesRecords.size() ? line.speciesRecords[s] : std::string();
        for (std::size_t c = 0; c < line.candidateLabels.size(); ++c) {
            if (!best[c] && line.candidateLabels[c] == text && line.candidateRecords[c] == record) {
                best[c] = true;
                break;
            }
        }
    }
    return best;
}

}  // namespace lumcli
