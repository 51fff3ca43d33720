// Scripted answers to the reader dialogs; see CliUi.h.
#include "CliUi.h"

#include <ostream>

#include "lumcore/Printf.h"

using lumcore::strprintf;

namespace lumcli {

CliUi::CliUi(ChoiceAnswers answers, std::ostream* err) : answers_(std::move(answers)), err_(err) {}

void CliUi::beginFile() {
    held_.clear();
    failureNote_.clear();
}

std::string CliUi::oneLine(const std::string& text) {
    std::string out;
    const auto gap = text.find("\n\n");
    std::string rest = text;
    if (gap != std::string::npos && gap > 0) {
        out = text.substr(0, gap) + ": ";
        rest = text.substr(gap + 2);
    }
    for (char c : rest) out += (c == '\n' || c == '\r') ? ' ' : c;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

void CliUi::flushWarnings(const std::string& except) {
    for (std::size_t i = 0; i + 1 < held_.size(); i += 2)
        if (err_ && held_[i + 1] != except && held_[i] != except)
            *err_ << "lumora-cli: Warnung: " << held_[i] << '\n';
    held_.clear();
}

void CliUi::refuse(const std::string& note) {
    failureNote_ = note;
}

lumio::Answer CliUi::message(const std::string& text, const std::string& /*caption*/,
                             lumio::Icon icon, lumio::Buttons buttons) {
    const std::string line = oneLine(text);
    if (buttons == lumio::Buttons::YesNo) {
        // The only question the readers ask is whether to open data that are not strictly
        // monotonic; a batch run opens them and says so.
        if (err_) *err_ << "lumora-cli: Warnung: " << line << " (beantwortet mit Ja)\n";
        return lumio::Answer::Yes;
    }
    if (icon == lumio::Icon::Stop) {
        // Only the text after the path: the caller names the file itself.
        const auto gap = text.find("\n\n");
        failureNote_ = oneLine(gap == std::string::npos ? text : text.substr(gap + 2));
        held_.push_back(line);
        held_.push_back(failureNote_);
    } else if (err_) {
        *err_ << "lumora-cli: Warnung: " << line << '\n';
    }
    return lumio::Answer::Ok;
}

std::optional<int> CliUi::chooseFormat(const std::string&, const std::vector<std::string>& entries,
                                       int) {
    if (!answers_.formatCode) {
        std::string list;
        for (std::size_t i = 0; i < entries.size(); ++i)
            list += strprintf("%s%zu = %s", i ? ", " : "", i + 1, entries[i].c_str());
        refuse("Das Dateiformat ist nicht zu erkennen; mit --format-code N angeben (" + list +
               ").");
        return std::nullopt;
    }
    const int code = *answers_.formatCode;
    if (code < 1 || code > static_cast<int>(entries.size())) {
        refuse(strprintf("--format-code %d gibt es nicht (1 bis %zu).", code, entries.size()));
        return std::nullopt;
    }
    return code;
}

std::optional<int> CliUi::chooseTrack(const std::string&, int count, int) {
    if (!answers_.track) {
        refuse(strprintf("Die Datei enthält %d Spuren; mit --track N (1 bis %d) eine wählen.",
                         count, count));
        return std::nullopt;
    }
    const int t = *answers_.track;
    if (t < 1 || t > count) {
        refuse(strprintf("--track %d gibt es in dieser Datei nicht (1 bis %d).", t, count));
        return std::nullopt;
    }
    return t;
}

std::optional<lumio::Ui::FrameStrip> CliUi::chooseFrameStrip(const std::string&, int frames,
                                                             int strips, FrameStrip) {
    if (!answers_.frame || !answers_.strip) {
        refuse(
            strprintf("Die Datei enthält %d Frames mit je %d Streifen; mit --frame F --strip S "
                      "einen wählen.",
                      frames, strips));
        return std::nullopt;
    }
    const int f = *answers_.frame;
    const int s = *answers_.strip;
    if (f < 1 || f > frames || s < 1 || s > strips) {
        refuse(
            strprintf("--frame %d --strip %d gibt es in dieser Datei nicht (Frame 1 bis %d, "
                      "Streifen 1 bis %d).",
                      f, s, frames, strips));
        return std::nullopt;
    }
    return FrameStrip{f, s};
}

std::optional<lumio::MapsChoice> CliUi::chooseMaps(const std::string&, lumio::MapsChoice counts,
                                                   lumio::MapsChoice) {
    const std::string available = strprintf(
        "Position 1 bis %d, Sequenz 1 bis %d, Belichtung 1 bis %d, "
        "Spur 1 bis %d",
        counts.position, counts.sequence, counts.exposure, counts.track);
    if (!answers_.maps) {
        refuse("Die Datei braucht eine Auswahl; mit --maps P,S,E,T angeben (" + available + ").");
        return std::nullopt;
    }
    const lumio::MapsChoice m = *answers_.maps;
    if (m.position < 1 || m.position > counts.position || m.sequence < 1 ||
        m.sequence > counts.sequence || m.exposure < 1 || m.exposure > counts.exposure ||
        m.track < 1 || m.track > counts.track) {
        refuse(strprintf("--maps %d,%d,%d,%d gibt es in dieser Datei nicht (", m.position,
                         m.sequence, m.exposure, m.track) +
               available + ").");
        return std::nullopt;
    }
    return m;
}

std::optional<int> CliUi::chooseColumn(const std::string&, const std::vector<std::string>& names,
                                       int) {
    const int count = static_cast<int>(names.size());
    std::string list;
    for (int i = 0; i < count; ++i)
        list += strprintf("%s%d = %s", i ? ", " : "", i + 1,
                          names[static_cast<std::size_t>(i)].c_str());
    if (!answers_.track) {
        refuse("Die Datei enthält mehrere Spalten; mit --track N eine wählen (" + list + ").");
        return std::nullopt;
    }
    const int t = *answers_.track;
    if (t < 1 || t > count) {
        refuse(strprintf("--track %d gibt es in dieser Datei nicht (", t) + list + ").");
        return std::nullopt;
    }
    return t - 1;
}

}  // namespace lumcli
