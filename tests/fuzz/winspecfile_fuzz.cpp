// libFuzzer target: the WinSpec reader.
// fuzz-seeds: samples/spe
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lumfuzz::inputPath("winspec.spe");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::readWinSpec, path);
    return 0;
}
