// RTF and plain text of a report; see ReportWriters.h.
#include "lumreport/ReportWriters.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "lumcore/Cp1252.h"
#include "lumcore/SafeFile.h"

namespace lumreport {

namespace {

void appendInt(std::string& out, long value) {
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void appendHexByte(std::string& out, unsigned byte) {
    static const char kDigits[] = "0123456789abcdef";
    out += "\\'";
    out += kDigits[(byte >> 4) & 0xF];
    out += kDigits[byte & 0xF];
}

// A UTF-16 unit as RTF's \u wants it: a signed 16-bit number, with "?" for readers
// without Unicode.
void appendUnicode(std::string& out, unsigned unit) {
    out += "\\u";
    appendInt(out, static_cast<long>(static_cast<std::int16_t>(static_cast<std::uint16_t>(unit))));
    out += '?';
}

// Text of a run: RTF's own characters escaped, tabs as \tab, Windows-1252 letters as \'hh,
// every other character as \uN? (two of them for a character beyond 16 bits). A byte that
// is not UTF-8 is taken as the Windows-1252 byte it is on disk.
void appendEscaped(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // A stretch of printable ASCII without RTF's own characters goes out as it is.
        std::size_t plain = i;
        while (plain < text.size()) {
            const unsigned char c = static_cast<unsigned char>(text[plain]);
            if (c < 0x20 || c >= 0x80 || c == '\\' || c == '{' || c == '}') break;
            ++plain;
        }
        out.append(text.data() + i, plain - i);
        if ((i = plain) == text.size()) break;
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b == '\\' || b == '{' || b == '}') {
            out += '\\';
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        if (b == '\t') {
            out += "\\tab ";
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = lumcore::decodeUtf8(text, i, cp);
        if (len == 0) {
            appendHexByte(out, b);
            ++i;
            continue;
        }
        i += len;
        const int byte = lumcore::cp1252Byte(cp);
        if (byte >= 0) {
            appendHexByte(out, static_cast<unsigned>(byte));
        } else if (cp > 0xFFFF) {
            const char32_t v = cp - 0x10000;
            appendUnicode(out, 0xD800 + (v >> 10));
            appendUnicode(out, 0xDC00 + (v & 0x3FF));
        } else {
            appendUnicode(out, cp);
        }
    }
}

}  // namespace

std::string reportRtf(const Report& report) {
    std::string out;
    std::size_t textBytes = 0;
    for (std::size_t i = 0; i < report.size(); ++i) textBytes += report.text(i).size();
    out.reserve(1024 + textBytes * 3 / 2 + report.size() * 120);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1";
    out += "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial Unicode MS;}}\n";
    // Colour 1 is black and 2 light red; the element colours follow in their order of use.
    std::vector<Color> colors{kBlack, kLightRed};
    for (Color c : report.colors())
        if (std::find(colors.begin(), colors.end(), c) == colors.end()) colors.push_back(c);
    out += "{\\colortbl;";
    for (Color c : colors) {
        out += "\\red";
        appendInt(out, static_cast<long>(c & 0xFF));
        out += "\\green";
        appendInt(out, static_cast<long>((c >> 8) & 0xFF));
        out += "\\blue";
        appendInt(out, static_cast<long>((c >> 16) & 0xFF));
        out += ';';
    }
    out += "}\n";

    // Each paragraph sets its character format afresh: readers differ in whether it
    // survives a \par.
    std::array<std::string, 2> start;
    for (TabSet tabs : {TabSet::Header, TabSet::Table}) {
        std::string& s = start[static_cast<std::size_t>(tabs)];
        s = "\\pard";
        for (int stop : tabStopsTwips(tabs)) {
            s += "\\tx";
            appendInt(s, stop);
        }
        s += "\\plain\\f0\\fs15 ";
    }
    for (std::size_t i = 0; i < report.size(); ++i) {
        out += start[static_cast<std::size_t>(report.paragraph(i).tabs)];
        Style current;
        current.color = ~kBlack;  // no colour chosen yet
        for (const Run& run : report.runs(i)) {
            const Style& s = run.style;
            if (s.bold != current.bold) out += s.bold ? "\\b " : "\\b0 ";
            if (s.underline != current.underline) out += s.underline ? "\\ul " : "\\ulnone ";
            if (s.color != current.color) {
                out += "\\cf";
                appendInt(out, static_cast<long>(std::find(colors.begin(), colors.end(), s.color) -
                                                 colors.begin() + 1));
                out += ' ';
            }
            current = s;
            appendEscaped(out, report.text(run));
        }
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}

std::string reportPlainText(const Report& report) {
    std::string out;
    out.reserve(report.size() * 100);
    for (std::size_t i = 0; i < report.size(); ++i) (out += report.text(i)) += '\n';
    return out;
}

bool saveReportRtf(const std::string& path, const Report& report) {
    return lumcore::writeFileSafely(path, reportRtf(report));
}

bool saveReportPlainText(const std::string& path, const Report& report) {
    return lumcore::writeFileSafely(path, lumcore::utf8ToCp1252(reportPlainText(report)));
}

}  // namespace lumreport
