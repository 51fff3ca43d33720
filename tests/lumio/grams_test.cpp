// Grams SPC reader: files built for each layout rule and hostile headers, read as
// tests/lumio/data/grams.cases says (the real files are read in samples_test.cpp).
#include "ReadCases.h"

TEST(Grams, ReadsAsTheCasesSay) {
    lumtest::runReadCases("grams.cases", 29);
}
