// The command line of one lumora-cli subcommand: options as declared by the subcommand,
// the input files (shell globs expanded where the shell did not), and the help text.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "UsageError.h"

namespace lumcli {

enum class ValueKind {
    None,      // a flag
    Required,  // --name VALUE or --name=VALUE
    Optional,  // --name, --name=VALUE, or --name VALUE when VALUE looks like a number list
};

struct OptionSyntax {
    std::string name;  // without the leading "--"
    char shortName = 0;
    ValueKind kind = ValueKind::None;
    std::string valueName;
    std::string help;
};

struct CommandSyntax {
    std::string name;
    std::string synopsis;     // after "lumora-cli <name> "
    std::string description;  // paragraph(s) shown by --help
    std::vector<OptionSyntax> options;
    int minFiles = 0;
    int maxFiles = -1;  // -1: any number
};

class CommandLine {
  public:
    // Throws UsageError. "--help"/"-h" is always known and stops the checks of the files.
    CommandLine(const CommandSyntax& syntax, const std::vector<std::string>& args);

    bool helpRequested() const { return help_; }
    bool has(const std::string& name) const { return values_.count(name) != 0; }
    // The value given last for the option; empty for a flag or an optional value left out.
    std::string value(const std::string& name) const;
    const std::vector<std::string>& files() const { return files_; }

    static std::string helpText(const CommandSyntax& syntax);

  private:
    bool help_ = false;
    std::map<std::string, std::vector<std::string>> values_;
    std::vector<std::string> files_;
};

// Value parsers for the option formats; each throws UsageError naming the option.
int parseInt(const std::string& option, const std::string& text);
double parseNumber(const std::string& option, const std::string& text);

// `text` cut at every `sep`: n separators give n + 1 parts, empty ones included.
std::vector<std::string> splitAt(const std::string& text, char sep);
std::vector<int> parseIntList(const std::string& option, const std::string& text,
                              std::size_t count);
std::vector<double> parseNumberList(const std::string& option, const std::string& text,
                                    std::size_t count);

// The extension of a path's file name in lower case, without the dot; empty when it has none.
std::string lowerExtension(const std::string& path);

}  // namespace lumcli
