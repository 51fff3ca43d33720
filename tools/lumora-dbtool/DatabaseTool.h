// The commands of lumora-dbtool: build the enciphered database from its CSV sources, check
// a built database, dump stored files as plain text, import a NIST line list.
#pragma once

#include <ostream>
#include <string>

namespace dbtool {

// Each returns the number of problems found (0 = success) and writes them to `errors`.
int buildDatabase(const std::string& sourceDir, const std::string& dataDir, std::ostream& errors);
int checkDatabase(const std::string& dataDir, std::ostream& out, std::ostream& errors);
int dumpFile(const std::string& path, std::ostream& out, std::ostream& errors);
int importNist(const std::string& inputPath, const std::string& label,
               const std::string& outputPath, std::ostream& errors);

}  // namespace dbtool
