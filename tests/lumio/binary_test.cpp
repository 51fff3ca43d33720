// Binary spectra: the choice between x,y and y by the order of the values, the marker and its
// text trailer, and short or ragged files, read as tests/lumio/data/binary.cases says.
#include "ReadCases.h"

TEST(BinaryFile, ReadsAsTheCasesSay) {
    lumtest::runReadCases("binary.cases", 12);
}
