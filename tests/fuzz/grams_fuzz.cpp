// libFuzzer target: the Grams reader.
// fuzz-seeds: samples/spc
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lumfuzz::inputPath("grams.spc");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::readGrams, path);
    lumfuzz::runReader(lumio::detail::readGramsNew, path);
    return 0;
}
