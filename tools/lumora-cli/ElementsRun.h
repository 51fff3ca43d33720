// The species judgement of one spectrum as lumora-cli elements and identify --ranked run it:
// robust noise, measurement of the found lines, per-segment shift, evidence per species.
#pragma once

#include <vector>

#include "CommandLine.h"
#include "lumdb/Elements.h"
#include "lumio/SpectrumRecord.h"

namespace lumcli {

class Session;

using ElementsAnalysis = lumdb::SpectrumJudgement;

// --temperature, --source, --fit-temperature
std::vector<OptionSyntax> evidenceOptions();
lumdb::EvidenceSettings evidenceSettingsFrom(const CommandLine& line);

// The reference lines of the selected species over the whole database (read once for all
// files of a run); throws FileFailure when the reading was cancelled.
void readReferenceLines(Session& session, const TElementArray& elements, const SSelectElVal& select,
                        lumdb::ReferenceLines& out);

// Measures the found lines of `r` (already searched), estimates the shifts and judges the
// species of `refs`. `searchNoise` is the noise the line search worked with, where known: a
// line it could not have found (below its noise's reach) is no counter-evidence.
ElementsAnalysis analyseElements(const SpectrumRecord& r, const lumdb::ReferenceLines& refs,
                                 const lumdb::ShiftSettings& shiftSettings,
                                 const lumdb::EvidenceSettings& evidenceSettings,
                                 float searchNoise = 0.0f);

}  // namespace lumcli
