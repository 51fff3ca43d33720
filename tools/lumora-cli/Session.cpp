// Shared state of one subcommand run; see Session.h.
#include "Session.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "XAxisInput.h"
#include "lumcore/Platform.h"
#include "lumcore/Printf.h"
#include "lumdb/Database.h"
#include "lumio/lumio.h"

namespace lumcli {

std::string findProgramDir() {
    if (const char* home = std::getenv("LUMORA_HOME"); home && *home) {
        std::string dir = home;
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        return dir;
    }
    const std::filesystem::path program = lumcore::runningProgram();
    return program.empty() ? "." : program.parent_path().string();
}

ChoiceAnswers choiceAnswersFrom(const CommandLine& line) {
    ChoiceAnswers a;
    if (line.has("format-code")) {
        a.formatCode = parseInt("format-code", line.value("format-code"));
        const std::size_t formats = GetFormatList().size();
        if (*a.formatCode < 1 || static_cast<std::size_t>(*a.formatCode) > formats)
            throw UsageError(lumcore::strprintf("--format-code %d gibt es nicht (1 bis %zu).",
                                                *a.formatCode, formats));
    }
    if (line.has("track")) a.track = parseInt("track", line.value("track"));
    if (line.has("frame")) a.frame = parseInt("frame", line.value("frame"));
    if (line.has("strip")) a.strip = parseInt("strip", line.value("strip"));
    if (line.has("frame") != line.has("strip"))
        throw UsageError("--frame und --strip werden nur zusammen angegeben.");
    if (line.has("maps")) {
        const auto v = parseIntList("maps", line.value("maps"), 4);
        a.maps = lumio::MapsChoice{v[0], v[1], v[2], v[3]};
    }
    a.xAxis = xAxisAnswerFrom(line);
    return a;
}

Session::Session(const CommandLine& line, OutputFormat format, std::ostream& out, std::ostream& err)
    : line_(line),
      err_(err),
      ui_(choiceAnswersFrom(line), &err),
      host_(err, line.has("progress")),
      output_(format, out, err),
      programDir_(findProgramDir()) {
    if (!ui_.answers().xAxis.report.empty())
        err_ << "lumora-cli: " << ui_.answers().xAxis.report << '\n';
}

const std::string& Session::dataDir() {
    if (!dataDir_) {
        std::string dir;
        if (!CheckDataDirectory(host_, programDir_, dir))
            throw DatabaseMissing("Keine gültige Liniendatenbank gefunden (gesucht in " +
                                  programDir_ +
                                  "/Data/; LUMORA_HOME setzt das Programmverzeichnis).");
        dataDir_ = dir;
    }
    return *dataDir_;
}

TElementArray Session::elements() {
    TElementArray e;
    GetElements(programDir_, e);
    return e;
}

}  // namespace lumcli
