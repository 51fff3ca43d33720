// The cells of a database line; see ReportCells.h.
#include "lumreport/ReportCells.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lumreport {

namespace {

void appendNumber(std::string& out, const char* format, double value) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n > 0) out.append(buffer, static_cast<std::size_t>(std::min<int>(n, sizeof buffer - 1)));
}

// An energy rounded half up to hundredths, so 1.005 shows as 1.01 whatever printf's own
// rounding of the binary value would give.
void appendEnergy(std::string& out, std::string_view field) {
    const double x = lumdb::ReadDouble(field);
    appendNumber(out, "\t%.2f", std::floor(x * 100 + 0.5) / 100);
}

}  // namespace

std::string strengthCell(const lumdb::Candidate& c, int intensityOption, std::string_view missing) {
    if (c.valueText.empty()) return {};
    std::string out;
    if (intensityOption == 0) {
        const float s = c.strength(0);
        if (!std::isfinite(s)) return std::string(missing);
        appendNumber(out, "%.0f", static_cast<double>(s));
    } else if (intensityOption == 1 || intensityOption == 2) {
        if (!c.atomic() || !(c.value() > 0)) return std::string(missing);
        const float s = c.strength(intensityOption);
        if (!std::isfinite(s)) return std::string(missing);
        appendNumber(out, "%.3E", static_cast<double>(s));
    }
    return out;
}

void appendRecordCells(std::string& out, const lumdb::Candidate& c, int intensityOption) {
    out += '\t';
    out += strengthCell(c, intensityOption, "  -");
    if (c.field(1).empty()) {
        out += "\t\t-";
    } else {
        appendEnergy(out, c.field(1));
        out += "\t-";
    }
    if (c.field(2).empty())
        out += '\t';
    else
        appendEnergy(out, c.field(2));
    (out += '\t') += c.field(3);
    out += "\t-\t";
    out += c.field(4);
    (out += '\t') += c.field(5);
    out += "\t-\t";
    out += c.field(6);
    if (!c.field(7).empty()) (out += '\t') += c.field(7);
}

}  // namespace lumreport
