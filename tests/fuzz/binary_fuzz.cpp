// libFuzzer target: the binary readers (by analysis, x,y and y chosen in the dialog).
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lumfuzz::inputPath("binary");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::readBinary, path);
    lumfuzz::runReader(lumio::detail::readBinaryXY, path);
    lumfuzz::runReader(lumio::detail::readBinaryY, path);
    return 0;
}
