// Helpers of the instrument reader tests: binary files built byte by byte and the shared
// sample folder (temporary folders and reading come from IoTestFiles.h).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "IoTestFiles.h"

namespace lumtest {

namespace fs = std::filesystem;

// A binary image that grows as fields are written at fixed offsets (little-endian).
class Bytes {
  public:
    explicit Bytes(std::size_t size = 0) : data_(size, '\0') {}
    Bytes& u8(std::size_t at, std::uint8_t v) { return raw(at, &v, 1); }
    Bytes& u16(std::size_t at, std::uint16_t v) { return le(at, v, 2); }
    Bytes& u32(std::size_t at, std::uint32_t v) { return le(at, v, 4); }
    Bytes& f32(std::size_t at, float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return le(at, bits, 4);
    }
    Bytes& f64(std::size_t at, double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return le(at, bits, 8);
    }
    Bytes& text(std::size_t at, const std::string& s) { return raw(at, s.data(), s.size()); }
    std::size_t size() const { return data_.size(); }
    const std::string& str() const { return data_; }

  private:
    Bytes& le(std::size_t at, std::uint64_t v, int width) {
        unsigned char b[8];
        for (int i = 0; i < width; ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
        return raw(at, b, static_cast<std::size_t>(width));
    }
    Bytes& raw(std::size_t at, const void* p, std::size_t n) {
        if (data_.size() < at + n) data_.resize(at + n, '\0');
        std::memcpy(data_.data() + at, p, n);
        return *this;
    }
    std::string data_;
};

// A fixture that writes a file into a private folder and reads it into a fresh record.
class InstrumentFileTest : public ::testing::Test {
  protected:
    ReadOutcome read(const std::string& name, const Bytes& bytes) {
        record = SpectrumRecord{};
        path = folder.write(name, bytes.str());
        return readSpectrum(ui, record, path);
    }
    // The same with fresh answers: `format` is the entry chosen if the format dialog comes up.
    ReadOutcome readFresh(const std::string& name, const Bytes& bytes, int format = 0) {
        ui = ScriptedUi{};
        if (format) ui.formatAnswers.push_back(format);
        return read(name, bytes);
    }

    void expectPoints(const std::vector<std::pair<float, float>>& expected) {
        ASSERT_EQ(record.points.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_FLOAT_EQ(record.points[i].x, expected[i].first) << i;
            EXPECT_FLOAT_EQ(record.points[i].y, expected[i].second) << i;
        }
    }

    // Every hostile file ends in its keyword, read as format `format`, and never reaches a
    // choice dialog.
    struct Hostile {
        const char* what;
        Bytes bytes;
        const char* keyword;
    };
    void expectKeywords(const std::vector<Hostile>& cases, const std::string& name, int format) {
        for (const auto& c : cases) {
            EXPECT_EQ(readFresh(name, c.bytes, format).keyword, c.keyword) << c.what;
            EXPECT_TRUE(ui.trackCalls.empty() && ui.frameStripCalls.empty() && ui.mapsCalls.empty())
                << c.what;
        }
    }

    TempFolder folder;
    ScriptedUi ui;
    SpectrumRecord record;
    std::string path;
};

// The shared folder of real instrument files, or an empty path when this clone lacks it.
inline fs::path samplesFolder() {
    const fs::path dir = fs::path(LUMORA_SHARED) / "samples";
    return fs::is_directory(dir) ? dir : fs::path();
}

#define LUMTEST_REQUIRE_SAMPLES(dir)                        \
    const auto dir = ::lumtest::samplesFolder();            \
    if (dir.empty())                                        \
    GTEST_SKIP() << "no sample folder at " << LUMORA_SHARED \
                 << "/samples: real instrument files not checked"

// Relative comparison for values that went through 32-bit floats and 10-digit printing.
inline ::testing::AssertionResult near(double expected, double actual, double rel = 2e-6,
                                       double abs = 1e-9) {
    const double diff = std::abs(expected - actual);
    if (diff <= abs || diff <= rel * std::abs(expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

}  // namespace lumtest
