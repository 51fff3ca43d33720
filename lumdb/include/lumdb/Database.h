// The line database: where it lies, the element table, the line cipher, and the two runs
// that read it (line identification and database search).
//
// Database files are Windows-1252 text, every line enciphered. The cipher works on the raw
// bytes; the readers decipher first and convert to UTF-8 afterwards, so every string these
// functions hand back (element names, labels, records) is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lumdb/Records.h"
#include "lumdb/RunHost.h"
#include "lumdb/lumdb_export.h"

// Finds the directory that holds every database file named in the element table: first
// <programDir>/Data/, then <root>/Lumora/Data/ on each removable volume of the host in its
// order. programDir has no trailing separator; dataDir receives the directory with a
// trailing '/'. Returns 1 when found, 0 when the table is missing or the user cancelled.
LUMDB_EXPORT unsigned char CheckDataDirectory(lumdb::RunHost& host, const std::string& programDir,
                                              std::string& dataDir);

// Refills `elements` from <programDir>/Data/Elements.lmt; every element comes back selected.
// A missing table leaves the array empty.
LUMDB_EXPORT void GetElements(const std::string& programDir, TElementArray& elements);

// Deciphers one stored line (raw bytes, without its line end) in place. Mode 0 only
// deciphers; any other mode also rewrites the degree sign, the superscript digits and the
// vulgar fractions of Windows-1252 into plain digits ("2\xBD" becomes "5/2").
LUMDB_EXPORT void DeCryptLine(std::string& line, unsigned char mode);
// The same for a zero-terminated buffer of `capacity` bytes; a rewritten line that would not
// fit is cut to capacity - 1 bytes.
LUMDB_EXPORT void DeCryptLine(char* line, std::size_t capacity, unsigned char mode);

// The inverse of DeCryptLine mode 0, used by the database tool and the tests. Bytes 0x20 to
// 0xFF stay within 0x20 to 0xFF, so a stored line never holds a line end or a NUL byte;
// control bytes below 0x20 are left as they are (the tool refuses them).
LUMDB_EXPORT void EnCryptLine(std::string& line);

// Attaches to every found line the database lines of the selected elements within
// [x - SearchRange, x + SearchRange) and the strongest candidate per species. Returns 1 when
// completed, 0 when cancelled at a missing-file prompt or aborted.
LUMDB_EXPORT unsigned char LineIdentification(lumdb::RunHost& parent, const std::string& dataDir,
                                              TLineArray& lines, TElementArray& elements,
                                              SSelectElVal values);

// Appends to `line`'s species lists the entries of its candidates first .. last - 1, the
// identification's rule: the candidates one species gave the line stand together in the
// order found; of each such run the strongest by database value (the first of equal ones)
// is the species' entry, its label with "*" when the run holds more than one candidate.
// `values` holds the database values of those candidates in order; without it each value is
// read from the candidate's record.
LUMDB_EXPORT void AppendSpeciesEntries(CLine& line, std::size_t first, std::size_t last,
                                       const float* values = nullptr);

// Lists every database line of the selected elements with LowerWavelength <= wavelength <=
// UpperWavelength and LowerIntensity <= strength <= UpperIntensity into `result`, ordered by
// values.SortOption. Returns 1 when completed, 0 when cancelled or aborted.
LUMDB_EXPORT unsigned char LineSearchEngine(lumdb::RunHost& parent, const std::string& dataDir,
                                            TSearchEngineLineArray& result, TElementArray& elements,
                                            SSearchEngineVal values);
