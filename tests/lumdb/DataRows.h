// Test helper: the rows of a data file under tests/lumdb/data, blank and '#' lines left out.
#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace lumtest {

inline std::vector<std::string> dataRows(const std::string& name) {
    std::ifstream in(std::string(LUMORA_TEST_DATA) + "/lumdb/data/" + name);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') rows.push_back(line);
    return rows;
}

}  // namespace lumtest
