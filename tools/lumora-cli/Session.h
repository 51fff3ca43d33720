// What every subcommand shares: the parsed command line, the scripted reader answers, the
// console run host, the output, and the program directory with its line database (found
// on first use, as the program finds it at start-up).
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "CliUi.h"
#include "CommandLine.h"
#include "ConsoleRunHost.h"
#include "DatabaseMissing.h"
#include "ResultOutput.h"
#include "lumdb/Records.h"

namespace lumcli {

class Session {
  public:
    Session(const CommandLine& line, OutputFormat format, std::ostream& out, std::ostream& err);

    const CommandLine& line() const { return line_; }
    CliUi& ui() { return ui_; }
    ConsoleRunHost& host() { return host_; }
    ResultOutput& output() { return output_; }
    std::ostream& err() { return err_; }

    // The directory of the running executable; LUMORA_HOME overrides it.
    const std::string& programDir() const { return programDir_; }
    // The data directory found by CheckDataDirectory; throws DatabaseMissing when there
    // is none.
    const std::string& dataDir();
    // A fresh element table (every element selected, as GetElements leaves it).
    TElementArray elements();

  private:
    const CommandLine& line_;
    std::ostream& err_;
    CliUi ui_;
    ConsoleRunHost host_;
    ResultOutput output_;
    std::string programDir_;
    std::optional<std::string> dataDir_;
};

// Reads the choice options (--track, --frame/--strip, --maps, --format-code).
ChoiceAnswers choiceAnswersFrom(const CommandLine& line);

// The directory of the running executable, or LUMORA_HOME when that is set.
std::string findProgramDir();

}  // namespace lumcli
