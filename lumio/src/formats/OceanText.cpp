// Reader of the text exports of the later Ocean Optics programs (SpectraSuite, OceanView and
// the Jaz instruments' own files: .txt, .jaz, .JazIrrad).
//
// Knowledge: real files written by these programs, some with translated headers. Header
// lines ("Date: …", "Spectrometers: …") come first, the first naming the file kind
// ("SpectraSuite Data File", "Jaz Data File", "Data from … Node"); then a marker line whose
// leading ">>>>>" is all that stays the same across languages and programs, then the data
// lines: x and one value separated by a tab, or, in Jaz files, a row of column letters
// (W, D, R, S, P: wavelength, dark, reference, sample, processed) and one column each.
// Numbers are written with a decimal point or a decimal comma and in forms such as
// "21.117E2". The data end at the next marker line (an end marker, or the start of a second
// block such as a Jaz calibration), at a line that is no number, or at the end of the file;
// OceanView writes no end marker. Line ends may be mixed within one file.
// Relied on: the ">>>>>" marker, the first line as the title, the column letters, the x
// unit of OceanView's "XAxis mode:" line. Ignored: every other header field (the data lines
// are counted as they come).
#include <algorithm>

#include "../FileBytes.h"
#include "ChoiceMemory.h"
#include "InstrumentText.h"
#include "Readers.h"

namespace lumio::detail {
namespace {

// The column dialog offers at most this many value columns (Jaz files have four or five).
constexpr std::size_t kMaxColumns = 64;

using text::isNumberLine;
using text::isOceanMarker;

// The offset behind the first marker line, or npos when there is none before the data:
// a line that begins like a number before any marker means this is no such export.
std::size_t behindMarker(std::string_view content) {
    LineReader lines(content);
    std::string_view line;
    while (lines.next(line)) {
        if (isOceanMarker(line)) return lines.offset();
        if (isNumberLine(line)) return std::string_view::npos;
    }
    return std::string_view::npos;
}

std::string columnName(std::string_view letter) {
    if (letter == "D") return "Dark";
    if (letter == "R") return "Reference";
    if (letter == "S") return "Sample";
    if (letter == "P") return "Processed";
    return std::string(letter);
}

// SelectTraceComboDialog's last choice while the library is loaded (-1: none yet).
int lastChosenColumn = -1;

// Asks for one of the value columns named in the letter row; returns its field index.
std::size_t chooseColumn(ReadContext& ctx, const std::vector<std::string_view>& letters,
                         std::size_t valueColumns) {
    std::vector<std::string> names;
    for (std::size_t i = 1; i <= valueColumns; ++i)
        names.push_back(i < letters.size() ? columnName(letters[i])
                                           : "Spalte " + std::to_string(i));
    // The processed column comes first; a choice made before is offered again.
    return chooseValueColumn(ctx, names, static_cast<int>(names.size()) - 1, lastChosenColumn);
}

}  // namespace

bool looksOceanText(std::string_view head) {
    const std::size_t start = behindMarker(head);
    if (start == std::string_view::npos) return false;
    LineReader lines(head);
    lines.seek(start);
    std::string_view line;
    // The data, perhaps behind a row of column letters.
    if (lines.next(line) && !text::startsWithNumber(line) && !isOceanMarker(line)) lines.next(line);
    return isNumberLine(line);
}

void readOceanText(ReadContext& ctx) {
    const FileBytes content = readWholeFile(ctx.record.fileName);
    std::size_t start = behindMarker(content);
    if (start == std::string_view::npos) fail(keyword::UnknownFormat);
    std::string_view first = text::lineAt(content, start);
    std::vector<std::string_view> letters;
    if (!text::startsWithNumber(first)) {
        if (isOceanMarker(first)) fail(keyword::NullFile);
        text::splitFields(first, first.find('\t') != std::string_view::npos ? '\t' : ' ', letters,
                          kMaxColumns + 1);
        LineReader lines(content);
        lines.seek(start);
        std::string_view skipped;
        lines.next(skipped);
        start = lines.offset();
        first = text::lineAt(content, start);
    }
    text::checkDataLines(content, start, isOceanMarker);
    if (!text::startsWithNumber(first)) fail(keyword::NullFile);
    text::Columns columns = text::columnsOf(first);
    std::vector<std::string_view> fields;
    text::splitFields(first, columns.separator, fields, kMaxColumns + 1);
    if (fields.size() < 2) fail(keyword::UnknownFormat);
    columns.decimalComma = text::contains(fields[0], ",");
    const std::size_t yField =
        fields.size() < 3 ? 1 : chooseColumn(ctx, letters, fields.size() - 1);
    text::readColumns(ctx, content, start, columns, yField, isOceanMarker);

    LineReader lines(content);
    std::string_view title;
    lines.next(title);
    // OceanView names the x axis ("XAxis mode: Wavelengths"); SpectraSuite does not.
    for (std::string_view line = title; lines.offset() < start && lines.next(line);)
        if (line.substr(0, 11) == "XAxis mode:") declareUnitOfLabel(ctx.record, line.substr(11));
    ctx.record.plotInfo.title = plotTitleOf(title);
}

}  // namespace lumio::detail
