// libFuzzer target: the DaVis reader.
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lumfuzz::inputPath("davis.prf");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::readDaVis, path);
    return 0;
}
