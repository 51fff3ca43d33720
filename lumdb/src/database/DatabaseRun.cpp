// The shared walk over the database files; see DatabaseRun.h.
#include "DatabaseRun.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "LineCipherKey.h"
#include "StoredFile.h"
#include "lumcore/Printf.h"
#include "lumdb/ChecksumList.h"
#include "lumdb/Database.h"

namespace lumdb::detail {

namespace {

const char* const kMissingFileText =
    "Die Datenbank kann nicht gefunden werden!\n\nBitte legen Sie die Orvenit Lumora CD in das "
    "CD-Laufwerk und überprüfen Sie die Programm- und Datenbankpfade.";

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Labels and names are compared without regard to case, as everywhere after the element
// table has been read.
bool containsIgnoringCase(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return true;
    auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                          [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
    return it != haystack.end();
}

// The part of an element name that its database headers must contain: names with a
// bracketed addition ("Fe (Eisen)") are cut at their first blank or '('.
std::string headerKey(const std::string& name) {
    if (name.find(" (") == std::string::npos) return name;
    return name.substr(0, name.find_first_of(" ("));
}

std::string trimTrailingBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

void reportDamagedFile(RunHost& host, const std::string& path) {
    host.message(
        "Die Datenbankdatei " + path +
            " ist beschädigt (Größe oder Prüfsumme stimmt nicht) und wird nicht verwendet.",
        "Datenbankquelle", Icon::Exclamation, Buttons::Ok, true);
}

void reportUnreadableLines(RunHost& host, const std::string& path, std::size_t count) {
    const std::string text = count == 1
                                 ? "1 Zeile der Datenbankdatei " + path +
                                       " konnte nicht gelesen werden und wird übergangen."
                                 : std::to_string(count) + " Zeilen der Datenbankdatei " + path +
                                       " konnten nicht gelesen werden und werden übergangen.";
    host.message(text, "Datenbankquelle", Icon::Exclamation, Buttons::Ok, true);
}

// Ends a run: the dialog goes, the parent comes back.
unsigned char finish(RunHost& host, bool aborted) {
    host.closeStatus();
    host.enableParent(true);
    return aborted ? 0 : 1;
}

}  // namespace

std::string_view RecordText::get() {
    if (deciphered_ < length_) {
        decipherRange(line_, deciphered_, length_, length_);
        deciphered_ = length_;
    }
    if (restStart_ > length_) return {};
    return std::string_view(line_ + restStart_, length_ - restStart_);
}

const char* TextBlocks::store(std::string_view text) {
    if (text.size() > left_) {
        const std::size_t size = std::max(kBlockSize, text.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        free_ = blocks_.back().get();
        left_ = size;
    }
    char* copy = free_;
    if (!text.empty()) std::memcpy(copy, text.data(), text.size());
    free_ += text.size();
    left_ -= text.size();
    return copy;
}

void appendGeneral(std::string& out, float value, int precision) {
    char buffer[lumcore::kFloatTextMax];
    out.append(buffer, lumcore::formatGeneral(buffer, value, precision));
}

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The plain decimal numbers of the database ("588.99509", "6.877e-06") read exactly without
// the general parser: with at most 2^53 as digits and a power of ten up to 22, one
// multiplication or division of two exact doubles gives the correctly rounded double, and
// rounding that to float is exact unless it lies on a float halfway point. False for
// anything else, which then goes the general way.
bool parseSimpleFloat(std::string_view text, float& out) {
    const char* p = text.data();
    const char* const end = p + text.size();
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    // Up to 19 digits (leading zeros included) fit the 64-bit accumulator.
    std::uint64_t digits = 0;
    int count = 0, scale = 0;
    for (unsigned d; p != end && (d = static_cast<unsigned>(*p - '0')) < 10; ++p, ++count)
        digits = digits * 10 + d;
    if (p != end && *p == '.') {
        const char* const fraction = ++p;
        for (unsigned d; p != end && (d = static_cast<unsigned>(*p - '0')) < 10; ++p)
            digits = digits * 10 + d;
        scale = static_cast<int>(fraction - p);
        count -= scale;
    }
    if (count == 0 || count > 19) return false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p != end && (*p == '-' || *p == '+')) negativeExponent = *p++ == '-';
        if (p == end || *p < '0' || *p > '9') return false;
        int exponent = 0;
        for (; p != end && *p >= '0' && *p <= '9'; ++p) {
            exponent = exponent * 10 + (*p - '0');
            if (exponent > 400) return false;
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (p != end) return false;
    if (digits == 0) {
        out = negative ? -0.0f : 0.0f;
        return true;
    }
    if (digits > (std::uint64_t{1} << 53) || scale < -22 || scale > 22) return false;
    double value = static_cast<double>(digits);
    value = scale < 0 ? value / kPowersOfTen[-scale] : value * kPowersOfTen[scale];
    if (value < static_cast<double>(std::numeric_limits<float>::min()) ||
        value > static_cast<double>(std::numeric_limits<float>::max()))
        return false;  // subnormal or beyond float
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    if ((bits & 0x1FFFFFFFu) == 0x10000000u) return false;  // halfway between two floats
    out = static_cast<float>(negative ? -value : value);
    return true;
}

}  // namespace

bool parseNumberField(std::string_view text, float& out) {
    if (parseSimpleFloat(text, out)) return true;
    // Blanks around the number do no harm; anything else beside it does.
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return false;
    const std::string copy(text);
    char* end = nullptr;
    out = std::strtof(copy.c_str(), &end);
    return end == copy.c_str() + copy.size() && std::isfinite(out);
}

unsigned char runOverDatabase(RunHost& host, const std::string& process, const std::string& dataDir,
                              const TElementArray& elements, const StageChoice& stages,
                              RecordVisitor& visitor) {
    host.resetAbort();
    host.openStatus();
    host.enableParent(false);
    host.refreshStatus(process, "", 0, 0);
    bool aborted = false;
    StoredFile file;
    std::string_view line;  // the header
    const ChecksumList checksums = ChecksumList::load(dataDir);

    for (const CElement& element : elements) {
        if (!element.selected || element.files.empty()) continue;
        const std::size_t first = stages.neutrals ? 0 : 1;
        std::size_t last = stages.firstIons ? 1 : 0;
        if (stages.higherIons) last = element.files.size() - 1;
        const std::string key = headerKey(element.name);

        for (std::size_t j = first; j <= last; ++j) {
            if (j >= element.files.size() || element.files[j].empty()) continue;
            const std::string path = dataDir + element.files[j];
            while (!file.open(path)) {
                host.beep();
                const Answer answer = host.message(kMissingFileText, "Datenbankquelle",
                                                   Icon::Information, Buttons::OkCancel, true);
                if (answer != Answer::Ok) return finish(host, true);
            }
            if (checksums.check(element.files[j], file.bytes()) == ChecksumList::Verdict::Damaged) {
                reportDamagedFile(host, path);
                continue;
            }
            // The progress control holds 16 bits: scale the byte count by a power of ten.
            std::size_t divisor = 1;
            while (file.size() / divisor > 32767) divisor *= 10;

            std::size_t consumed = 0;
            if (!file.nextLine(line, stages.decipherMode, consumed)) continue;
            std::size_t bytes = consumed;
            const std::string header = toUtf8(line);
            if (header.empty() || !containsIgnoringCase(header, key)) continue;

            SpeciesFile species;
            species.element = &element;
            const std::string shortName(RecordField(header, 0));
            species.label = std::string(RecordField(header, 1)) + " ";
            species.labelTrimmed = trimTrailingBlanks(species.label);
            species.atomic = IsAtomicSpecies(species.labelTrimmed);
            const std::string phase = shortName == species.labelTrimmed
                                          ? shortName
                                          : lumcore::strprintf("%s (%s)", shortName.c_str(),
                                                               species.labelTrimmed.c_str());
            host.refreshStatus(process, phase, 0, static_cast<std::int32_t>(file.size() / divisor));
            visitor.beginFile(species);

            char* text = nullptr;
            std::size_t length = 0;
            std::size_t unreadable = 0;
            while (file.nextStored(text, length, consumed)) {
                if (aborted) return finish(host, true);
                bytes += consumed;
                aborted = host.step(static_cast<std::int32_t>(bytes / divisor));
                std::size_t deciphered = length;
                std::size_t sep = std::string_view::npos;
                if (stages.decipherMode == 0) {
                    // Only as far as the first ';' for now, in steps of 16 bytes.
                    deciphered = 0;
                    while (sep == std::string_view::npos && deciphered < length) {
                        const std::size_t to = std::min(length, deciphered + 16);
                        decipherRange(text, deciphered, to, length);
                        const void* hit = std::memchr(text + deciphered, ';', to - deciphered);
                        if (hit)
                            sep = static_cast<std::size_t>(static_cast<const char*>(hit) - text);
                        deciphered = to;
                    }
                } else {
                    text = file.rewrite(text, length, stages.decipherMode);
                    deciphered = length;
                    const void* hit = std::memchr(text, ';', length);
                    if (hit) sep = static_cast<std::size_t>(static_cast<const char*>(hit) - text);
                }
                const std::string_view plain(text, sep == std::string_view::npos ? length : sep);
                float lambda = 0.0f;
                if (!parseNumberField(plain, lambda)) {
                    ++unreadable;
                    continue;
                }
                RecordText rest(text, length, deciphered,
                                sep == std::string_view::npos ? length + 1 : sep + 1);
                if (!visitor.record(species, lambda, rest)) ++unreadable;
            }
            visitor.endFile(species);
            if (unreadable > 0) reportUnreadableLines(host, path, unreadable);
        }
    }
    return finish(host, aborted);
}

}  // namespace lumdb::detail
