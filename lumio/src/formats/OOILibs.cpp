// Reader of Ocean Optics OOI LIBS files (.ols, .olb).
//
// Knowledge: the known outline of these exports; no real file was at hand, so the rules
// below are kept as loose as the outline allows. The first line names the program ("OOI LIBS");
// header lines follow up to the column header line, which names "Wavelength" (or "Pixel") and
// "Counts"; then one data line per pixel: x and counts. Relied on: the program name in the first
// line and the words of the column header line. Ignored: every other header line. A file whose
// first line lacks the program name is taken as data from its first line. Lines with more than two
// columns give their first two.
#include "../FileBytes.h"
#include "InstrumentText.h"
#include "Readers.h"

namespace lumio::detail {
namespace {

bool isColumnHeader(std::string_view line) {
    return text::contains(line, "Counts") &&
           (text::contains(line, "Wavelength") || text::contains(line, "Pixel"));
}

bool noEnd(std::string_view) {
    return false;
}

std::size_t dataStart(std::string_view content) {
    LineReader lines(content);
    std::string_view line;
    if (!lines.next(line)) fail(keyword::NullFile);
    if (!text::contains(line, "OOI LIBS")) return 0;
    while (!isColumnHeader(line))
        if (!lines.next(line)) fail(keyword::NullFile);
    return lines.offset();
}

}  // namespace

void readOOILibs(ReadContext& ctx) {
    const FileBytes content = readWholeFile(ctx.record.fileName);
    const std::size_t start = dataStart(content);
    text::checkDataLines(content, start, noEnd);
    const std::string_view first = text::lineAt(content, start);
    text::Columns columns = text::columnsOf(first);
    std::vector<std::string_view> fields;
    text::splitFields(first, columns.separator, fields, 1);
    columns.decimalComma = !fields.empty() && text::contains(fields[0], ",");
    text::readColumns(ctx, content, start, columns, 1, noEnd);
}

}  // namespace lumio::detail
