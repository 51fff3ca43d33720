// libFuzzer target: the OOIBase reader.
// fuzz-seeds: samples/ooibase32 samples/oceanoptics_text
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lumfuzz::inputPath("ooibase.scope");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::readOOIBase, path);
    return 0;
}
