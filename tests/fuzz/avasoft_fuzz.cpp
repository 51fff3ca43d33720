// libFuzzer target: the AvaSoft reader.
// fuzz-seeds: samples/avasoft
#include "FuzzReader.h"
#include "formats/Readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The extension begins with "tat": the processed column is named "Absorbance".
    const std::string& path = lumfuzz::inputPath("avasoft.tat");
    lumfuzz::writeInput(path, data, size);
    lumfuzz::runReader(lumio::detail::readAvaSoft, path);
    return 0;
}
