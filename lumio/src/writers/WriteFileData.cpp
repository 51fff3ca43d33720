// WriteFileData: the extension rule of each file type, the writer, and the message when the
// target cannot be written.
#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

#include "ReadContext.h"
#include "lumio/Outcome.h"
#include "lumio/Writers.h"
#include "writers/Writers.h"

using namespace lumio;
using namespace lumio::detail;

namespace {

struct FileType {
    const char* appended;     // extension appended when the name has none of `accepted`
    const char* accepted[2];  // upper case, found anywhere in the name
    void (*writer)(OutputFile&, const SpectrumRecord&);
};

const FileType kTypes[] = {
    {".lmx", {".LMX", nullptr}, writeNative},   {".csv", {".CSV", nullptr}, writeCsv},
    {".txt", {".TXT", ".ASC"}, writeAsciiXY},   {".txt", {".TXT", ".ASC"}, writeAsciiY},
    {".bin", {".BIN", nullptr}, writeBinaryXY}, {".bin", {".BIN", nullptr}, writeBinaryY},
};

// Binary files end their numbers at the first value of 1e9 or more (x in pairs, y alone);
// such a value in the data would cut the spectrum short when the file is opened again.
bool holdsEndMarkerValue(const SpectrumRecord& record, int type) {
    for (const TPointF& p : record.points)
        if ((type == 5 ? p.x : p.y) >= 1e9f) return true;
    return false;
}

bool containsIgnoringCase(const std::string& text, const char* upperWord) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find(upperWord) != std::string::npos;
}

}  // namespace

WriteResult WriteFileData(Ui& owner, SpectrumRecord& record, int type) {
    if (type < 1 || type > 6) throw std::invalid_argument("WriteFileData: file type 1 to 6");
    const FileType& fileType = kTypes[type - 1];

    bool hasExtension = false;
    for (const char* word : fileType.accepted)
        if (word && containsIgnoringCase(record.fileName, word)) hasExtension = true;
    if (!hasExtension) record.fileName += fileType.appended;

    bool complete;
    try {
        OutputFile out(record.fileName);
        fileType.writer(out, record);
        complete = out.close();
    } catch (const Outcome& e) {
        if (e.keyword() != keyword::NoFile) throw;
        owner.message(record.fileName +
                          "\n\nDie Datei kann nicht zum Schreiben geöffnet werden.\n"
                          "Überprüfen Sie die Zugriffsrechte.",
                      kCaptionProduct, Icon::Stop, Buttons::Ok);
        return WriteResult::Failed;
    }
    // A full disk or a vanished network drive must not pass for a saved spectrum; the
    // previous file is still there, untouched.
    if (!complete) {
        owner.message(record.fileName + "\n\nDie Datei konnte nicht geschrieben werden.",
                      kCaptionProduct, Icon::Stop, Buttons::Ok);
        return WriteResult::Failed;
    }
    if ((type == 5 || type == 6) && holdsEndMarkerValue(record, type))
        owner.message(record.fileName +
                          "\n\nDie Daten enthalten Werte ab 1x10^9. Beim Öffnen der Datei endet "
                          "das Lesen vor dem ersten dieser Werte!",
                      kCaptionProduct, Icon::Exclamation, Buttons::Ok);
    return WriteResult::Done;
}
