// What lumio asks of the user: message boxes and the choice dialogs of the readers
// (FileFormatDialog, SelectTraceDialog, SelectWinSpecTraceDialog, SelectMapsTraceDialog,
// SelectTraceComboDialog). The program answers with Qt dialogs that validate their entries
// before they close; tests and the command-line tool answer from a script.
// Every choice returns std::nullopt when the user cancels.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lumio {

enum class Icon { Stop, Exclamation, Information, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct MapsChoice {
    int position = 1;
    int sequence = 1;
    int exposure = 1;
    int track = 1;
    friend bool operator==(const MapsChoice&, const MapsChoice&) = default;
};

class Ui {
  public:
    virtual ~Ui() = default;

    // A message box owned by the reading window. `text` is complete (the file's path
    // followed by the message).
    virtual Answer message(const std::string& text, const std::string& caption, Icon icon,
                           Buttons buttons) = 0;

    // FileFormatDialog: the list entries in formatCode order, the entry selected at first
    // (0-based; may be out of range, then nothing is selected). Returns the chosen 1-based
    // position; a value outside the list is possible and the caller refuses it.
    virtual std::optional<int> chooseFormat(const std::string& path,
                                            const std::vector<std::string>& entries,
                                            int preselectIndex) = 0;

    // SelectTraceDialog: one number in 1..count (a track, a subfile, a curve).
    virtual std::optional<int> chooseTrack(const std::string& path, int count, int initial) = 0;

    // SelectWinSpecTraceDialog: frame in 1..frames and strip in 1..strips.
    struct FrameStrip {
        int frame = 1;
        int strip = 1;
    };
    virtual std::optional<FrameStrip> chooseFrameStrip(const std::string& path, int frames,
                                                       int strips, FrameStrip initial) = 0;

    // SelectMapsTraceDialog: the four numbers, each in 1..its count.
    virtual std::optional<MapsChoice> chooseMaps(const std::string& path, MapsChoice counts,
                                                 MapsChoice initial) = 0;

    // SelectTraceComboDialog: one entry of a list of column names (0-based).
    virtual std::optional<int> chooseColumn(const std::string& path,
                                            const std::vector<std::string>& names,
                                            int initialIndex) = 0;
};

}  // namespace lumio
