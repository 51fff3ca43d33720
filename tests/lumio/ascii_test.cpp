// ASCII spectra: header lines, separators and decimal commas, the x,y layouts with their
// track and frame/strip choices, y-only files, the character check and the value rules, read
// as tests/lumio/data/ascii.cases says.
#include "ReadCases.h"

TEST(AsciiFile, ReadsAsTheCasesSay) {
    lumtest::runReadCases("ascii.cases", 32);
}
