// The subcommands of lumora-cli: each has its command-line description and its run.
#pragma once

#include <string>
#include <vector>

#include "CommandLine.h"

namespace lumcli {

class Session;

CommandSyntax infoSyntax();
CommandSyntax convertSyntax();
CommandSyntax smoothSyntax();
CommandSyntax linesSyntax();
CommandSyntax identifySyntax();
CommandSyntax elementsSyntax();
CommandSyntax dbsearchSyntax();
CommandSyntax combineSyntax();
CommandSyntax renderSyntax();

int runInfo(Session& session);
int runConvert(Session& session);
int runSmooth(Session& session);
int runLines(Session& session);
int runIdentify(Session& session);
int runElements(Session& session);
int runDbsearch(Session& session);
int runCombine(Session& session);
int runRender(Session& session);

// Option groups several subcommands share.
// --track, --frame, --strip, --maps, --format-code, and the x axis: --x-unit, --calibrate,
// --dispersion
std::vector<OptionSyntax> choiceOptions();
std::vector<OptionSyntax> outputOptions();    // --format, --progress
std::vector<OptionSyntax> searchOptions();    // --fourier, --sg, --noise, --zoom
std::vector<OptionSyntax> identifyOptions();  // --elements, stages, --tolerance, --intensity, ...

// Appends `more` to `to`.
void addOptions(std::vector<OptionSyntax>& to, const std::vector<OptionSyntax>& more);

// The WriteFileData type of --type, or of the output name's extension when --type is
// missing. Throws UsageError.
int outputType(const std::string& typeOption, const std::string& outputPath);

// Text of a float that reads back as the same float.
std::string num(float value);

}  // namespace lumcli
