// Test helper: a program directory in the temp folder with an enciphered line database
// written line by line, the way lumora-dbtool stores it.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lumdb/Database.h"

namespace lumtest {

class StoredDatabase {
  public:
    explicit StoredDatabase(const std::string& name)
        : root_(std::filesystem::temp_directory_path() /
                ("lumora_" + name + "_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Data");
    }
    ~StoredDatabase() { std::filesystem::remove_all(root_); }

    std::string programDir() const { return root_.string(); }
    std::string dataDir() const { return root_.string() + "/Data/"; }
    std::filesystem::path root() const { return root_; }

    // Plain lines (Windows-1252 bytes) enciphered into <root>/<relative>.
    void write(const std::string& relative, const std::vector<std::string>& lines) const {
        const std::filesystem::path path = root_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (std::string line : lines) {
            EnCryptLine(line);
            out << line << "\r\n";
        }
    }

  private:
    std::filesystem::path root_;
};

}  // namespace lumtest
