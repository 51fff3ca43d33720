// Reader of AvaSoft ASCII exports (.trt scope, .tat absorbance, .ttt transmission,
// .tit irradiance).
//
// Knowledge: real files written by AvaSoft 7 and 8. A few header lines (spectrometer,
// integration time, averaging, column names, units; some padded with NUL bytes) precede
// the data lines: wavelength, then the value columns separated by ";" (or tab or blanks),
// with decimal point or decimal comma. Relied on: the first data line (see below) and its
// column count. Ignored: the header lines, including the column names written there; the
// value columns are named by their usual order (dark, reference, sample, the processed
// value, photon number) and the processed value by the file's extension.
// The header ends at the first line that begins like a number and holds only the
// characters of numbers and separators: AvaSoft 7 starts its files with the spectrometer's
// serial number ("0804016U1- "), which begins with a digit but is no data line.
#include <algorithm>
#include <cctype>

#include "../FileBytes.h"
#include "ChoiceMemory.h"
#include "InstrumentText.h"
#include "Readers.h"
#include "lumcore/Printf.h"

namespace lumio::detail {
namespace {

bool noEnd(std::string_view) {
    return false;
}

bool isDataLine(std::string_view line) {
    return text::startsWithNumber(line) && text::onlyDataCharacters(line);
}

std::size_t dataStart(std::string_view content) {
    LineReader lines(content);
    std::string_view line;
    if (!lines.next(line)) fail(keyword::NullFile);
    std::size_t start = 0;
    while (!isDataLine(line)) {
        start = lines.offset();
        if (!lines.next(line)) fail(keyword::NullFile);
    }
    return start;
}

// The name of the processed column, after the file's extension.
std::string processedName(const std::string& path) {
    const auto dot = path.rfind('.');
    std::string ext = dot == std::string::npos ? path : path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (ext.find("TAT") != std::string::npos) return "Absorbance";
    if (ext.find("TTT") != std::string::npos) return "Transmission";
    if (ext.find("TIT") != std::string::npos) return "Irradiance";
    return "Data";
}

// SelectTraceComboDialog's last choice while the library is loaded (-1: none yet).
int lastChosenColumn = -1;

// Asks for the value column of a line with `columns` columns; returns its field index.
std::size_t chooseColumn(ReadContext& ctx, std::size_t columns) {
    std::vector<std::string> names = {"Dark", "Reference", "Sample",
                                      processedName(ctx.record.fileName)};
    if (columns > 5) names.push_back("Photon number");
    // Only as many entries as the line has value columns, so every entry can be read.
    names.resize(std::min(names.size(), columns - 1));
    // The processed column comes first; a choice made before is offered again.
    return chooseValueColumn(ctx, names, std::min(3, static_cast<int>(names.size()) - 1),
                             lastChosenColumn);
}

}  // namespace

void readAvaSoft(ReadContext& ctx) {
    const FileBytes content = readWholeFile(ctx.record.fileName);
    const std::size_t start = dataStart(content);
    text::checkDataLines(content, start, noEnd);
    // The units row under the column names ("[nm] ;[counts]") names the x unit.
    LineReader header(std::string_view(content).substr(0, start));
    for (std::string_view line; header.next(line);)
        if (line.front() == '[')
            declareUnitOfLabel(ctx.record, line.substr(0, line.find_first_of(";\t")));
    const std::string_view first = text::lineAt(content, start);
    text::Columns columns = text::columnsOf(first);
    std::vector<std::string_view> fields;
    // Beyond six fields the count changes no choice.
    text::splitFields(first, columns.separator, fields, 7);
    if (fields.size() < 2) fail(keyword::UnknownFormat);  // no value column at all
    columns.decimalComma = text::contains(fields[0], ",");
    const std::size_t yField = fields.size() < 3 ? 1 : chooseColumn(ctx, fields.size());
    text::readColumns(ctx, content, start, columns, yField, noEnd);
}

}  // namespace lumio::detail
