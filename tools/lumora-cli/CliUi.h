// Answers the questions of lumio's readers from the command line: the format, track,
// frame/strip, Maps and column choices come from --format-code, --track, --frame/--strip
// and --maps; the monotony question is answered "yes" with its text as a warning. A choice
// the file needs but was not given cancels the read and leaves a note naming the option.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "lumdb/XAxis.h"
#include "lumio/Ui.h"

namespace lumcli {

// How the x axis of every file is converted into nanometres (--x-unit, --calibrate,
// --dispersion): the answers of "Wellenlängenformat" and "Wellenlängenzuordnung".
struct XAxisAnswer {
    std::optional<int> unit;  // x format code: Ångström, pixels or wavenumbers
    std::optional<lumdb::PixelCalibration> calibration;
    std::string report;  // the fitted line and its residuals, when more than two points
};

struct ChoiceAnswers {
    std::optional<int> formatCode;
    std::optional<int> track;
    std::optional<int> frame;
    std::optional<int> strip;
    std::optional<lumio::MapsChoice> maps;
    XAxisAnswer xAxis;
};

class CliUi : public lumio::Ui {
  public:
    // `err` receives warnings and messages; nullptr keeps the reader quiet (used for
    // second reads of a file that was already reported once).
    CliUi(ChoiceAnswers answers, std::ostream* err);

    const ChoiceAnswers& answers() const { return answers_; }
    // Forget the notes of the previous file.
    void beginFile();
    // Why the last read was cancelled or failed, as far as a message told it; empty if
    // nothing was said.
    const std::string& failureNote() const { return failureNote_; }
    // Stop messages are held back until the caller knows whether they explain a failure
    // (then they become its message) or the file opened anyway (then they are warnings).
    // Prints the held messages as warnings, except one equal to `except`, and forgets them.
    void flushWarnings(const std::string& except = {});

    lumio::Answer message(const std::string& text, const std::string& caption, lumio::Icon icon,
                          lumio::Buttons buttons) override;
    std::optional<int> chooseFormat(const std::string& path,
                                    const std::vector<std::string>& entries,
                                    int preselectIndex) override;
    std::optional<int> chooseTrack(const std::string& path, int count, int initial) override;
    std::optional<FrameStrip> chooseFrameStrip(const std::string& path, int frames, int strips,
                                               FrameStrip initial) override;
    std::optional<lumio::MapsChoice> chooseMaps(const std::string& path, lumio::MapsChoice counts,
                                                lumio::MapsChoice initial) override;
    std::optional<int> chooseColumn(const std::string& path, const std::vector<std::string>& names,
                                    int initialIndex) override;

    // A message box text ("<path>\n\n<message>") as one line: "<path>: <message>".
    static std::string oneLine(const std::string& text);

  private:
    void refuse(const std::string& note);

    ChoiceAnswers answers_;
    std::ostream* err_;
    std::string failureNote_;
    std::vector<std::string> held_;  // (full line, note) of the stop messages, in pairs
};

}  // namespace lumcli
