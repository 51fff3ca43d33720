// The walk over the database files of the selected elements and ionisation stages that line
// identification and database search share: file ranges, the missing-file prompt, the header
// check, progress and abort. The run calls a RecordVisitor for every record.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lumdb/Candidate.h"
#include "lumdb/Records.h"
#include "lumdb/RunHost.h"

namespace lumdb::detail {

// The species file being read.
struct SpeciesFile {
    const CElement* element = nullptr;
    std::string label;         // header field 2 with one blank appended (UTF-8)
    std::string labelTrimmed;  // without trailing blanks
    // f-values and transition probabilities exist only for atoms: labels with a blank
    // ("Fe II") or one letter long; molecule labels ("N2") get strength 0 for them.
    bool atomic = false;
};

// The record text R of one line: everything after field 1 and its ';'. A stored line is
// deciphered only as far as the wavelength until somebody asks for the rest, which the
// identification does only for lines that fall into a hit interval.
class RecordText {
  public:
    RecordText(char* line, std::size_t length, std::size_t deciphered, std::size_t restStart)
        : line_(line), length_(length), deciphered_(deciphered), restStart_(restStart) {}

    std::string_view get();

  private:
    char* line_;
    std::size_t length_;
    std::size_t deciphered_;  // bytes [0, deciphered_) are plain text
    std::size_t restStart_;   // length_ + 1 when the line has no ';'
};

class RecordVisitor {
  public:
    virtual ~RecordVisitor() = default;
    virtual void beginFile(const SpeciesFile& /*file*/) {}
    // One record: `lambda` is field 1; `rest` gives the deciphered Windows-1252 text after
    // field 1 and its ';' (the record text R). Returns false when the record turned out not
    // to be readable (its value is no number); it is then counted as such and not used.
    virtual bool record(const SpeciesFile& file, float lambda, RecordText& rest) = 0;
    virtual void endFile(const SpeciesFile& /*file*/) {}
};

struct StageChoice {
    bool neutrals = false;
    bool firstIons = false;
    bool higherIons = false;
    unsigned char decipherMode = 0;
};

// A file that the data folder's checksum list (lumdb/ChecksumList.h) finds damaged is
// refused with a message and passed over; lines whose wavelength or value do not read as a
// number are passed over and counted, with one message per file.
// Returns 1 when every file was read, 0 when the user cancelled a missing-file prompt or
// pressed "Abbruch".
unsigned char runOverDatabase(RunHost& host, const std::string& process, const std::string& dataDir,
                              const TElementArray& elements, const StageChoice& stages,
                              RecordVisitor& visitor);

// Texts kept for the end of a run, copied into large blocks: the pieces never move (unlike
// one growing string) and cost no allocation each.
class TextBlocks {
  public:
    // A copy of `text` that stays valid as long as the object.
    const char* store(std::string_view text);

  private:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    std::size_t left_ = 0;
};

// A whole field as a finite float, read directly as a 32-bit float (no double rounding on
// the way; the plain decimal numbers of the database without the general parser); false
// when the field is empty, holds anything beside the number and blanks around it, or the
// number is beyond float range. (lumdb::ReadFloat reads a leading number like the C
// library, for texts that may carry more.)
bool parseNumberField(std::string_view text, float& out);

// Appends `value` formatted as printf's "%.<precision>g" would (C locale), without printf's
// cost: the identification and search format one or two numbers per hit.
void appendGeneral(std::string& out, float value, int precision);

}  // namespace lumdb::detail
