// Fuzz target of the WinSpec reader (libFuzzer + AddressSanitizer; see scripts/fuzz).
// fuzz-seeds: samples/spe
#include "InstrumentFuzz.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return lumfuzz::runReader(lumio::detail::readWinSpec, "spe", data, size);
}
