// Fuzz target of the DaVis reader (libFuzzer + AddressSanitizer; see scripts/fuzz).
// fuzz-seeds: seeds/davis
#include "InstrumentFuzz.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return lumfuzz::runReader(lumio::detail::readDaVis, "prf", data, size);
}
