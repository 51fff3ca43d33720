// 4Spec and Maps readers: files built for signatures, curves, blocks, the choice dialogs and
// hostile headers, read as tests/lumio/data/fourspec_maps.cases says (no real files of either
// format exist in the sample folder).
#include "ReadCases.h"

TEST(BinaryInstrumentFile, ReadsAsTheCasesSay) {
    lumtest::runReadCases("fourspec_maps.cases", 29);
}
