// Writer of Lumora's own spectrum file (.lmx): header, found lines with their
// identification entries, database lines, and the points with rising x. Positions and
// point values are written with the shortest text that reads back as the same float, so a
// saved spectrum opens unchanged; line intensities keep "%g".
#include <string>

#include "lumcore/Cp1252.h"
#include "lumdb/Candidate.h"
#include "writers/Writers.h"

namespace lumio::detail {
namespace {

void writeEntry(OutputFile& out, const CLine& line, bool species, const std::string& label,
                TColor color, const std::string& recordText) {
    if (species) out.write('*');
    out.writeFloat(line.x);
    out.write(';');
    out.writeG(line.y);
    out.write(';');
    out.write(lumcore::utf8ToCp1252(lumdb::CandidateEntryText(label, color, recordText)));
    out.write('\n');
}

template <class T>
const T& at(const std::vector<T>& list, std::size_t i, const T& fallback) {
    return i < list.size() ? list[i] : fallback;
}

void writeSpectrumLines(OutputFile& out, const TLineArray& lines) {
    const std::string noText;
    out.write("\n[SpectrumLines->]\n");
    for (const CLine& line : lines) {
        if (line.candidateLabels.empty()) {
            // A line without candidates keeps its place; its species entries have nothing
            // to stand for and are not written.
            out.write('?');
            out.writeFloat(line.x);
            out.write(';');
            out.writeG(line.y);
            out.write(";\n");
            continue;
        }
        for (std::size_t i = 0; i < line.candidateLabels.size(); ++i)
            writeEntry(out, line, false, line.candidateLabels[i],
                       at(line.candidateColors, i, TColor{}), at(line.candidateRecords, i, noText));
        for (std::size_t i = 0; i < line.speciesLabels.size(); ++i)
            writeEntry(out, line, true, line.speciesLabels[i], at(line.speciesColors, i, TColor{}),
                       at(line.speciesRecords, i, noText));
    }
    out.write("[<-SpectrumLines]\n");
}

void writeDatabaseLines(OutputFile& out, const TSearchEngineLineArray& lines) {
    out.write("\n[DatabaseLines->]\n");
    for (const CSearchEngineLine& line : lines) {
        out.writeFloat(line.wavelength);
        out.write(';');
        out.write(
            lumcore::utf8ToCp1252(lumdb::CandidateEntryText(line.label, line.color, line.record)));
        out.write('\n');
    }
    out.write("[<-DatabaseLines]\n");
}

}  // namespace

void writeNative(OutputFile& out, const SpectrumRecord& record) {
    out.write("[Header->]\n[<-Header]\n");
    if (!record.spectrumLines.empty()) writeSpectrumLines(out, record.spectrumLines);
    if (!record.databaseLines.empty()) writeDatabaseLines(out, record.databaseLines);
    out.write("\n[Data->]\n");
    forEachRising(record.points, [&out](const TPointF& p) {
        out.writeFloat(p.x);
        out.write(' ');
        out.writeFloat(p.y);
        out.write('\n');
    });
    out.write("[<-Data]\n");
}

}  // namespace lumio::detail
