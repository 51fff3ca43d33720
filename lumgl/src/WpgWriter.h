// Low-level writer of WPG 2 files: header, the fixed setting records, line and text
// records in groups of at most 32767 records, the end record and the header rewrite. The
// picture is put together in memory (an append starts from the old file's bytes) and
// written on finish() through a temporary file, so the target is either the complete new
// picture or unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lumgl/PlotInfo.h"

namespace lumgl {

class WpgWriter {
  public:
    // A new picture for `path` with header and setting records.
    bool create(const std::string& path);
    // Reads a file this library wrote and continues over its end record. False for
    // anything else (unreadable, wrong signature or fixed records, a stored length that is
    // not the file's, no end record where it belongs).
    bool append(const std::string& path);

    void beginGroup();
    void endGroup();
    void line(SDevicePoint a, SDevicePoint b);
    // Horizontal alignment 0 left, 1 centre, 2 right; vertical 0 baseline, 2 top,
    // 4 bottom (the value the line labels use).
    void text(SDevicePoint p, std::uint8_t horizontal, std::uint8_t vertical,
              std::string_view utf8);
    // End record and header, then the whole file to `path`. False, with the file as it was,
    // when it cannot be written.
    bool finish();

  private:
    void bytes(const std::vector<std::uint8_t>& data);
    void reserve(int records);  // starts a new group when the open one is full

    std::vector<std::uint8_t> data_;
    std::string path_;
    bool open_ = false;
    bool inGroup_ = false;
    std::size_t groupStart_ = 0;
    int groupRecords_ = 0;
};

}  // namespace lumgl
