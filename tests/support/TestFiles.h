// Files and programs for tests: a file's bytes, a file written whole, text split at a
// character, the rows of a case table, and a shell command run with its exit status and
// output.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace lumtest {

inline std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::filesystem::path& p, const std::string& text) {
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

// The parts between the separators; a separator at the end starts no further part.
inline std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
    return parts;
}

// The lines of a case table, without the empty ones and the comments ('#' first).
inline std::vector<std::string> tableRows(const std::filesystem::path& p) {
    std::vector<std::string> rows;
    for (std::string& line : split(readFile(p), '\n'))
        if (!line.empty() && line[0] != '#') rows.push_back(std::move(line));
    return rows;
}

struct Run {
    int status = -1;  // the exit status, -1 when the command did not end normally
    std::string out, err;
};

// Runs `command` through the shell with standard output and error going to files in
// `scratch`; redirections after `tail` (put last) win over those.
inline Run run(const std::string& command, const std::filesystem::path& scratch,
               const std::string& tail = "") {
    const auto out = scratch / "stdout.txt", err = scratch / "stderr.txt";
    const int status = std::system(
        (command + " >'" + out.string() + "' 2>'" + err.string() + "' " + tail).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

// Whether the shell finds `name`.
inline bool haveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace lumtest
