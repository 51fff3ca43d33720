// Reader of Lumora's own spectrum file (.lmx).
// Knowledge: the layout is ours; NativeWriter.cpp writes it. Sections are found by marker
// lines ("[Data->]" ... "[<-Data]" required, header, spectrum lines and database lines
// optional); a line is a marker when it contains the marker text anywhere, and the last
// such line counts. Point lines are "x y" (";" or tab also separate, decimal comma
// accepted); line entries are ";"-separated with labels holding one ";" of their own.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "FileBytes.h"
#include "ValueRules.h"
#include "formats/LineReader.h"
#include "formats/NumberText.h"
#include "formats/Readers.h"
#include "lumcore/Cp1252.h"
#include "lumdb/Candidate.h"

namespace lumio::detail {
namespace {

// Where a marker line lies in the file: from its start to its "\n" (or the end).
struct MarkerLine {
    bool found = false;
    std::size_t begin = 0;
    std::size_t end = 0;
};

enum Marker {
    kHeaderOpen,
    kHeaderClose,
    kLinesOpen,
    kLinesClose,
    kDatabaseOpen,
    kDatabaseClose,
    kDataOpen,
    kDataClose,
    kMarkerCount
};
constexpr std::string_view kMarkerText[kMarkerCount] = {
    "[Header->]",        "[<-Header]",        "[SpectrumLines->]", "[<-SpectrumLines]",
    "[DatabaseLines->]", "[<-DatabaseLines]", "[Data->]",          "[<-Data]",
};

// The last line holding each marker, found in one pass over the "[" of the file (the data
// lines have none, so the pass costs little more than reading the bytes).
void findMarkers(std::string_view text, MarkerLine (&lines)[kMarkerCount]) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    // The line around the current "[", kept while the hits stay on it, so a long line full
    // of markers is not searched for its ends over and over.
    const char* lineBegin = begin;
    const char* lineEnd = begin;
    const char* p = begin;
    while (const void* hit = std::memchr(p, '[', static_cast<std::size_t>(end - p))) {
        const char* at = static_cast<const char*>(hit);
        if (at >= lineEnd) {
            for (const char* q = at; q > p; --q)
                if (q[-1] == '\n') {
                    lineBegin = q;
                    break;
                }
            const void* next = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
            lineEnd = next ? static_cast<const char*>(next) : end;
        }
        const std::string_view rest(at, static_cast<std::size_t>(end - at));
        for (int m = 0; m < kMarkerCount; ++m) {
            if (rest.substr(0, kMarkerText[m].size()) != kMarkerText[m]) continue;
            lines[m].found = true;
            lines[m].begin = static_cast<std::size_t>(lineBegin - begin);
            lines[m].end = static_cast<std::size_t>(lineEnd - begin);
        }
        p = at + 1;
    }
}

// The text strictly between an opening and a closing marker line, when both exist and the
// closing one comes later.
bool sectionBetween(std::string_view text, const MarkerLine& open, const MarkerLine& close,
                    std::string_view& body) {
    if (!open.found || !close.found || close.begin <= open.begin) return false;
    body = text.substr(open.end, close.begin - open.end);
    return true;
}

// Reads a number the way the file's fields are read: the first "," is the decimal sign,
// and reading stops where atof would stop.
double nativeNumber(std::string_view field) {
    if (!field.empty() && startsPlainNumber(field.front())) {
        float value;
        const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
        if (result.ec == std::errc() && result.ptr == field.data() + field.size()) return value;
    }
    std::string text(field);
    const auto comma = text.find(',');
    if (comma != std::string::npos) text[comma] = '.';
    // atof stops at a second "," or a second "."; cutting there keeps the shared field rule
    // from reading them as decimal or thousands signs.
    const auto secondComma = text.find(',');
    if (secondComma != std::string::npos) text.resize(secondComma);
    const auto firstDot = text.find('.');
    if (firstDot != std::string::npos) {
        const auto secondDot = text.find('.', firstDot + 1);
        if (secondDot != std::string::npos) text.resize(secondDot);
    }
    return parseNumberField(text);
}

// Splits off the text up to the next ";" (or the rest); the rest starts behind the ";".
std::string_view nextField(std::string_view& rest) {
    const auto semi = rest.find(';');
    std::string_view field = rest.substr(0, semi);
    rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
    return field;
}

void readSpectrumLines(std::string_view body, SpectrumRecord& record) {
    LineReader lines(body);
    std::string_view line;
    float lastX = 0.0f, lastY = 0.0f;
    std::size_t current = TLineArray::npos;
    while (lines.next(line)) {
        enum class Kind { None, Species, Candidate } kind = Kind::Candidate;
        if (line.front() == '?') {
            kind = Kind::None;
            line.remove_prefix(1);
        } else if (line.front() == '*') {
            kind = Kind::Species;
            line.remove_prefix(1);
        }
        std::string_view rest = line;
        const float x = static_cast<float>(nativeNumber(nextField(rest)));
        const float y = static_cast<float>(nativeNumber(nextField(rest)));
        // A change of x or y starts the next line. The first entry always starts one, even
        // at 0;0, so that its entries have a line to go to.
        if (current == TLineArray::npos || x != lastX || y != lastY) {
            current = record.spectrumLines.add(CLine(x, y));
            lastX = x;
            lastY = y;
        }
        if (kind == Kind::None) continue;
        lumdb::CandidateEntry entry = lumdb::ParseCandidateEntry(lumcore::cp1252ToUtf8(rest));
        CLine& target = record.spectrumLines[current];
        if (kind == Kind::Species) {
            target.speciesLabels.push_back(std::move(entry.label));
            target.speciesColors.push_back(entry.color);
            target.speciesRecords.push_back(std::move(entry.record));
        } else {
            target.candidateLabels.push_back(std::move(entry.label));
            target.candidateColors.push_back(entry.color);
            target.candidateRecords.push_back(std::move(entry.record));
        }
    }
}

void readDatabaseLines(std::string_view body, SpectrumRecord& record) {
    LineReader lines(body);
    std::string_view line;
    while (lines.next(line)) {
        std::string_view rest = line;
        CSearchEngineLine entry;
        entry.wavelength = static_cast<float>(nativeNumber(nextField(rest)));
        // The rest has the form of a candidate entry; the label's value is the line's value.
        std::string_view labelRest = rest;
        nextField(labelRest);
        entry.value = static_cast<float>(nativeNumber(nextField(labelRest)));
        lumdb::CandidateEntry parsed = lumdb::ParseCandidateEntry(lumcore::cp1252ToUtf8(rest));
        entry.label = std::move(parsed.label);
        entry.color = parsed.color;
        entry.record = std::move(parsed.record);
        record.databaseLines.add(std::move(entry));
    }
}

inline bool isPointSeparator(char c) {
    return c == ';' || c == ' ' || c == '\t';
}

// Reads the point field at p up to the next separator (or the line end) and leaves p
// there.
double takePointField(const char*& p, const char* end) {
    const char* fieldEnd = p;
    while (fieldEnd < end && !isPointSeparator(*fieldEnd)) ++fieldEnd;
    const double value = nativeNumber(std::string_view(p, static_cast<std::size_t>(fieldEnd - p)));
    p = fieldEnd;
    return value;
}

void readPoints(std::string_view body, ReadContext& ctx) {
    PointCollector points(ctx);
    LineReader lines(body);
    std::string_view line;
    bool any = false;
    while (lines.next(line)) {
        any = true;
        const char* p = line.data();
        const char* const end = p + line.size();
        const double x = takePointField(p, end);
        // The x field and the one separator behind it go; y runs to the next separator, so
        // a second blank leaves the y field empty (y = 0).
        if (p < end) ++p;
        const double y = takePointField(p, end);
        points.add(x, y);
    }
    if (!any) fail(keyword::NullFile);
    points.finish();
}

}  // namespace

void readNative(ReadContext& ctx) {
    const FileBytes bytes = readWholeFile(ctx.record.fileName);
    const std::string_view text(bytes);

    MarkerLine markers[kMarkerCount];
    findMarkers(text, markers);
    const MarkerLine& dataOpen = markers[kDataOpen];
    const MarkerLine& dataClose = markers[kDataClose];
    if (!dataOpen.found || !dataClose.found || dataClose.begin < dataOpen.begin)
        fail(keyword::UnknownFormat);
    // Both markers on one line: an empty data section.
    if (dataClose.begin == dataOpen.begin) fail(keyword::NullFile);

    // The header section carries nothing we keep; its lines are simply not read.
    std::string_view body;
    if (sectionBetween(text, markers[kLinesOpen], markers[kLinesClose], body))
        readSpectrumLines(body, ctx.record);
    if (sectionBetween(text, markers[kDatabaseOpen], markers[kDatabaseClose], body))
        readDatabaseLines(body, ctx.record);

    sectionBetween(text, dataOpen, dataClose, body);
    readPoints(body, ctx);
    ctx.record.plotInfo.title.clear();
}

}  // namespace lumio::detail
