// Text instrument readers (OOIBase32, OOI LIBS, AvaSoft ASCII, DaVis): synthetic files for the
// header, separator and column rules in tests/lumio/data/text_instruments.cases (the real
// files are read in samples_test.cpp).
#include "ReadCases.h"

TEST(TextInstrument, ReadsAsTheCasesSay) {
    lumtest::runReadCases("text_instruments.cases", 30);
}
