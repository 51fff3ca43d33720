// Writers of the data exports: the CSV table, ASCII x,y and y columns, binary x,y and y
// floats with the title as trailer. Values are written with the shortest text that reads
// back as the same float.
#include "lumcore/Cp1252.h"
#include "writers/Writers.h"

namespace lumio::detail {
namespace {

// The binary trailer: the marker 1e9 and the title's characters, when there is a title.
void writeTrailer(OutputFile& out, const SpectrumRecord& record) {
    if (record.plotInfo.title.empty()) return;
    out.writeBinaryFloat(1e9f);
    out.write(lumcore::utf8ToCp1252(record.plotInfo.title));
}

}  // namespace

void writeCsv(OutputFile& out, const SpectrumRecord& record) {
    out.write(lumcore::utf8ToCp1252("Wellenlänge;Intensität\n"));
    out.write("[nm];\n\n");
    forEachRising(record.points, [&out](const TPointF& p) {
        out.writeFloatDecimalComma(p.x);
        out.write(';');
        out.writeFloatDecimalComma(p.y);
        out.write('\n');
    });
}

void writeAsciiXY(OutputFile& out, const SpectrumRecord& record) {
    forEachRising(record.points, [&out](const TPointF& p) {
        out.writeFloat(p.x);
        out.write(' ');
        out.writeFloat(p.y);
        out.write('\n');
    });
}

void writeAsciiY(OutputFile& out, const SpectrumRecord& record) {
    forEachRising(record.points, [&out](const TPointF& p) {
        out.writeFloat(p.y);
        out.write('\n');
    });
}

void writeBinaryXY(OutputFile& out, const SpectrumRecord& record) {
    forEachRising(record.points, [&out](const TPointF& p) {
        out.writeBinaryFloat(p.x);
        out.writeBinaryFloat(p.y);
    });
    writeTrailer(out, record);
}

void writeBinaryY(OutputFile& out, const SpectrumRecord& record) {
    forEachRising(record.points, [&out](const TPointF& p) { out.writeBinaryFloat(p.y); });
    writeTrailer(out, record);
}

}  // namespace lumio::detail
