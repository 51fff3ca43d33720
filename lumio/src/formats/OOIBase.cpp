// Reader of Ocean Optics OOIBase32 files (.sample, .scope, .Reference, .Dark, .SampleDark).
//
// Knowledge: real files written by OOIBase32 versions 1.0 and 2.0. The first line names the
// program ("OOIBase32 Version … Data File"); header lines follow up to a marker line
// ">>>>>Begin Spectral Data<<<<<", then wavelength and value separated by a tab, up to
// ">>>>>End Spectral Data<<<<<". Relied on: the program name in the first line and the ">>"
// of both marker lines. Ignored: every header field (integration time, averaging, pixel
// count; the data lines are counted as they come). A file whose first line lacks the
// program name is taken as data from its first line. Lines with more than two columns give
// their first two.
#include "../FileBytes.h"
#include "InstrumentText.h"
#include "Readers.h"

namespace lumio::detail {
namespace {

bool isMarker(std::string_view line) {
    return text::contains(line, ">>");
}

// Offset of the first data line.
std::size_t dataStart(std::string_view content) {
    LineReader lines(content);
    std::string_view line;
    if (!lines.next(line)) fail(keyword::NullFile);
    if (!text::contains(line, "OOIBase32")) return 0;
    // The header ends with the first marker line, which may be the first line itself.
    while (!isMarker(line))
        if (!lines.next(line)) fail(keyword::NullFile);
    return lines.offset();
}

}  // namespace

void readOOIBase(ReadContext& ctx) {
    const FileBytes content = readWholeFile(ctx.record.fileName);
    const std::size_t start = dataStart(content);
    text::checkDataLines(content, start, isMarker);
    const std::string_view first = text::lineAt(content, start);
    if (isMarker(first)) fail(keyword::NullFile);
    text::Columns columns = text::columnsOf(first);
    std::vector<std::string_view> fields;
    text::splitFields(first, columns.separator, fields, 1);
    columns.decimalComma = !fields.empty() && text::contains(fields[0], ",");
    text::readColumns(ctx, content, start, columns, 1, isMarker);
}

}  // namespace lumio::detail
