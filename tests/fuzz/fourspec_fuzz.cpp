// Fuzz target of the 4Spec reader (libFuzzer + AddressSanitizer; see scripts/fuzz).
// fuzz-seeds: seeds/fourspec
#include "InstrumentFuzz.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return lumfuzz::runReader(lumio::detail::read4Spec, "crv", data, size);
}
