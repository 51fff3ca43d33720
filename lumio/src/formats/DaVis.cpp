// Reader of DaVis profiles (.prf).
//
// Knowledge: the known outline of these exports; no real file was at hand. The first line
// begins with "#DaVis"; further header lines begin with "#"; each data line holds x, a tab
// and y, where a decimal comma may stand for the decimal point. Relied on: the "#DaVis" of
// the first line, the "#" of header lines and the tab. Ignored: the header's content.
#include "../FileBytes.h"
#include "InstrumentText.h"
#include "Readers.h"

namespace lumio::detail {
namespace {

bool noEnd(std::string_view) {
    return false;
}

}  // namespace

void readDaVis(ReadContext& ctx) {
    const FileBytes content = readWholeFile(ctx.record.fileName);
    LineReader lines(content);
    std::string_view line;
    if (!lines.next(line)) fail(keyword::NullFile);
    if (line.substr(0, 6) != "#DaVis") fail(keyword::UnknownFormat);
    std::size_t start = lines.offset();
    while (lines.next(line) && line.front() == '#') start = lines.offset();
    text::readColumns(ctx, content, start, text::Columns{'\t', true}, 1, noEnd);
}

}  // namespace lumio::detail
