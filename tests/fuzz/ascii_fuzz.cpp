// libFuzzer target: the ASCII readers (by extension, x,y and y chosen in the dialog).
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = lumfuzz::inputPath("ascii");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::readAscii, path);
    lumfuzz::runReader(lumio::detail::readAsciiXY, path);
    lumfuzz::runReader(lumio::detail::readAsciiY, path);
    return 0;
}
