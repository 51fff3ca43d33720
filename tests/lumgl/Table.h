// Case tables of the lumgl tests: tests/lumgl/data/<name>, one case a line, cells split by
// tabs, blank lines and lines starting with '#' skipped. A missing or empty table fails.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace table {

using Row = std::vector<std::string>;

inline std::vector<Row> Read(const std::string& name) {
    std::ifstream in(std::string(LUMORA_TEST_DATA) + "/lumgl/data/" + name);
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        Row row;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) row.push_back(cell);
        rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << "no cases in tests/lumgl/data/" << name;
    return rows;
}

// A number; written with a trailing f it is the 32-bit float of that decimal.
inline double D(const std::string& s) {
    return s.back() == 'f' ? std::stof(s) : std::stod(s);
}
inline float F(const std::string& s) {
    return static_cast<float>(D(s));
}
inline int I(const std::string& s) {
    return std::stoi(s, nullptr, 0);
}

// Blank-separated numbers of one cell, as floats.
inline std::vector<float> Floats(const std::string& s) {
    std::vector<float> v;
    std::stringstream in(s);
    for (std::string x; in >> x;) v.push_back(F(x));
    return v;
}

}  // namespace table
