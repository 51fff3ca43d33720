// Lines, fields and numbers of the text instrument readers (OOIBase32, OOI LIBS, AvaSoft,
// DaVis): what a data line may hold, the column separator, and number fields with an
// optional decimal comma.
#pragma once

#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "../ReadContext.h"
#include "../ValueRules.h"
#include "LineReader.h"

namespace lumio::detail::text {

inline constexpr std::string_view kDataCharacters = "0123456789+-eEdD.,; \t";
inline constexpr std::string_view kNumberStart = "+-.0123456789";

inline bool contains(std::string_view line, std::string_view word) {
    return line.find(word) != std::string_view::npos;
}

inline bool onlyDataCharacters(std::string_view line) {
    return line.find_first_not_of(kDataCharacters) == std::string_view::npos;
}

inline bool startsWithNumber(std::string_view line) {
    return !line.empty() && kNumberStart.find(line.front()) != std::string_view::npos;
}

// A line of numbers and separators with at least one digit (a row of "+" is a rule).
inline bool isNumberLine(std::string_view line) {
    return startsWithNumber(line) && onlyDataCharacters(line) &&
           line.find_first_of("0123456789") != std::string_view::npos;
}

// The marker lines of the Ocean Optics programs begin with ">>>>>".
inline bool isOceanMarker(std::string_view line) {
    return line.substr(0, 5) == ">>>>>";
}

// The pre-check of the data: at most 10 data lines, from `offset` on, may hold only the
// characters of numbers and separators. `isEnd` tells a line that ends the data.
template <class IsEnd>
void checkDataLines(std::string_view text, std::size_t offset, IsEnd isEnd) {
    LineReader lines(text);
    lines.seek(offset);
    std::string_view line;
    for (int i = 0; i < 10 && lines.next(line) && !isEnd(line); ++i)
        if (!onlyDataCharacters(line)) fail(keyword::UnknownFormat);
}

// How the data columns of a file are separated and written.
struct Columns {
    char separator = '\t';
    bool decimalComma = false;
};

// Tab, else ";", else " ", else ","; a first data line with none of them is no data line.
inline Columns columnsOf(std::string_view firstDataLine) {
    Columns c;
    if (contains(firstDataLine, "\t"))
        c.separator = '\t';
    else if (contains(firstDataLine, ";"))
        c.separator = ';';
    else if (contains(firstDataLine, " "))
        c.separator = ' ';
    else if (contains(firstDataLine, ","))
        c.separator = ',';
    else
        fail(keyword::UnknownFormat);
    return c;
}

// The fields of a line, at most `limit` of them (so one line of millions of fields costs no
// more than the few that are read). Runs of separators count as one and the line's leading
// and trailing separators are dropped, so space-padded columns split as they look.
inline void splitFields(std::string_view line, char separator,
                        std::vector<std::string_view>& fields,
                        std::size_t limit = std::numeric_limits<std::size_t>::max()) {
    fields.clear();
    std::size_t i = 0;
    while (i < line.size() && fields.size() < limit) {
        while (i < line.size() && line[i] == separator) ++i;
        if (i == line.size()) break;
        const std::size_t end = std::min(line.find(separator, i), line.size());
        fields.push_back(line.substr(i, end - i));
        i = end;
    }
}

// A number field read as C's atof reads it (leading blanks, a "+", the longest number at
// the start, 0 when there is none). With a decimal comma the first "," becomes ".".
inline double numberField(std::string_view field, bool decimalComma) {
    char buffer[128];
    const std::size_t n = std::min(field.size(), sizeof buffer);
    field.copy(buffer, n);
    if (decimalComma)
        for (std::size_t i = 0; i < n; ++i)
            if (buffer[i] == ',') {
                buffer[i] = '.';
                break;
            }
    const char* p = buffer;
    const char* const end = buffer + n;
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    if (p < end && *p == '+' && !(p + 1 < end && p[1] == '-')) ++p;
    double value = 0.0;
    const auto result = std::from_chars(p, end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow gives ±infinity (caught by the range rules), underflow 0, as strtod does.
        const std::string copy(p, result.ptr);
        return std::strtod(copy.c_str(), nullptr);
    }
    return result.ec == std::errc() ? value : 0.0;
}

// The value of field `index` of a line, or NaN when the line has no such field: the y rule
// then keeps the last valid value rather than inventing a 0.
inline double fieldOrMissing(const std::vector<std::string_view>& fields, std::size_t index,
                             bool decimalComma) {
    return index < fields.size() ? numberField(fields[index], decimalComma)
                                 : std::numeric_limits<double>::quiet_NaN();
}

// Reads the data lines from `offset` on: x from field 0, y from field `yField`, until the end,
// a line for which isEnd holds, or a line that does not begin like a number (text behind the
// data would otherwise become points at 0). No data line at all is "NullFile". The title
// becomes empty.
template <class IsEnd>
void readColumns(ReadContext& ctx, std::string_view text, std::size_t offset, Columns columns,
                 std::size_t yField, IsEnd isEnd) {
    LineReader lines(text);
    lines.seek(offset);
    PointCollector points(ctx);
    std::vector<std::string_view> fields;
    std::string_view line;
    bool any = false;
    while (lines.next(line) && !isEnd(line) && startsWithNumber(line)) {
        splitFields(line, columns.separator, fields, yField + 1);
        if (fields.empty()) continue;
        points.add(numberField(fields[0], columns.decimalComma),
                   fieldOrMissing(fields, yField, columns.decimalComma));
        any = true;
    }
    if (!any) fail(keyword::NullFile);
    ctx.record.plotInfo.title.clear();
    points.finish();
}

// The first line of the data from `offset` on (which the caller knows exists).
inline std::string_view lineAt(std::string_view text, std::size_t offset) {
    LineReader lines(text);
    lines.seek(offset);
    std::string_view line;
    if (!lines.next(line)) fail(keyword::NullFile);
    return line;
}

}  // namespace lumio::detail::text
