// Splitting one line of a comma- or tab-separated file into fields, with double quotes
// around fields that hold the separator ("a, b") and doubled quotes inside them.
#pragma once

#include <string>
#include <vector>

namespace dbtool {

std::vector<std::string> splitCsvRow(const std::string& line, char separator = ',');

// A field for a CSV file: quoted when it holds a comma, a quote or leading/trailing blanks.
std::string csvField(const std::string& text);

// Line ends of either platform removed.
std::string chompLine(std::string line);

}  // namespace dbtool
