// What each format's files look like from their first bytes, for files whose extension names
// no format (or the wrong one). A check accepts only what its reader would read; the checks
// run in the order of the format table and the first that accepts wins, so the generic text
// checks turn away files that carry a known instrument's marks.
#include <cstring>

#include "InstrumentText.h"
#include "Readers.h"

namespace lumio::detail {
namespace {

std::string_view firstLine(std::string_view head) {
    LineReader lines(head);
    std::string_view line;
    return lines.next(line) ? line : std::string_view();
}

std::uint32_t u32At(std::string_view head, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(head.data() + at);
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// The offset of the first line that begins like a number and holds only number characters,
// when no Ocean Optics marker line comes before it; npos otherwise.
std::size_t plainDataStart(std::string_view head) {
    LineReader lines(head);
    std::string_view line;
    std::size_t start = 0;
    while (lines.next(line)) {
        if (text::isOceanMarker(line)) return std::string_view::npos;
        if (text::isNumberLine(line)) return start;
        start = lines.offset();
    }
    return std::string_view::npos;
}

// Up to ten lines from `start` (as far as the head reaches) hold only number characters.
bool dataLinesFollow(std::string_view head, std::size_t start) {
    LineReader lines(head);
    lines.seek(start);
    std::string_view line;
    for (int i = 0; i < 10 && lines.next(line); ++i) {
        // A line cut off by the end of the head is not judged.
        if (line.data() + line.size() == head.data() + head.size()) break;
        if (!text::onlyDataCharacters(line)) return false;
    }
    return true;
}

bool namesProgram(std::string_view line) {
    return text::contains(line, "OOIBase32") || text::contains(line, "OOI LIBS") ||
           line.substr(0, 6) == "#DaVis";
}

}  // namespace

bool looksNative(std::string_view head) {
    return text::contains(head, "[Data->]");
}

bool looksAscii(std::string_view head) {
    if (namesProgram(firstLine(head)) || looksNative(head)) return false;
    // The reader's rule: the header is everything before the first line that begins with a
    // number; what follows must be numbers.
    LineReader lines(head);
    std::string_view line;
    while (lines.next(line)) {
        if (text::isOceanMarker(line)) return false;
        const char c = line.front();
        if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')
            return dataLinesFollow(head, static_cast<std::size_t>(line.data() - head.data()));
    }
    return false;
}

bool looks4Spec(std::string_view head) {
    return head.size() >= 8 && static_cast<unsigned char>(head[0]) == 0xFC &&
           static_cast<unsigned char>(head[1]) == 0xFF && head[2] == 0x04 &&
           static_cast<unsigned char>(head[3]) == 0x81;
}

bool looksMaps(std::string_view head) {
    return head.size() >= 8 && u32At(head, 0) == 0x5350414D;
}

bool looksDaVis(std::string_view head) {
    return firstLine(head).substr(0, 6) == "#DaVis";
}

bool looksOOIBase(std::string_view head) {
    return text::contains(firstLine(head), "OOIBase32");
}

bool looksOOILibs(std::string_view head) {
    return text::contains(firstLine(head), "OOI LIBS");
}

bool looksGrams(std::string_view head) {
    if (head.size() < 256) return false;
    const auto version = static_cast<unsigned char>(head[1]);
    return version == 0x4B || version == 0x4C || version == 0x4D;
}

bool looksWinSpec(std::string_view head) {
    return head.size() >= 4100 && u32At(head, 2996) == 0x01234567;
}

bool looksAvaSoft(std::string_view head) {
    const std::size_t start = plainDataStart(head);
    if (start == std::string_view::npos || start == 0) return false;  // no header at all
    if (namesProgram(firstLine(head)) || looksNative(head) || !dataLinesFollow(head, start))
        return false;
    const std::string_view first = text::lineAt(head, start);
    return first.find_first_of("\t; ") != std::string_view::npos;
}

}  // namespace lumio::detail
