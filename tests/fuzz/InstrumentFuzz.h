// Shared body of the instrument reader fuzz targets: the input becomes a file with the
// format's extension, the reader runs on it with a user interface that always picks the
// last entry of every choice (so the skipping walks go all the way), and the outcome
// keywords are the expected way out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "ReadContext.h"
#include "lumio/Outcome.h"

namespace lumfuzz {

class LastChoiceUi : public lumio::Ui {
public:
    lumio::Answer message(const std::string&, const std::string&, lumio::Icon,
                          lumio::Buttons buttons) override {
        return buttons == lumio::Buttons::YesNo ? lumio::Answer::Yes : lumio::Answer::Ok;
    }
    std::optional<int> chooseFormat(const std::string&, const std::vector<std::string>&, int) override {
        return std::nullopt;
    }
    std::optional<int> chooseTrack(const std::string&, int count, int) override { return count; }
    std::optional<FrameStrip> chooseFrameStrip(const std::string&, int frames, int strips,
                                               FrameStrip) override {
        return FrameStrip{frames, strips};
    }
    std::optional<lumio::MapsChoice> chooseMaps(const std::string&, lumio::MapsChoice counts,
                                                lumio::MapsChoice) override {
        return counts;
    }
    std::optional<int> chooseColumn(const std::string&, const std::vector<std::string>& names,
                                    int) override {
        return static_cast<int>(names.size()) - 1;
    }
};

// Writes the input to a per-process file with `extension` and runs `reader` on it.
inline int runReader(lumio::detail::ReaderFn reader, const char* extension, const std::uint8_t* data,
                     std::size_t size) {
    static const std::string path =
        "/tmp/lumio-fuzz-" + std::to_string(::getpid()) + "." + extension;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    LastChoiceUi ui;
    SpectrumRecord record;
    record.fileName = path;
    lumio::detail::ReadContext ctx{ui, record};
    try {
        reader(ctx);
    } catch (const lumio::Outcome&) {
    }
    return 0;
}

}  // namespace lumfuzz
