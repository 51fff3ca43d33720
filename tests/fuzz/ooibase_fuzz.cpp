// Fuzz target of the OOIBase reader (libFuzzer + AddressSanitizer; see scripts/fuzz).
// fuzz-seeds: samples/ooibase32 samples/oceanoptics_text
#include "InstrumentFuzz.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return lumfuzz::runReader(lumio::detail::readOOIBase, "scope", data, size);
}
