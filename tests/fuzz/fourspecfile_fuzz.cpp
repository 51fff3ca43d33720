// libFuzzer target: the 4Spec reader.
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lumfuzz::inputPath("fourspec.crv");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::read4Spec, path);
    return 0;
}
