// Fuzz target of the OOILibs reader (libFuzzer + AddressSanitizer; see scripts/fuzz).
// fuzz-seeds: seeds/ooilibs samples/oceanoptics_text
#include "InstrumentFuzz.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return lumfuzz::runReader(lumio::detail::readOOILibs, "ols", data, size);
}
