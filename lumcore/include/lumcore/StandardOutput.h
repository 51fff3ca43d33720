// The end of a command-line tool: output that did not reach its destination (a full disk
// behind "> file", a closed pipe) is a failure like any other, so the exit status says so
// and stderr says why.
#pragma once

#include <cstdio>
#include <iostream>

namespace lumcore {

// `status` when everything written to standard output arrived, else a failing status.
inline int checkStandardOutput(int status, const char* program) {
    std::cout.flush();
    const bool failed = !std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!failed) return status;
    std::cerr << program << ": Die Standardausgabe konnte nicht geschrieben werden.\n";
    return status == 0 ? 1 : status;
}

}  // namespace lumcore
