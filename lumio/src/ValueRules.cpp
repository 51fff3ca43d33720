// Shared value rules of the readers.
#include "ValueRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace lumio::detail {
namespace {

constexpr float kRangeStart = 3.4e38f;

// from_chars on [first, last) after blanks and an optional "+"; atof's prefix semantics.
double parsePlain(const char* first, const char* last) {
    while (first < last && (*first == ' ' || *first == '\t')) ++first;
    if (first < last && *first == '+') {
        // "+-1" is no number for atof either
        if (first + 1 < last && first[1] == '-') return 0.0;
        ++first;
    }
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // Overflow gives ±infinity, underflow 0, as strtod does.
        std::string copy(first, ptr);
        return std::strtod(copy.c_str(), nullptr);
    }
    if (ec != std::errc()) return 0.0;
    return value;
}

}  // namespace

PointCollector::PointCollector(ReadContext& ctx)
    : ctx_(ctx),
      points_(ctx.record.points),
      xMin_(kRangeStart),
      xMax_(-kRangeStart),
      yMin_(kRangeStart),
      yMax_(-kRangeStart) {}

void PointCollector::rejectX() {
    showMessage(ctx_,
                "\n\nDie Datei kann nicht geöffnet werden, weil sie x-Werte außerhalb des "
                "zulässigen Gültigkeitsbereichs (3.4x10^-38 bis 3.4x10^38) enthält!");
    fail(keyword::CancelOpenFile);
}

void PointCollector::finish() {
    auto& info = ctx_.record.plotInfo;
    info.xMin = xMin_;
    info.xMax = xMax_;
    info.yMin = yMin_;
    info.yMax = yMax_;
    if (yReplaced_) {
        showMessage(ctx_,
                    "\n\nDie Datei enthält Intensitätswerte die den Gültigkeitsbereich "
                    "(3.4x10^-38 bis 3.4x10^38) überschreiten. Diese Intensitätswerte werden "
                    "auf den letzten gültigen Wert gesetzt!");
    }
}

std::size_t PointCollector::count() const {
    return ctx_.record.points.size();
}

double parseNumberField(std::string_view field) {
    std::size_t dots = 0;
    bool comma = false;
    for (char c : field) {
        if (c == '.')
            ++dots;
        else if (c == ',')
            comma = true;
    }
    if (!comma && dots <= 1) return parsePlain(field.data(), field.data() + field.size());

    // Decimal comma and thousands separators: "," -> ".", then keep only the last ".".
    std::string text(field);
    for (char& c : text)
        if (c == ',') c = '.';
    auto total = std::count(text.begin(), text.end(), '.');
    std::string cleaned;
    cleaned.reserve(text.size());
    for (char c : text) {
        if (c == '.' && total > 1) {
            --total;
            continue;
        }
        cleaned += c;
    }
    return parsePlain(cleaned.data(), cleaned.data() + cleaned.size());
}

}  // namespace lumio::detail
