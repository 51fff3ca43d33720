// WPG 2 file writer. Layout from the published WPG 2 format: a 16-byte WPC header with
// our product fields to 26 bytes, records of (class, type, extension, length, data) with
// 16-bit little-endian numbers, groups whose extension counts their records.
#include "WpgWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "lumcore/SafeFile.h"
#include "lumgl/WpgExport.h"

namespace lumgl {

namespace {

using Bytes = std::vector<std::uint8_t>;

void Add16(Bytes& b, int v) {
    const std::uint16_t u =
        static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(v, -32768, 32767)));
    b.push_back(static_cast<std::uint8_t>(u & 0xFF));
    b.push_back(static_cast<std::uint8_t>(u >> 8));
}

void AddU16(Bytes& b, std::uint16_t u) {
    b.push_back(static_cast<std::uint8_t>(u & 0xFF));
    b.push_back(static_cast<std::uint8_t>(u >> 8));
}

void AddU32(Bytes& b, std::uint32_t u) {
    AddU16(b, static_cast<std::uint16_t>(u & 0xFFFF));
    AddU16(b, static_cast<std::uint16_t>(u >> 16));
}

Bytes Header(std::uint32_t fileLength) {
    Bytes b = {0xFF, 'W', 'P', 'C'};
    AddU32(b, kWpgHeaderSize);
    b.insert(b.end(), {1, 22, 2, 0});  // product type, file type, major, minor version
    AddU16(b, 0);                      // encryption key
    AddU16(b, 0);                      // reserved
    b.insert(b.end(), {3, 0, 0, 0});
    AddU32(b, fileLength);
    AddU16(b, 0);
    return b;
}

const Bytes kStartRecordStart = {4, 1, 6, 23};

Bytes StartOfPicture() {
    Bytes b;
    AddU16(b, 1200);
    AddU16(b, 1200);
    b.push_back(0);  // precision
    for (int v : {600, 600, 13431, 9321, 13431, 9321, 600, 600, 0})
        AddU16(b, static_cast<std::uint16_t>(v));
    return b;
}

Bytes SettingRecords() {
    Bytes b = {3, 3, 0, 17};
    for (int v : {14031, 9921, 1, 600, 600, 600, 600, 0}) AddU16(b, static_cast<std::uint16_t>(v));
    b.push_back(0);
    b.insert(b.end(), {3, 4, 0, 16});
    for (int v : {0, 0, 236, 0, 0, 0, 236, 0}) AddU16(b, static_cast<std::uint16_t>(v));
    b.insert(b.end(), {3, 5, 0, 14});
    for (int v : {0, 236, 4, 0, 236, 4, 0}) AddU16(b, static_cast<std::uint16_t>(v));
    b.insert(b.end(), {3, 0x35, 0, 2, 0, 0});
    b.insert(b.end(), {3, 0x31, 0, 5, 0, 255, 255, 255, 0});
    b.insert(b.end(), {3, 0x39, 0, 5, 2, 0, 0, 0, 0});
    b.insert(b.end(), {4, 0x2B, 0, 4, 0, 0, 0, 0});
    b.insert(b.end(), {4, 0x31, 0, 5, 0, 0, 0, 255, 0});
    return b;
}

const Bytes kEndRecord = {4, 2, 0, 0};

}  // namespace

void WpgWriter::bytes(const Bytes& data) {
    if (open_) data_.insert(data_.end(), data.begin(), data.end());
}

bool WpgWriter::create(const std::string& path) {
    path_ = path;
    data_ = Header(0);
    open_ = true;
    Bytes start = kStartRecordStart;
    const Bytes picture = StartOfPicture();
    start.insert(start.end(), picture.begin(), picture.end());
    bytes(start);
    bytes(SettingRecords());
    return true;
}

bool WpgWriter::append(const std::string& path) {
    // The header stores the length in 32 bits: a larger file cannot be one of ours, and is
    // not read into memory.
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > 0xFFFFFFFFu) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    Bytes old;
    std::uint8_t chunk[1 << 14];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) old.insert(old.end(), chunk, chunk + n);
    const bool readWell = !std::ferror(f);
    std::fclose(f);
    // The file must be ours and whole: the expected header apart from the length, the
    // start-of-picture record, the stored length equal to the real one, and the end record
    // in the last four bytes.
    const std::size_t fixed = kWpgHeaderSize + 4 + 23;
    bool ours = readWell && old.size() >= fixed + kEndRecord.size();
    if (ours) {
        const Bytes expected = Header(0);
        for (int i = 0; i < kWpgHeaderSize; ++i) {
            if (i >= 20 && i < 24) continue;  // the stored length
            if (old[static_cast<std::size_t>(i)] != expected[static_cast<std::size_t>(i)])
                ours = false;
        }
        Bytes start = kStartRecordStart;
        const Bytes picture = StartOfPicture();
        start.insert(start.end(), picture.begin(), picture.end());
        if (!std::equal(start.begin(), start.end(), old.begin() + kWpgHeaderSize)) ours = false;
        const std::uint32_t stored = static_cast<std::uint32_t>(old[20]) |
                                     (static_cast<std::uint32_t>(old[21]) << 8) |
                                     (static_cast<std::uint32_t>(old[22]) << 16) |
                                     (static_cast<std::uint32_t>(old[23]) << 24);
        if (stored != old.size() ||
            !std::equal(kEndRecord.begin(), kEndRecord.end(), old.end() - 4))
            ours = false;
    }
    if (!ours) return false;
    // The new records go over the end record; the whole file is written again on finish().
    old.resize(old.size() - kEndRecord.size());
    data_ = std::move(old);
    path_ = path;
    open_ = true;
    return true;
}

void WpgWriter::beginGroup() {
    if (!open_) return;
    if (inGroup_) endGroup();
    groupStart_ = data_.size();
    Bytes b = {4, 32, 0xFF, 0, 0, 12};
    for (int v : {32, 37, 0, 0, 0, 0}) AddU16(b, static_cast<std::uint16_t>(v));
    bytes(b);
    inGroup_ = true;
    groupRecords_ = 0;
}

void WpgWriter::endGroup() {
    if (!open_ || !inGroup_) return;
    const std::uint16_t count = static_cast<std::uint16_t>(groupRecords_);
    data_[groupStart_ + 3] = static_cast<std::uint8_t>(count & 0xFF);
    data_[groupStart_ + 4] = static_cast<std::uint8_t>(count >> 8);
    inGroup_ = false;
}

void WpgWriter::reserve(int records) {
    if (!inGroup_) {
        beginGroup();
    } else if (groupRecords_ + records > kWpgMaxGroupRecords) {
        endGroup();
        beginGroup();
    }
    groupRecords_ += records;
}

void WpgWriter::line(SDevicePoint a, SDevicePoint b) {
    if (!open_) return;
    reserve(1);
    Bytes r = {4, 21, 0, 14};
    AddU16(r, 32800);
    AddU16(r, 33);
    AddU16(r, 2);
    Add16(r, a.x);
    Add16(r, a.y);
    Add16(r, b.x);
    Add16(r, b.y);
    bytes(r);
}

void WpgWriter::text(SDevicePoint p, std::uint8_t horizontal, std::uint8_t vertical,
                     std::string_view utf8) {
    if (!open_) return;
    std::vector<std::uint8_t> chars = WpgCharacters(utf8);
    if (chars.size() > 127) chars.resize(127);  // the length byte holds 2n
    reserve(2);
    Bytes r = {4, 28, 1, 16};
    AddU16(r, 32);
    AddU16(r, 35);
    AddU16(r, 0);
    Add16(r, p.x);
    Add16(r, p.y);
    r.insert(r.end(), {horizontal, vertical, 0, 0, 0, 0});
    r.insert(r.end(), {4, 15, 0, static_cast<std::uint8_t>(2 * chars.size())});
    for (std::uint8_t c : chars) {
        r.push_back(c);
        r.push_back(0);
    }
    bytes(r);
}

bool WpgWriter::finish() {
    if (!open_) return false;
    endGroup();
    bytes(kEndRecord);
    open_ = false;
    const Bytes header = Header(static_cast<std::uint32_t>(data_.size()));
    std::copy(header.begin(), header.end(), data_.begin());
    return lumcore::writeFileSafely(
        path_, std::string_view(reinterpret_cast<const char*>(data_.data()), data_.size()));
}

}  // namespace lumgl
