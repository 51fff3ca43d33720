// The cells of a database line in the reports and in the saved search text: its strength in
// the kind the user chose, its energies, states, quantum numbers and comment. The strength
// follows lumdb's one strength rule (Candidate::strength).
#pragma once

#include <string>
#include <string_view>

#include "lumdb/Candidate.h"

namespace lumreport {

// The strength cell of a candidate by IntensityOption, without a tab: empty when the
// candidate has no value; 0 the strength class as a whole number ("%.0f" of the ceiling,
// exact for every float, so a huge value cannot overflow); 1 and 2 "%.3E" for an atom or
// ion with a value above 0. `missing` ("  -" in the report, "-" in the saved text) stands
// for a molecule, a value of 0 or less, and a strength that is not finite (an Aik with
// 2J + 1 = 0 or a wavelength of 0).
std::string strengthCell(const lumdb::Candidate& c, int intensityOption, std::string_view missing);

// Appends the report cells after the species (and wavelength) columns, each led by a tab:
// the strength cell, the energies rounded to hundredths ("\t%.2f\t-", "\t%.2f"; an empty
// one "\t\t-" and "\t"), the states ("\t%s\t-", "\t%s"), the quantum numbers ("\t%s\t-",
// "\t%s") and the comment ("\t%s") when there is one.
void appendRecordCells(std::string& out, const lumdb::Candidate& c, int intensityOption);

}  // namespace lumreport
