// An identification candidate: one database line attached to a found line. The
// identification stores it in a CLine as three texts (label, colour, record); this header
// is the one place that knows their form, reads them back and measures a candidate's
// strength, for lumdb, lumio, lumgl, the tools and the program alike. Header-only, so that
// every library can use it without linking lumdb.
//
// Text form. Label: "<species> <wavelength>;<value>", that is the species label of the
// database file with one blank appended, the wavelength as "%.7g" and the database value
// as "%g" (six digits); a species entry (the strongest candidate of its species on its
// line) ends in "*" when the species matched the line more than once. Record: the database
// line after its wavelength, ";"-separated: value; lower and upper energy; lower and upper
// state; J lower; J upper; comment. A database-search result's label has no wavelength:
// "<species> ;<value>". In the native spectrum file an entry is
// "<label>;<red>;<green>;<blue>;<record>".
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "lumdb/Records.h"

namespace lumdb {

// Field `index` (0 = the first) of a ';'-separated text; empty when there are fewer fields.
inline std::string_view RecordField(std::string_view text, std::size_t index) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t sep = text.find(';', pos);
        if (sep == std::string_view::npos) return {};
        pos = sep + 1;
    }
    const std::size_t end = text.find(';', pos);
    return text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
}

// The number at the start of a text as the C library reads it (leading blanks, a sign,
// decimal or hexadecimal, inf and nan; the rest ignored; 0 when there is none), directly
// as a float, so a value reads exactly as the identification read it from the database.
inline float ReadFloat(std::string_view text) {
    float value = 0.0f;
    const char* const end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec == std::errc() &&
        (result.ptr == end || (*result.ptr != 'x' && *result.ptr != 'X')))
        return value;
    const std::string copy(text);
    return std::strtof(copy.c_str(), nullptr);
}

// The same as a double.
inline double ReadDouble(std::string_view text) {
    if (text.empty()) return 0.0;
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

// Atoms and ions have a blank in their label ("Fe II") or a label of one character ("H");
// molecules ("N2", "CO+") have neither. Trailing blanks do not count.
inline bool IsAtomicSpecies(std::string_view species) {
    while (!species.empty() && species.back() == ' ') species.remove_suffix(1);
    return species.find(' ') != std::string_view::npos || species.size() == 1;
}

// The strength of a database line by IntensityOption, the one rule of the identification,
// the database search, the diagram's labels and every report:
// 0 relative: the strength class, 1000 v rounded up to a whole number, 0 below 0.1 (in
//   float arithmetic, so 0.3 gives 300);
// 1 the oscillator strength f = v;
// 2 the transition probability 6.67e13 g_lower f / (g_upper wavelength^2) with the
//   statistical weights g = 2J + 1 of the record's J fields.
// 1 and 2 exist only for atoms and ions; a molecule gives 0. Other options give 0.
inline float StrengthOf(int intensityOption, float value, float wavelength, bool atomic,
                        std::string_view record) {
    switch (intensityOption) {
        case 0: {
            const float scaled = 1000 * value;
            return scaled >= 0.1 ? std::ceil(scaled) : 0.0f;
        }
        case 1:
            return atomic ? value : 0.0f;
        case 2: {
            if (!atomic) return 0.0f;
            const double gLower = 2 * ReadDouble(RecordField(record, 5)) + 1;
            const double gUpper = 2 * ReadDouble(RecordField(record, 6)) + 1;
            const double l = wavelength;
            return static_cast<float>(6.67e13 * gLower * value / (gUpper * l * l));
        }
        default:
            return 0.0f;
    }
}

// The label text of a candidate: `speciesLabel` (with its trailing blank), the wavelength
// as "%.7g", ";" and the value as "%g".
inline std::string FormatCandidateLabel(std::string_view speciesLabel, float wavelength,
                                        float value) {
    char numbers[64];
    const int n = std::snprintf(numbers, sizeof numbers, "%.7g;%g", static_cast<double>(wavelength),
                                static_cast<double>(value));
    std::string label(speciesLabel);
    label.append(numbers, static_cast<std::size_t>(n));
    return label;
}

// One candidate taken apart.
struct Candidate {
    std::string species;         // the label before its last blank ("Fe I"), blanks kept
    std::string wavelengthText;  // the wavelength as the label has it; empty for search results
    std::string valueText;       // the value as the label has it (rounded to six digits)
    double wavelength = 0.0;     // nm: wavelengthText read as a number, or the search result's
    TColor color = 0;            // the element's colour
    std::string record;          // the database line after its wavelength
    bool best = false;           // the strongest candidate of its species on its line
    bool repeated = false;       // its species matched the line more than once ("*")

    // Field `i` of the record (0 value, 1 and 2 energies, 3 and 4 states, 5 and 6 J, 7 comment).
    std::string_view field(std::size_t i) const { return RecordField(record, i); }
    // The database value as the identification read it: the record's first field; the
    // label's rounded copy only when the record has none.
    float value() const {
        const std::string_view stored = field(0);
        return ReadFloat(stored.empty() ? std::string_view(valueText) : stored);
    }
    bool atomic() const { return IsAtomicSpecies(species); }
    // The strength by IntensityOption (StrengthOf); with 0 the strength class.
    float strength(int intensityOption) const {
        return StrengthOf(intensityOption, value(), static_cast<float>(wavelength), atomic(),
                          record);
    }
    // The label text, "*" included for a repeated species entry.
    std::string label() const {
        std::string text = species;
        text += ' ';
        text += wavelengthText;
        text += ';';
        text += valueText;
        if (repeated) text += '*';
        return text;
    }
};

// A candidate from its label and record text (the species entry's "*" sets `repeated`).
inline Candidate ParseCandidate(std::string_view label, std::string_view record, TColor color = 0) {
    Candidate c;
    if (!label.empty() && label.back() == '*') {
        c.repeated = true;
        label.remove_suffix(1);
    }
    const std::size_t semi = label.rfind(';');
    const std::string_view head = label.substr(0, semi);
    if (semi != std::string_view::npos) c.valueText = std::string(label.substr(semi + 1));
    const std::size_t blank = head.rfind(' ');
    if (blank == std::string_view::npos) {
        c.species = std::string(head);
    } else {
        c.species = std::string(head.substr(0, blank));
        c.wavelengthText = std::string(head.substr(blank + 1));
        c.wavelength = ReadDouble(c.wavelengthText);
    }
    c.color = color;
    c.record = std::string(record);
    return c;
}

// A database-search result as a candidate: its wavelength is its own field.
inline Candidate SearchCandidate(const CSearchEngineLine& line) {
    Candidate c = ParseCandidate(line.label, line.record, line.color);
    c.wavelength = line.wavelength;
    return c;
}

// The species entries of a line (the strongest candidate per species), as the diagram
// labels them.
inline std::vector<Candidate> SpeciesEntries(const CLine& line) {
    std::vector<Candidate> out;
    out.reserve(line.speciesLabels.size());
    for (std::size_t i = 0; i < line.speciesLabels.size(); ++i) {
        Candidate& c = out.emplace_back(ParseCandidate(
            line.speciesLabels[i],
            i < line.speciesRecords.size() ? line.speciesRecords[i] : std::string_view(),
            i < line.speciesColors.size() ? line.speciesColors[i] : TColor{}));
        c.best = true;
    }
    return out;
}

// Every candidate of a line in stored order, those chosen as their species' strongest
// marked `best` (and `repeated` when their species matched more than once).
inline std::vector<Candidate> Candidates(const CLine& line) {
    std::vector<Candidate> out;
    out.reserve(line.candidateLabels.size());
    for (std::size_t i = 0; i < line.candidateLabels.size(); ++i)
        out.push_back(ParseCandidate(
            line.candidateLabels[i],
            i < line.candidateRecords.size() ? line.candidateRecords[i] : std::string_view(),
            i < line.candidateColors.size() ? line.candidateColors[i] : TColor{}));
    // A species entry repeats the text of the candidate it chose: the first one not yet
    // taken with the same label and record.
    for (std::size_t s = 0; s < line.speciesLabels.size(); ++s) {
        std::string_view label = line.speciesLabels[s];
        const bool repeated = !label.empty() && label.back() == '*';
        if (repeated) label.remove_suffix(1);
        const std::string_view record =
            s < line.speciesRecords.size() ? line.speciesRecords[s] : std::string_view();
        for (std::size_t c = 0; c < out.size(); ++c) {
            if (!out[c].best && line.candidateLabels[c] == label && out[c].record == record) {
                out[c].best = true;
                out[c].repeated = repeated;
                break;
            }
        }
    }
    return out;
}

// The native file's entry of a candidate: "<label>;<red>;<green>;<blue>;<record>".
inline std::string CandidateEntryText(std::string_view label, TColor color,
                                      std::string_view record) {
    std::string text(label);
    for (unsigned shift : {0u, 8u, 16u}) {
        text += ';';
        text += std::to_string((color >> shift) & 0xFFu);
    }
    text += ';';
    text += record;
    return text;
}

struct CandidateEntry {
    std::string label;
    TColor color = 0;
    std::string record;
};

// Reads an entry back: the label is the first two fields joined with ";", the colour
// red + green * 256 + blue * 65536 from the next three (each read like atoi, clamped to 32
// bits), the record the rest of the text.
inline CandidateEntry ParseCandidateEntry(std::string_view text) {
    auto next = [&text]() {
        const std::size_t semi = text.find(';');
        const std::string_view field = text.substr(0, semi);
        text = semi == std::string_view::npos ? std::string_view() : text.substr(semi + 1);
        return field;
    };
    auto integer = [](std::string_view field) -> std::int64_t {
        std::size_t i = 0;
        while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
        if (i < field.size() && field[i] == '+') ++i;
        std::int64_t value = 0;
        const auto result = std::from_chars(field.data() + i, field.data() + field.size(), value);
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
        if (result.ec == std::errc::result_out_of_range)
            return (i < field.size() && field[i] == '-') ? kMin : kMax;
        return value > kMax ? kMax : value < kMin ? kMin : value;
    };
    CandidateEntry entry;
    entry.label = std::string(next());
    entry.label += ';';
    entry.label += next();
    const std::int64_t red = integer(next());
    const std::int64_t green = integer(next());
    const std::int64_t blue = integer(next());
    entry.color = static_cast<TColor>(red) + static_cast<TColor>(green) * 256u +
                  static_cast<TColor>(blue) * 65536u;
    entry.record = std::string(text);
    return entry;
}

}  // namespace lumdb
