// Fuzz target of the Maps reader (libFuzzer + AddressSanitizer; see scripts/fuzz).
// fuzz-seeds: seeds/maps
#include "InstrumentFuzz.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return lumfuzz::runReader(lumio::detail::readMaps, "mps", data, size);
}
