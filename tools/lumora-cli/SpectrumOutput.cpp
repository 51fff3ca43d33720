// Writing spectra and reporting them; see SpectrumOutput.h.
#include "SpectrumOutput.h"

#include <algorithm>

#include "JsonWriter.h"
#include "SpectrumInput.h"
#include "lumio/lumio.h"

namespace lumcli {

const char* typeName(int type) {
    static const char* const kNames[] = {"lmx", "csv", "txt", "txt-y", "bin", "bin-y"};
    return type >= 1 && type <= 6 ? kNames[type - 1] : "";
}

std::string writeSpectrum(CliUi& ui, SpectrumRecord& record, const std::string& target, int type) {
    ui.beginFile();
    record.fileName = target;
    lumio::WriteResult result;
    try {
        result = WriteFileData(ui, record, type);
    } catch (const lumio::Outcome& e) {
        ui.flushWarnings();
        throw FileFailure(e.keyword(), keywordMessage(e.keyword()));
    } catch (const std::exception& e) {
        ui.flushWarnings();
        throw FileFailure("Error", e.what());
    }
    // The writer tells the user itself when the file could not be opened or written.
    if (result == lumio::WriteResult::Failed) {
        const std::string message = record.fileName + ": " + ui.failureNote();
        ui.flushWarnings(ui.failureNote());
        throw FileFailure(lumio::keyword::NoFile, message);
    }
    ui.flushWarnings();
    return record.fileName;
}

void setWrittenColumns(ResultOutput& out) {
    out.setColumns({"path", "output", "type", "points"}, {"Datei", "Ausgabe", "Typ", "Punkte"});
}

void reportWritten(ResultOutput& out, const std::string& input, const std::string& written,
                   int type, std::size_t points) {
    if (out.format() == OutputFormat::Json) {
        JsonWriter j;
        j.beginObject()
            .key("path")
            .string(input)
            .key("output")
            .string(written)
            .key("type")
            .string(typeName(type))
            .key("points")
            .integer(static_cast<long long>(points))
            .endObject();
        out.addJsonLine(j.text());
    } else {
        out.addRow({input, written, typeName(type), std::to_string(points)});
    }
}

}  // namespace lumcli

namespace lumcli {

void setRanges(SpectrumRecord& record) {
    if (record.points.empty()) return;
    SPlotInfo& p = record.plotInfo;
    p.xMin = p.xMax = record.points.front().x;
    p.yMin = p.yMax = record.points.front().y;
    for (const TPointF& pt : record.points) {
        p.xMin = std::min(p.xMin, pt.x);
        p.xMax = std::max(p.xMax, pt.x);
        p.yMin = std::min(p.yMin, pt.y);
        p.yMax = std::max(p.yMax, pt.y);
    }
}

}  // namespace lumcli
