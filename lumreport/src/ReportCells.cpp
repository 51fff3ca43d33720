// The cells of a database line; see ReportCells.h.
#include "lumreport/ReportCells.h"

#include <cmath>

#include "NumberText.h"

namespace lumreport {

namespace {

// An energy rounded half up to hundredths: 0.125 shows as 0.13, where printf's rounding of
// the binary value alone gives 0.12.
void appendEnergy(std::string& out, std::string_view field) {
    out += '\t';
    appendFixed(out, std::floor(readNumber(field) * 100 + 0.5) / 100, 2);
}

}  // namespace

std::string strengthCell(const lumdb::Candidate& c, int intensityOption, std::string_view missing) {
    if (c.valueText.empty()) return {};
    std::string out;
    if (intensityOption == 0) {
        const float s = c.strength(0);
        if (!std::isfinite(s)) return std::string(missing);
        appendFixed(out, static_cast<double>(s), 0);
    } else if (intensityOption == 1 || intensityOption == 2) {
        if (!c.atomic() || !(c.value() > 0)) return std::string(missing);
        const float s = c.strength(intensityOption);
        if (!std::isfinite(s)) return std::string(missing);
        appendScientific(out, static_cast<double>(s), 3);
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
