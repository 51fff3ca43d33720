// A lumio user interface for tests: records messages and dialog calls and answers them
// from scripted values. An unscripted choice is a cancel.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "lumio/Ui.h"

namespace lumtest {

class ScriptedUi : public lumio::Ui {
  public:
    struct Message {
        std::string text;
        std::string caption;
        lumio::Icon icon;
        lumio::Buttons buttons;
    };
    std::vector<Message> messages;
    std::deque<lumio::Answer> answers;  // popped per message; Ok / Yes when empty

    std::deque<std::optional<int>> formatAnswers;
    std::deque<std::optional<int>> trackAnswers;
    std::deque<std::optional<FrameStrip>> frameStripAnswers;
    std::deque<std::optional<lumio::MapsChoice>> mapsAnswers;
    std::deque<std::optional<int>> columnAnswers;

    // What the dialogs were shown with.
    struct FormatCall {
        std::string path;
        std::vector<std::string> entries;
        int preselectIndex;
    };
    std::vector<FormatCall> formatCalls;
    struct TrackCall {
        std::string path;
        int count;
        int initial;
    };
    std::vector<TrackCall> trackCalls;
    struct FrameStripCall {
        int frames, strips;
        FrameStrip initial;
    };
    std::vector<FrameStripCall> frameStripCalls;
    struct MapsCall {
        lumio::MapsChoice counts, initial;
    };
    std::vector<MapsCall> mapsCalls;
    struct ColumnCall {
        std::vector<std::string> names;
        int initialIndex;
    };
    std::vector<ColumnCall> columnCalls;

    lumio::Answer message(const std::string& text, const std::string& caption, lumio::Icon icon,
                          lumio::Buttons buttons) override {
        messages.push_back({text, caption, icon, buttons});
        return pop(answers,
                   buttons == lumio::Buttons::YesNo ? lumio::Answer::Yes : lumio::Answer::Ok);
    }
    std::optional<int> chooseFormat(const std::string& path,
                                    const std::vector<std::string>& entries,
                                    int preselectIndex) override {
        formatCalls.push_back({path, entries, preselectIndex});
        return pop(formatAnswers);
    }
    std::optional<int> chooseTrack(const std::string& path, int count, int initial) override {
        trackCalls.push_back({path, count, initial});
        return pop(trackAnswers);
    }
    std::optional<FrameStrip> chooseFrameStrip(const std::string&, int frames, int strips,
                                               FrameStrip initial) override {
        frameStripCalls.push_back({frames, strips, initial});
        return pop(frameStripAnswers);
    }
    std::optional<lumio::MapsChoice> chooseMaps(const std::string&, lumio::MapsChoice counts,
                                                lumio::MapsChoice initial) override {
        mapsCalls.push_back({counts, initial});
        return pop(mapsAnswers);
    }
    std::optional<int> chooseColumn(const std::string&, const std::vector<std::string>& names,
                                    int initialIndex) override {
        columnCalls.push_back({names, initialIndex});
        return pop(columnAnswers);
    }

  private:
    // The front of the queue, taken off, or `otherwise` when it is empty.
    template <class T>
    static T pop(std::deque<T>& q, T otherwise = {}) {
        if (q.empty()) return otherwise;
        T v = q.front();
        q.pop_front();
        return v;
    }
};

}  // namespace lumtest
