// lumora-dbtool: builds, checks and dumps Lumora's enciphered line database, and imports
// NIST line lists into its CSV source format.
#include <iostream>
#include <string>

#include "DatabaseTool.h"
#include "lumcore/StandardOutput.h"

namespace {

int usage() {
    std::cerr
        << "usage:\n"
           "  lumora-dbtool build <source dir> <data dir>    CSV sources -> Elements.lmt + *.lmt\n"
           "  lumora-dbtool check <data dir>                 every file present, parseable, "
           "sorted\n"
           "  lumora-dbtool dump <file.lmt>...               deciphered lines as UTF-8 text\n"
           "  lumora-dbtool import-nist <NIST list> <label> <out.csv>\n"
           "                                                 NIST ASD lines export -> species "
           "CSV\n";
    return 2;
}

int run(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "build" && argc == 4)
        return dbtool::buildDatabase(argv[2], argv[3], std::cerr) == 0 ? 0 : 1;
    if (command == "check" && argc == 3)
        return dbtool::checkDatabase(argv[2], std::cout, std::cerr) == 0 ? 0 : 1;
    if (command == "dump" && argc >= 3) {
        int failed = 0;
        for (int i = 2; i < argc; ++i) failed += dbtool::dumpFile(argv[i], std::cout, std::cerr);
        return failed == 0 ? 0 : 1;
    }
    if (command == "import-nist" && argc == 5)
        return dbtool::importNist(argv[2], argv[3], argv[4], std::cerr);
    return usage();
}

}  // namespace

int main(int argc, char** argv) {
    return lumcore::checkStandardOutput(run(argc, argv), "lumora-dbtool");
}
