// How the element selection reads the element table's names: the element symbol of an atom's
// name ("Fe II" is iron) and the element symbols of a molecule's formula ("CaOH" holds Ca, O
// and H). Plain string work, so the rules are tested without widgets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lumdb/Records.h"

// `name` up to its first blank, with trailing blanks and tabs removed.
std::string elementSymbol(std::string_view name);

// The element symbols of `formula` in order of appearance, repeats included: each is an
// upper-case letter with the lower-case letters a to z that follow it; digits, charges,
// blanks and any other character are skipped up to the next upper-case letter.
std::vector<std::string> formulaSymbols(std::string_view formula);

// An element entry's kind, from the "*A"/"*M" marker in its text.
bool isAtom(const CElement& element);
bool isMolecule(const CElement& element);
