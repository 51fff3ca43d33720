// Helpers of the reader and writer tests: files in a private temporary folder, and a read
// through ReadFileData that hands back the outcome keyword instead of throwing.
#pragma once

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ScriptedUi.h"
#include "lumio/lumio.h"

namespace lumtest {

// A private temporary folder, removed with the object.
class TempFolder {
  public:
    explicit TempFolder(const std::string& tag = "files") {
        static int serial = 0;
        dir_ = std::filesystem::temp_directory_path() /
               ("lumio-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::create_directories(dir_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::filesystem::path path() const { return dir_; }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string p = path(name);
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }

  private:
    std::filesystem::path dir_;
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string floatBytes(const std::vector<float>& values) {
    std::string bytes(values.size() * 4, '\0');
    std::memcpy(bytes.data(), values.data(), bytes.size());  // the test hosts are little-endian
    return bytes;
}

// The result of one ReadFileData call: the filter index, or the keyword it failed with.
struct ReadOutcome {
    int filterIndex = 0;
    std::string keyword;
    bool ok() const { return keyword.empty(); }
};

// Reads record.fileName.
inline ReadOutcome readSpectrum(ScriptedUi& ui, SpectrumRecord& record, int preselect = 1) {
    ReadOutcome outcome;
    try {
        outcome.filterIndex = ReadFileData(ui, record, preselect);
    } catch (const lumio::Outcome& e) {
        outcome.keyword = e.keyword();
    }
    return outcome;
}

inline ReadOutcome readSpectrum(ScriptedUi& ui, SpectrumRecord& record, const std::string& path,
                                int preselect = 1) {
    record.fileName = path;
    return readSpectrum(ui, record, preselect);
}

inline bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace lumtest
