// libFuzzer target: the OOILibs reader.
// fuzz-seeds: samples/oceanoptics_text
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lumfuzz::inputPath("ooilibs.ols");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::readOOILibs, path);
    return 0;
}
