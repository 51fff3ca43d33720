// WinSpec SPE reader: files built for data types, frames and strips, the calibration
// polynomial, the version 3 footer and hostile headers, read as tests/lumio/data/ccd_camera.cases
// says (the real files are read in samples_test.cpp).
#include "ReadCases.h"

TEST(WinSpec, ReadsAsTheCasesSay) {
    lumtest::runReadCases("ccd_camera.cases", 24);
}
