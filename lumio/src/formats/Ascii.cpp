// Readers of plain text spectra (.asc, .txt): x,y columns in three layouts, or y alone.
// Knowledge: files written by our own export (one "x y" or "y" per line), by spreadsheet
// programs (";" and decimal comma) and by acquisition programs that put a text header
// above the numbers. Layouts told apart by the first data line:
// - columns: x, then one or more y tracks, separated by ";", blank or tab (or by "," when
//   the first data line has none of these);
// - counted tracks: a first line "0 0 k" announcing k + 1 tracks, data from the next line;
// - frames: rows "x strip [frame] y" whose second field on the first row reads "1.00".
// Header lines (before the first number) are skipped; the ten lines after them must hold
// nothing but number characters and separators.
#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "ChoiceMemory.h"
#include "FileBytes.h"
#include "ValueRules.h"
#include "formats/InstrumentText.h"
#include "formats/LineReader.h"
#include "formats/NumberText.h"
#include "formats/Readers.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumio::detail {
namespace {

constexpr int kCheckedLines = 10;
constexpr std::string_view kDataCharacters = "0123456789+-eEdD.,; \t";

// The file with its header lines found.
struct AsciiText {
    FileBytes bytes;
    std::size_t dataStart = 0;  // offset of the first data line
    std::size_t firstLength = 0;
    // The first data line, trailing blanks left out (they separate nothing).
    std::string_view firstLine() const { return bytes.view().substr(dataStart, firstLength); }
};

// A data line begins with a number: a digit, a sign or a decimal point. Everything before
// the first such line is header ("'" or "\"" comments, column titles, instrument notes).
bool isDataLine(std::string_view line) {
    const char c = line.front();
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

std::string_view trimTrailingBlanks(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

AsciiText loadAscii(ReadContext& ctx) {
    AsciiText file;
    file.bytes = readWholeFile(ctx.record.fileName);
    LineReader lines(file.bytes);
    std::string_view line;
    if (!lines.next(line)) fail(keyword::NullFile);
    std::string_view titles[2];  // the last two header lines
    while (!isDataLine(line)) {
        titles[0] = titles[1];
        titles[1] = line;
        // A marker line of the Ocean Optics programs: their readers know where the data end.
        if (text::isOceanMarker(line)) fail(keyword::UnknownFormat);
        if (!lines.next(line)) {
            // Nothing but header: a text without data, or no text at all (control bytes
            // such as the NULs of binary numbers), which another reader may know.
            const bool binary = std::any_of(file.bytes.begin(), file.bytes.end(), [](char c) {
                const auto u = static_cast<unsigned char>(c);
                return u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != '\v';
            });
            fail(binary ? keyword::UnknownFormat : keyword::NullFile);
        }
    }
    // The x column's title, from the header's last lines ("Wellenlänge;Intensität" over
    // "[nm];", "Wavenumber (cm-1)\tCounts"), may name the x unit.
    for (const std::string_view title : {titles[1], titles[0]})
        declareUnitOfLabel(ctx.record, title.substr(0, title.find_first_of(",;\t")));
    file.dataStart = static_cast<std::size_t>(line.data() - file.bytes.data());
    file.firstLength = trimTrailingBlanks(line).size();
    for (int checked = 0; checked < kCheckedLines; ++checked) {
        if (line.find_first_not_of(kDataCharacters) != std::string_view::npos)
            fail(keyword::UnknownFormat);
        if (!lines.next(line)) break;
    }
    return file;
}

bool hasSeparator(std::string_view line, bool withComma) {
    return line.find_first_of(withComma ? ",; \t" : "; \t") != std::string_view::npos;
}

// ---- fields ----

template <bool Comma>
inline bool isSeparator(char c) {
    if constexpr (Comma)
        return c == ',';
    else
        return c == ';' || c == ' ' || c == '\t';
}

template <bool Comma>
inline const char* fieldEnd(const char* p, const char* end) {
    while (p < end && !isSeparator<Comma>(*p)) ++p;
    return p;
}

// From a separator to the start of the next field: the separator and the blanks that
// lead the field are skipped.
inline const char* nextFieldStart(const char* p, const char* end) {
    if (p < end) ++p;
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    return p;
}

// Reads the field at p and leaves p at its end (a separator or the line end).
template <bool Comma>
inline double takeField(const char*& p, const char* end) {
    const char* const fe = fieldEnd<Comma>(p, end);
    const double value = readNumberField(p, fe);
    p = fe;
    return value;
}

// What the layout choice needs of a line: its field count (trailing separators not
// counted) and its first three and its last field.
struct FieldScan {
    std::size_t count = 0;
    std::string_view field[3];
    std::string_view last;
};

template <bool Comma>
FieldScan scanFields(std::string_view line) {
    const char* p = line.data();
    const char* end = p + line.size();
    while (end > p && (isSeparator<Comma>(end[-1]) || end[-1] == ' ' || end[-1] == '\t')) --end;
    FieldScan scan;
    if (p == end) return scan;
    for (;;) {
        const char* fe = fieldEnd<Comma>(p, end);
        const std::string_view f(p, static_cast<std::size_t>(fe - p));
        if (scan.count < 3) scan.field[scan.count] = f;
        scan.last = f;
        ++scan.count;
        if (fe >= end) break;
        p = nextFieldStart(fe, end);
    }
    return scan;
}

FieldScan scanLine(std::string_view line, bool comma) {
    return comma ? scanFields<true>(line) : scanFields<false>(line);
}

int toInt(double value) {
    if (!(value == value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

// ---- choices ----

int askTrack(ReadContext& ctx, std::size_t tracks) {
    const int count =
        tracks > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(tracks);
    int& last = lastChosenTrack();
    const auto chosen = ctx.ui.chooseTrack(ctx.record.fileName, count, initialChoice(last, count));
    if (!chosen || *chosen < 1 || *chosen > count) fail(keyword::CancelOpenFile);
    last = *chosen;
    ctx.record.fileName += " #" + std::to_string(*chosen);
    return *chosen;
}

// ---- layouts ----

// Reads x from the first field and y from field `column` (0-based) of one line.
template <bool Comma>
inline void readColumnLine(std::string_view line, std::size_t column, PointCollector& points) {
    // A row of separators alone (",," of a spreadsheet's empty row) holds no point.
    if (line.find_first_not_of(",; \t") == std::string_view::npos) return;
    const char* p = line.data();
    const char* const end = p + line.size();
    const double x = takeField<Comma>(p, end);
    double y = 0.0;
    for (std::size_t c = 1;; ++c) {
        if (p >= end) break;  // the line has no such column: y is empty
        p = nextFieldStart(p, end);
        if (c == column) {
            y = takeField<Comma>(p, end);
            break;
        }
        p = fieldEnd<Comma>(p, end);
    }
    points.add(x, y);
}

template <bool Comma>
void readColumnLines(LineReader& lines, std::size_t column, PointCollector& points) {
    std::string_view line;
    while (lines.next(line)) readColumnLine<Comma>(line, column, points);
}

// ---- the fast path for "x y" and "x,y" lines ----

// Powers of ten for decimalToFloat, read straight rather than through the shared
// library's table of addresses, since one load stands in every number's conversion.
constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7};
constexpr double kInversePow10[] = {1e0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7};
constexpr std::uint64_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// Eight characters as one little-endian word.
inline std::uint64_t loadWord(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

// The value of the first n (1 to 7) digits of the word: they are moved to its end behind
// '0's and read as eight digits at once.
inline std::uint32_t digitsValue(std::uint64_t word, int n) {
    word = (word << (8 * (8 - n))) | (0x3030303030303030u >> (8 * n));
    word -= 0x3030303030303030u;
    word = (word * 10) + (word >> 8);
    word = (((word & 0x000000FF000000FFu) * 0x000F424000000064u) +
            (((word >> 16) & 0x000000FF000000FFu) * 0x0000271000000001u)) >>
           32;
    return static_cast<std::uint32_t>(word);
}

// The float nearest to mantissa / 10^fraction (negated when `negative`), for a mantissa of
// at most 14 digits and a fraction of at most 7 digits. Such a decimal is exact as a
// double, and no halfway point between two floats lies within half a double's spacing of
// it, so rounding the correctly rounded double quotient to float gives what reading the
// text as a float gives. A product with the rounded power 1e-n lies within two double
// steps of the quotient; only where that could matter (its low bits near a float halfway
// point) is the quotient computed by division, which costs several times more.
inline float decimalToFloat(std::uint64_t mantissa, int fraction, bool negative) {
    const double whole = static_cast<double>(static_cast<std::int64_t>(mantissa));
    double value = whole * kInversePow10[fraction];
    const std::uint32_t belowFloat =
        static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(value) & 0x1FFFFFFFu);
    if (fraction != 0 && belowFloat - (0x10000000u - 16u) < 32u) value = whole / kPow10[fraction];
    return static_cast<float>(negative ? -value : value);
}

// Bit i of `number` tells whether character i of a line is a digit or ".", bit i of
// `point` whether it is ".", for the first 32 characters.
struct LineClasses {
    std::uint64_t number, point;
};

inline LineClasses classifyLine(const char* p) {
#if defined(__SSE2__)
    // 16 characters at a time; '0'..'9' moved to the lowest signed byte values, so one
    // signed comparison finds the digits.
    const __m128i shift = _mm_set1_epi8(static_cast<char>(128 - '0'));
    const __m128i limit = _mm_set1_epi8(static_cast<char>(-128 + 10));
    const __m128i dot = _mm_set1_epi8('.');
    auto half = [&](const char* q, std::uint64_t& number, std::uint64_t& point) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const __m128i isPoint = _mm_cmpeq_epi8(v, dot);
        const __m128i isDigit = _mm_cmplt_epi8(_mm_add_epi8(v, shift), limit);
        number = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_or_si128(isDigit, isPoint)));
        point = static_cast<std::uint32_t>(_mm_movemask_epi8(isPoint));
    };
    std::uint64_t n0, p0, n1, p1;
    half(p, n0, p0);
    half(p + 16, n1, p1);
    return {n0 | (n1 << 16), p0 | (p1 << 16)};
#else
    LineClasses c{0, 0};
    for (int i = 0; i < 32; ++i) {
        const bool isPoint = p[i] == '.';
        const bool isDigit = static_cast<unsigned char>(p[i] - '0') < 10;
        c.number |= std::uint64_t{isDigit || isPoint} << i;
        c.point |= std::uint64_t{isPoint} << i;
    }
    return c;
#endif
}

// The number in [s, e) of the line at p, after a sign: 1 to 7 digits and an optional
// point with up to 7 digits behind it. False for anything else.
inline bool numberInLine(const char* p, std::uint64_t point, int s, int e, bool negative,
                         float& out) {
    const std::uint64_t points =
        point & ((std::uint64_t{1} << e) - 1) & ~((std::uint64_t{1} << s) - 1);
    if ((points & (points - 1)) != 0) return false;
    const int intEnd = points ? std::countr_zero(points) : e;
    const int whole = intEnd - s;
    const int fraction = points ? e - intEnd - 1 : 0;
    if (whole < 1 || whole > 7 || fraction > 7) return false;
    std::uint64_t mantissa;
    if (points && whole + fraction <= 7) {
        // Digits and point within eight characters: the point is cut out of the word and
        // all digits are read at once.
        const std::uint64_t word = loadWord(p + s);
        const std::uint64_t below = (std::uint64_t{1} << (8 * whole)) - 1;
        mantissa = digitsValue((word & below) | ((word >> 8) & ~below), whole + fraction);
    } else {
        mantissa = digitsValue(loadWord(p + s), whole);
        if (fraction)
            mantissa =
                mantissa * kScale[fraction] + digitsValue(loadWord(p + intEnd + 1), fraction);
    }
    out = decimalToFloat(mantissa, fraction, negative);
    return true;
}

// Characters readPlainLine may look at from a line's start.
constexpr std::ptrdiff_t kPlainLineLookahead = 48;

// The length of the line at p with its line end when it is "x y" as our own export writes
// it, or "x,y" as spreadsheets write it: two plain numbers (see numberInLine), the one
// separator character between them, "\n" or "\r\n" behind
// y, all within 32 characters; 0 for anything else. Where each number ends is known from
// the character classes after a few instructions, so the next line's start does not wait
// for the digits to be converted. The values are bit for bit those the C library reads.
template <char Separator>
inline int readPlainLine(const char* p, float& x, float& y) {
    const LineClasses c = classifyLine(p);
    const bool xNegative = p[0] == '-';
    const int xStart = xNegative ? 1 : 0;
    // Behind x: the separator. (Beyond the 32 characters counts as no number character.)
    const int t1 = std::countr_zero(~c.number & ~((std::uint64_t{1} << xStart) - 1));
    if (t1 >= 32 || p[t1] != Separator) return 0;
    const bool yNegative = p[t1 + 1] == '-';
    const int yStart = t1 + 1 + (yNegative ? 1 : 0);
    const int t2 = std::countr_zero(~c.number & ~((std::uint64_t{1} << yStart) - 1));
    if (t2 >= 32) return 0;
    int length;
    if (p[t2] == '\n')
        length = t2 + 1;
    else if (p[t2] == '\r' && p[t2 + 1] == '\n')
        length = t2 + 2;
    else
        return 0;
    if (!numberInLine(p, c.point, xStart, t1, xNegative, x) ||
        !numberInLine(p, c.point, yStart, t2, yNegative, y))
        return 0;
    return length;
}

// Two columns with blank, tab or ";" (or "," alone) between them: each "x y" (or "x,y")
// line goes the fast way; any other line, and the lines too near the end of the text for the fast
// way to look at, go through readColumnLine from the same start and come out as there.
template <bool Comma>
void readTwoColumnLines(LineReader& lines, PointCollector& points) {
    const char* p = lines.text().data() + lines.offset();
    const char* const end = lines.textEnd();
    PointCollector::Running running = points.running();
    constexpr char kSeparator = Comma ? ',' : ' ';
    for (;;) {
        // As LineReader: leading white space and blank lines vanish.
        while (p < end && isTextSpace(*p)) ++p;
        if (p == end) break;
        float x, y;
        if (end - p >= kPlainLineLookahead) {
            if (const int length = readPlainLine<kSeparator>(p, x, y)) {
                // Plain numbers of at most 14 digits: finite and within the limits.
                points.addPlain(running, x, y);
                p += length;
                continue;
            }
        }
        lines.seek(static_cast<std::size_t>(p - lines.text().data()));
        std::string_view line;
        lines.next(line);
        points.resume(running);
        readColumnLine<Comma>(line, 1, points);
        running = points.running();
        p = lines.text().data() + lines.offset();
    }
    points.resume(running);
}

void readColumns(ReadContext& ctx, const AsciiText& file, std::size_t skipLines, std::size_t column,
                 bool comma) {
    LineReader lines(file.bytes);
    lines.seek(file.dataStart);
    std::string_view line;
    for (std::size_t i = 0; i < skipLines; ++i) lines.next(line);
    // One point per line at most; a rough reservation spares most of the regrowth.
    ctx.record.points.reserve(ctx.record.points.size() + (file.bytes.size() - file.dataStart) / 16);
    PointCollector points(ctx);
    const std::size_t before = points.count();  // the record may come filled
    if (column == 1 && comma)
        readTwoColumnLines<true>(lines, points);
    else if (column == 1)
        readTwoColumnLines<false>(lines, points);
    else if (comma)
        readColumnLines<true>(lines, column, points);
    else
        readColumnLines<false>(lines, column, points);
    if (points.count() == before) fail(keyword::NullFile);
    points.finish();
    ctx.record.plotInfo.title.clear();
}

void readFrames(ReadContext& ctx, const AsciiText& file, bool comma) {
    struct Row {
        double x, y;
        int strip, frame;
    };
    auto parseRow = [comma](std::string_view line) {
        const FieldScan scan = scanLine(line, comma);
        // x and y need a strip number between them.
        if (scan.count < 3) fail(keyword::UnknownFormat);
        Row row;
        row.x = readNumberField(scan.field[0]);
        row.y = readNumberField(scan.last);
        row.strip = toInt(readNumberField(scan.field[1]));
        row.frame = scan.count > 3 ? toInt(readNumberField(scan.field[2])) : 1;
        return row;
    };

    // The last row carries the highest strip and frame numbers.
    LineReader lines(file.bytes);
    lines.seek(file.dataStart);
    std::string_view line, lastLine = file.firstLine();
    while (lines.next(line)) lastLine = line;
    const Row lastRow = parseRow(lastLine);

    Ui::FrameStrip chosen{1, 1};
    if (lastRow.frame > 1 || lastRow.strip > 1) {
        const int frames = lastRow.frame < 1 ? 1 : lastRow.frame;
        const int strips = lastRow.strip < 1 ? 1 : lastRow.strip;
        Ui::FrameStrip& last = lastChosenFrameStrip();
        const Ui::FrameStrip initial{initialChoice(last.frame, frames),
                                     initialChoice(last.strip, strips)};
        const auto answer = ctx.ui.chooseFrameStrip(ctx.record.fileName, frames, strips, initial);
        if (!answer || answer->frame < 1 || answer->frame > frames || answer->strip < 1 ||
            answer->strip > strips)
            fail(keyword::CancelOpenFile);
        chosen = *answer;
        last = chosen;
        ctx.record.fileName +=
            " #" + std::to_string(chosen.frame) + "," + std::to_string(chosen.strip);
    }

    // Rows before the chosen strip of the chosen frame are passed over (frame by frame,
    // strip by strip); its rows are read up to the first row of another strip or frame.
    PointCollector points(ctx);
    const std::size_t before = points.count();  // the record may come filled
    lines.seek(file.dataStart);
    bool inside = false;
    while (lines.next(line)) {
        const Row row = parseRow(line);
        const bool match = row.strip == chosen.strip && row.frame == chosen.frame;
        if (!inside) {
            if (!match) continue;
            inside = true;
        } else if (!match) {
            break;
        }
        points.add(row.x, row.y);
    }
    if (points.count() == before) fail(keyword::NullFile);
    points.finish();
    ctx.record.plotInfo.title.clear();
}

void readXY(ReadContext& ctx, const AsciiText& file) {
    const bool comma = !hasSeparator(file.firstLine(), false);
    const FieldScan scan = scanLine(file.firstLine(), comma);
    const std::size_t n = scan.count;

    if (n == 3 && scan.field[1] == "1.00") {
        readFrames(ctx, file, comma);
        return;
    }
    if (n > 1 && readNumberField(scan.field[0]) == 0.0 && readNumberField(scan.field[1]) == 0.0 &&
        readNumberField(scan.last) == static_cast<double>(n - 2)) {
        // "0 0 k": k + 1 tracks follow from the next line.
        const std::size_t k = n - 2;
        const std::size_t column = k < 1 ? 1 : static_cast<std::size_t>(askTrack(ctx, k + 1));
        readColumns(ctx, file, 1, column, comma);
        return;
    }
    const std::size_t column = n < 3 ? 1 : static_cast<std::size_t>(askTrack(ctx, n - 1));
    readColumns(ctx, file, 0, column, comma);
}

void readY(ReadContext& ctx, const AsciiText& file) {
    if (hasSeparator(file.firstLine(), true)) fail(keyword::UnknownFormat);
    LineReader lines(file.bytes);
    lines.seek(file.dataStart);
    ctx.record.points.reserve(ctx.record.points.size() + (file.bytes.size() - file.dataStart) / 8);
    PointCollector points(ctx);
    std::string_view line;
    double position = 0.0;
    while (lines.next(line)) {
        // The field rule removes every "." but the last before reading.
        points.add(++position, readNumberField(line));
    }
    points.finish();
    ctx.record.plotInfo.title.clear();
}

}  // namespace

void readAscii(ReadContext& ctx) {
    const AsciiText file = loadAscii(ctx);
    if (hasSeparator(file.firstLine(), true)) {
        ctx.formatCode = 2;
        readXY(ctx, file);
    } else {
        ctx.formatCode = 3;
        readY(ctx, file);
    }
}

void readAsciiXY(ReadContext& ctx) {
    const AsciiText file = loadAscii(ctx);
    readXY(ctx, file);
}

void readAsciiY(ReadContext& ctx) {
    const AsciiText file = loadAscii(ctx);
    readY(ctx, file);
}

}  // namespace lumio::detail
