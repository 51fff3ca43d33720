// Low-level writer of WPG 2 files: header, the fixed setting records, line and text
// records in groups of at most 32767 records, the end record and the header rewrite.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "lumgl/PlotInfo.h"

namespace lumgl {

class WpgWriter {
public:
    WpgWriter() = default;
    ~WpgWriter();
    WpgWriter(const WpgWriter&) = delete;
    WpgWriter& operator=(const WpgWriter&) = delete;

    // New file with header and setting records; false when it cannot be created.
    bool create(const std::string& path);
    // Opens a file this library wrote and positions over its end record. False, with the
    // file untouched, for anything else (wrong signature or fixed records, a stored length
    // that is not the file's, no end record where it belongs).
    bool append(const std::string& path);

    void beginGroup();
    void endGroup();
    void line(SDevicePoint a, SDevicePoint b);
    // Horizontal alignment 0 left, 1 centre, 2 right; vertical 0 baseline, 2 top,
    // 4 bottom (the value the line labels use).
    void text(SDevicePoint p, std::uint8_t horizontal, std::uint8_t vertical, std::string_view utf8);
    // End record, header and start-of-picture rewrite, close. False on a write error.
    bool finish();

private:
    void bytes(const std::vector<std::uint8_t>& data);
    void reserve(int records);  // starts a new group when the open one is full

    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool inGroup_ = false;
    long groupStart_ = 0;
    int groupRecords_ = 0;
};

}  // namespace lumgl
