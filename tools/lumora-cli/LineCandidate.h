// One database line attached to a found line, taken apart for output: the candidate text
// "<species> <wavelength>;<value>" and the record text after the wavelength
// ("value;lower energy;upper energy;lower state;upper state;J lower;J upper;comment").
#pragma once

#include <string>
#include <vector>

#include "lumdb/Records.h"

namespace lumcli {

struct LineCandidate {
    std::string species;     // label without trailing blanks, e.g. "Fe I"
    std::string wavelength;  // as the label has it ("%.7g" or "%.4f")
    std::string value;       // the database value as text
    float lambda = 0.0f;
    float v = 0.0f;
    std::string record;               // the record text after the wavelength
    std::vector<std::string> fields;  // the record text split at ";"

    std::string field(std::size_t i) const { return i < fields.size() ? fields[i] : std::string(); }

    // Strength as IntensityOption measures it (lumdb::LineStrength).
    float strength(int intensityOption) const;
};

// From an identification candidate (label "<species> <wavelength>;<value>").
LineCandidate candidateFromLabel(const std::string& label, const std::string& record);
// From a database search result (label "<species> ;<value>", wavelength separate).
LineCandidate candidateFromSearch(const CSearchEngineLine& line);

// For every candidate of `line`: whether it is the one chosen as strongest of its species.
std::vector<bool> bestOfSpecies(const CLine& line);

std::vector<std::string> splitFields(const std::string& text);

}  // namespace lumcli
