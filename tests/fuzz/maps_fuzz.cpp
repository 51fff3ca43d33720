// libFuzzer target: the Maps reader.
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lumfuzz::inputPath("maps.mps");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::readMaps, path);
    return 0;
}
