// Data-driven reads: each line of a case file in tests/lumio/data/ names a file, the scripted
// user's answers, the file's bytes and what reading it must give, tab-separated:
//   name  answers  bytes  outcome  check...
// answers: "-" or blank-separated fmt=N track=N col=N fs=F,S maps=P,S,E,T (format, track,
//   column, frame/strip and Maps block choice).
// bytes: escapes \n \r \t \0 \\ \xHH and {f:a,b,...} for little-endian 32-bit floats;
//   @name: the bytes of tests/lumio/data/name.
// outcome: "ok" or the keyword the read must end in.
// checks: f= filter index, n= point count, p=x:y x:y... all points, @i=x:y point i (from the
//   end when negative; x "*" is not checked), msg= message count, text~ part of the first
//   message, caption= and icon= (number) of the first message, fmt= format dialogs (pre= the
//   0-based entry a single one preselects), dlg=
//   choice dialogs, track=count/initial, fs=frames,strips/frame,strip, col=a,b/initial,
//   maps=P,S,E,T/P,S,E,T (counts, initial; initial choices only where given), name= suffix after
//   "path #" (empty: the path alone), title= xt= yt=, xmin= xmax= ymin= ymax=, lines= and db=
//   (spectrum and database lines).
// Cases run in file order, so remembered choices carry from one case to the next.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "ChoiceMemory.h"
#include "IoTestFiles.h"

namespace lumtest {

inline std::vector<std::string> splitOn(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::istringstream in(s);
    for (std::string part; std::getline(in, part, sep);)
        if (!part.empty() || sep == '\t') parts.push_back(part);
    return parts;
}

// The rows of a tab-separated table in tests/lumio/data/ ("#" lines are comments).
inline std::vector<std::vector<std::string>> tableRows(const std::string& file) {
    std::ifstream in(std::string(LUMORA_TEST_DATA) + "/lumio/data/" + file);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') rows.push_back(splitOn(line, '\t'));
    return rows;
}

inline std::string unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 3, "{f:") == 0) {
            const std::size_t end = s.find('}', i);
            std::vector<float> values;
            for (const auto& v : splitOn(s.substr(i + 3, end - i - 3), ','))
                values.push_back(std::stof(v));
            out += floatBytes(values);
            i = end;
        } else if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
        } else {
            const char c = s[++i];
            if (c == 'x') {
                out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '0' ? '\0' : c;
            }
        }
    }
    return out;
}

inline void expectPoint(const SpectrumRecord& record, long i, const std::string& xy) {
    const auto at = static_cast<std::size_t>(i < 0 ? long(record.points.size()) + i : i);
    ASSERT_LT(at, record.points.size()) << xy;
    const auto colon = xy.find(':');
    if (xy[0] != '*') {
        EXPECT_FLOAT_EQ(record.points[at].x, std::stof(xy.substr(0, colon))) << at;
    }
    EXPECT_FLOAT_EQ(record.points[at].y, std::stof(xy.substr(colon + 1))) << at;
}

// Reads one case (the columns of its row) in `folder`.
inline void runReadCase(const TempFolder& folder, const std::vector<std::string>& c) {
    ASSERT_GE(c.size(), 4u);
    SCOPED_TRACE(c[0] + " " + c[2]);
    ScriptedUi ui;
    const std::map<std::string, std::deque<std::optional<int>>*> queues = {
        {"fmt", &ui.formatAnswers}, {"track", &ui.trackAnswers}, {"col", &ui.columnAnswers}};
    for (const auto& a : splitOn(c[1], ' ')) {
        const std::string key = a.substr(0, a.find('=')),
                          v = a.substr(std::min(key.size() + 1, a.size()));
        const auto n = splitOn(v, ',');
        if (key == "fs")
            ui.frameStripAnswers.push_back(lumio::Ui::FrameStrip{std::stoi(n[0]), std::stoi(n[1])});
        else if (key == "maps")
            ui.mapsAnswers.push_back(lumio::MapsChoice{std::stoi(n[0]), std::stoi(n[1]),
                                                       std::stoi(n[2]), std::stoi(n[3])});
        else if (key != "-")
            queues.at(key)->push_back(std::stoi(v));
    }
    SpectrumRecord record;
    // A fixture that is not there would read as an empty file, which some cases expect.
    const bool fromFile = !c[2].empty() && c[2][0] == '@';
    const std::string fixture =
        fromFile ? std::string(LUMORA_TEST_DATA) + "/lumio/data/" + c[2].substr(1) : "";
    if (fromFile) {
        ASSERT_TRUE(std::filesystem::is_regular_file(fixture)) << fixture;
    }
    const std::string path = folder.write(c[0], fromFile ? readBytes(fixture) : unescape(c[2]));
    const ReadOutcome out = readSpectrum(ui, record, path);
    ASSERT_EQ(out.ok() ? "ok" : out.keyword, c[3]);
    // What the read gave, written as the case file writes it.
    const auto& info = record.plotInfo;
    auto count = [](std::size_t n) { return std::to_string(n); };
    auto two = [](int a, int b, char sep) { return std::to_string(a) + sep + std::to_string(b); };
    const std::string suffix = path + " #";
    std::map<std::string, std::string> shown = {
        {"f", std::to_string(out.filterIndex)},
        {"n", count(record.points.size())},
        {"msg", count(ui.messages.size())},
        {"fmt", count(ui.formatCalls.size())},
        {"dlg", count(ui.trackCalls.size() + ui.frameStripCalls.size() + ui.columnCalls.size() +
                      ui.mapsCalls.size())},
        {"lines", count(record.spectrumLines.size())},
        {"db", count(record.databaseLines.size())},
        {"title", info.title},
        {"xt", info.xTitle},
        {"yt", info.yTitle},
        {"text", ui.messages.empty() ? "" : ui.messages[0].text},
        {"caption", ui.messages.empty() ? "" : ui.messages[0].caption},
        {"icon", ui.messages.empty() ? "" : std::to_string(int(ui.messages[0].icon))},
        {"name", record.fileName.rfind(suffix, 0) == 0 ? record.fileName.substr(suffix.size())
                 : record.fileName == path             ? ""
                                                       : record.fileName}};
    if (ui.formatCalls.size() == 1) shown["pre"] = std::to_string(ui.formatCalls[0].preselectIndex);
    if (ui.trackCalls.size() == 1)
        shown["track"] = two(ui.trackCalls[0].count, ui.trackCalls[0].initial, '/');
    if (ui.frameStripCalls.size() == 1) {
        const auto& call = ui.frameStripCalls[0];
        shown["fs"] = two(call.frames, call.strips, ',') + "/" +
                      two(call.initial.frame, call.initial.strip, ',');
    }
    if (ui.columnCalls.size() == 1) {
        std::string names;
        for (const auto& n : ui.columnCalls[0].names) names += (names.empty() ? "" : ",") + n;
        shown["col"] = names + "/" + std::to_string(ui.columnCalls[0].initialIndex);
    }
    if (ui.mapsCalls.size() == 1) {
        auto four = [](const lumio::MapsChoice& m) {
            return std::to_string(m.position) + "," + std::to_string(m.sequence) + "," +
                   std::to_string(m.exposure) + "," + std::to_string(m.track);
        };
        shown["maps"] = four(ui.mapsCalls[0].counts) + "/" + four(ui.mapsCalls[0].initial);
    }
    const std::map<std::string, float> values = {
        {"xmin", info.xMin}, {"xmax", info.xMax}, {"ymin", info.yMin}, {"ymax", info.yMax}};
    for (std::size_t k = 4; k < c.size(); ++k) {
        SCOPED_TRACE(c[k]);
        const std::string key = c[k].substr(0, c[k].find_first_of("=~"));
        const std::string v = unescape(c[k].substr(std::min(key.size() + 1, c[k].size())));
        if (key == "p") {
            const auto pairs = splitOn(v, ' ');
            ASSERT_EQ(record.points.size(), pairs.size());
            for (std::size_t i = 0; i < pairs.size(); ++i) expectPoint(record, long(i), pairs[i]);
        } else if (key[0] == '@') {
            expectPoint(record, std::stol(key.substr(1)), v);
        } else if (values.count(key)) {
            EXPECT_FLOAT_EQ(values.at(key), std::stof(v));
        } else if (c[k][key.size()] == '~') {
            EXPECT_NE(shown[key].find(v), std::string::npos) << shown[key];
        } else {
            ASSERT_TRUE(shown.count(key)) << "no such check, or no single such dialog";
            std::string actual = shown[key];
            // A dialog's initial choice is checked only where the case names it.
            if (v.find('/') == v.npos &&
                (key == "track" || key == "fs" || key == "col" || key == "maps"))
                actual = actual.substr(0, actual.find('/'));
            EXPECT_EQ(actual, v);
        }
    }
}

// Reads every case of `file`; `expectedCases` keeps a lost or cut table from passing.
inline void runReadCases(const std::string& file, std::size_t expectedCases) {
    const auto rows = tableRows(file);
    EXPECT_EQ(rows.size(), expectedCases) << file;
    TempFolder folder("cases");
    lumio::detail::lastChosenTrack() = 0;
    lumio::detail::lastChosenFrameStrip() = {0, 0};
    SCOPED_TRACE(file);
    for (const auto& row : rows) runReadCase(folder, row);
}

}  // namespace lumtest
