// A libFuzzer target of the spectrum readers, built once per row of targets.tsv with
// LUMFUZZ_INPUT (the input file's name) and LUMFUZZ_READERS (the reader entries). The input
// goes into a file (the readers take a path), each reader entry runs on it with a user who
// picks the last track or frame, and what a reader accepts must obey the point rules.
// Anything but an outcome keyword escaping a reader ends the run as a crash.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ReadContext.h"
#include "formats/Readers.h"
#include "lumio/Outcome.h"

namespace {

class FuzzUi : public lumio::Ui {
  public:
    lumio::Answer message(const std::string&, const std::string&, lumio::Icon,
                          lumio::Buttons) override {
        return lumio::Answer::Yes;
    }
    std::optional<int> chooseFormat(const std::string&, const std::vector<std::string>&,
                                    int) override {
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
    std::optional<int> chooseColumn(const std::string&, const std::vector<std::string>&,
                                    int) override {
        return 0;
    }
};

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// Runs one reader entry on the file; on success the points must be finite x without two
// equal neighbours, inside the ranges the reader reported.
void runReader(lumio::detail::ReaderFn reader, const std::string& path) {
    FuzzUi ui;
    SpectrumRecord record;
    record.fileName = path;
    lumio::detail::ReadContext ctx{ui, record};
    try {
        reader(ctx);
    } catch (const lumio::Outcome&) {
        return;
    }
    check(!record.points.empty());
    for (std::size_t i = 0; i < record.points.size(); ++i) {
        const TPointF p = record.points[i];
        check(std::isfinite(p.x) && std::isfinite(p.y));
        check(p.x >= record.plotInfo.xMin && p.x <= record.plotInfo.xMax);
        check(p.y >= record.plotInfo.yMin && p.y <= record.plotInfo.yMax);
        if (i > 0) check(p.x != record.points[i - 1].x);
    }
    check(record.plotInfo.title.size() <= SPlotInfo::kTitleMax);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const tmp = std::getenv("TMPDIR");
    static const std::string path = std::string(tmp ? tmp : "/tmp") +
                                    "/lumio-fuzz-" LUMFUZZ_INPUT "-" + std::to_string(::getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    check(f && (size == 0 || std::fwrite(data, 1, size, f) == size));
    std::fclose(f);
    using namespace lumio::detail;
    for (ReaderFn reader : {LUMFUZZ_READERS}) runReader(reader, path);
    return 0;
}
