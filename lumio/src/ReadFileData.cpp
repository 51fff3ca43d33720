// ReadFileData: choose a reader by extension or through the format dialog, then apply the
// checks every spectrum gets (point count, monotony).
#include <cstdint>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "FormatTable.h"
#include "lumio/lumio.h"

using namespace lumio;
using namespace lumio::detail;

namespace {

constexpr std::size_t kMaxPoints = 2000000000;
static_assert(kMaxFileBytes == 2 * std::uintmax_t{kMaxPoints});

// Only regular files are read: a folder is named as such, and a FIFO, socket or device is
// refused before it is opened (opening a FIFO waits for a writer; a device may never end).
void checkPath(ReadContext& ctx) {
    const PathFacts facts = pathFacts(ctx.record.fileName);
    switch (facts.kind) {
        case PathKind::Missing:
            fail(keyword::NoFile);
        case PathKind::Folder:
            showMessage(ctx, "\n\nDies ist ein Ordner und keine Datei!");
            fail(keyword::CancelOpenFile);
        case PathKind::Other:
            showMessage(ctx,
                        "\n\nDies ist keine gewöhnliche Datei, sondern ein Gerät, eine Pipe "
                        "oder ein Socket. Sie wird nicht gelesen!");
            fail(keyword::CancelOpenFile);
        case PathKind::Regular:
            break;
    }
    if (facts.size > kMaxFileBytes) fail(keyword::DataNumberOverflow);
}

bool isUnknownFormat(const Outcome& e) {
    return e.keyword() == keyword::UnknownFormat;
}

void runReader(ReaderFn reader, ReadContext& ctx) {
    if (!reader) fail(keyword::UnknownFormat);
    reader(ctx);
}

int askForFormat(Ui& ui, const SpectrumRecord& record, int preselect) {
    const std::vector<std::string> entries = GetFormatList();
    const auto chosen = ui.chooseFormat(record.fileName, entries, preselect - 1);
    if (!chosen) fail(keyword::CancelOpenFile);
    if (*chosen < 1 || *chosen > static_cast<int>(entries.size())) fail(keyword::UnknownFormat);
    return *chosen;
}

}  // namespace

int ReadFileData(Ui& owner, SpectrumRecord& record, int preselect) {
    int formatCode = 0;
    return ReadFileData(owner, record, preselect, formatCode);
}

std::vector<std::string> GetFormatList() {
    std::vector<std::string> entries;
    for (const auto& entry : formatTable()) entries.emplace_back(entry.listEntry);
    return entries;
}

int ReadFileData(Ui& owner, SpectrumRecord& record, int preselect, int& formatCodeRead) {
    // A reader that gives up with "UnknownFormat" may have filled part of the record (or
    // appended a track to the name); the reader chosen afterwards starts from the record
    // as it was handed in, so nothing of the failed attempt leaks into the spectrum.
    const SpectrumRecord initial = record;
    ReadContext ctx{owner, record};
    checkPath(ctx);

    // The extension's group first; where it names none, or its reader refuses the file (or
    // finds no data in it, as a text reader does in a binary file), the content tests of the
    // table choose. Only where they find nothing, or the reader they found refuses too, is
    // the user asked, with that reader's format preselected.
    int formatCode = 0;
    int refusedCode = 0;
    bool noData = false;
    auto attempt = [&](const FormatEntry& entry, bool byExtension) {
        try {
            runReader(entry.byExtension ? entry.byExtension : entry.byChoice, ctx);
            formatCode = ctx.formatCode != 0 ? ctx.formatCode : entry.formatCode;
        } catch (const Outcome& e) {
            if (!isUnknownFormat(e) && !(byExtension && e.keyword() == keyword::NullFile)) throw;
            noData = !isUnknownFormat(e);
            record = initial;
            ctx.formatCode = 0;
            refusedCode = entry.formatCode;
        }
    };
    const FormatEntry* group = matchExtension(record.fileName);
    if (group) {
        if (!canOpen(record.fileName)) fail(keyword::NoFile);
        attempt(*group, true);
    }
    int detected = 0;
    if (formatCode == 0) {
        const FormatEntry* found = matchContent(record.fileName, refusedCode);
        // A file in which its extension's reader found no data stays empty unless its
        // content shows another format.
        if (!found && noData) fail(keyword::NullFile);
        if (found) {
            detected = found->formatCode;
            attempt(*found, false);
        }
    }
    if (formatCode == 0) {
        formatCode = askForFormat(owner, record, detected != 0 ? detected : preselect);
        runReader(formatTable()[static_cast<std::size_t>(formatCode - 1)].byChoice, ctx);
    }

    if (record.points.size() > kMaxPoints) fail(keyword::DataNumberOverflow);

    if (CheckXData(record) == 1) {
        const Answer answer = showMessage(
            ctx,
            "\n\nDie x-Werte der Datei sind nicht streng monoton steigend oder fallend. Dieses "
            "kann zu schwerwiegenden Programmfehler führen! Die Datei trotzdem öffnen?",
            Icon::Exclamation, Buttons::YesNo);
        if (answer != Answer::Yes) fail(keyword::CancelOpenFile);
    }
    formatCodeRead = formatCode;
    return filterIndex(formatCode);
}

int CheckXData(const SpectrumRecord& record) {
    const auto& points = record.points;
    if (points.size() < 2) return 0;
    const bool rising = points.back().x >= points.front().x;
    int equalRun = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const float prev = points[i - 1].x;
        const float x = points[i].x;
        if (x == prev) {
            // One pair of equal neighbours is tolerated, three equal x in a row are not.
            if (++equalRun > 1) return 1;
            continue;
        }
        equalRun = 0;
        if (rising ? x < prev : x > prev) return 1;
    }
    return 0;
}
