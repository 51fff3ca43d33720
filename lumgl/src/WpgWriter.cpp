// WPG 2 file writer. Layout from the published WPG 2 format: a 16-byte WPC header with
// our product fields to 26 bytes, records of (class, type, extension, length, data) with
// 16-bit little-endian numbers, groups whose extension counts their records.
#include "WpgWriter.h"

#include <algorithm>

#include "lumgl/WpgExport.h"

namespace lumgl {

namespace {

using Bytes = std::vector<std::uint8_t>;

void Add16(Bytes& b, int v) {
    const std::uint16_t u = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(v, -32768, 32767)));
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
    for (int v : {600, 600, 13431, 9321, 13431, 9321, 600, 600, 0}) AddU16(b, static_cast<std::uint16_t>(v));
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

WpgWriter::~WpgWriter() {
    if (file_) std::fclose(file_);
}

void WpgWriter::bytes(const Bytes& data) {
    if (!file_ || data.empty()) return;
    if (std::fwrite(data.data(), 1, data.size(), file_) != data.size()) failed_ = true;
}

bool WpgWriter::create(const std::string& path) {
    file_ = std::fopen(path.c_str(), "w+b");
    if (!file_) return false;
    bytes(Header(0));
    Bytes start = kStartRecordStart;
    const Bytes picture = StartOfPicture();
    start.insert(start.end(), picture.begin(), picture.end());
    bytes(start);
    bytes(SettingRecords());
    return !failed_;
}

bool WpgWriter::append(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    if (!f) return false;
    // Everything is checked before the first byte is written: the expected header apart
    // from the length, the start-of-picture record, the stored length against the real
    // one, and the end record in the last four bytes.
    Bytes head(kWpgHeaderSize + 4 + 23);
    const bool complete = std::fread(head.data(), 1, head.size(), f) == head.size();
    bool ours = complete;
    if (ours) {
        const Bytes expected = Header(0);
        for (int i = 0; i < kWpgHeaderSize; ++i) {
            if (i >= 20 && i < 24) continue;  // the stored length
            if (head[static_cast<std::size_t>(i)] != expected[static_cast<std::size_t>(i)]) ours = false;
        }
        Bytes start = kStartRecordStart;
        const Bytes picture = StartOfPicture();
        start.insert(start.end(), picture.begin(), picture.end());
        if (!std::equal(start.begin(), start.end(), head.begin() + kWpgHeaderSize)) ours = false;
    }
    std::uint32_t stored = 0;
    long size = -1;
    if (ours) {
        stored = static_cast<std::uint32_t>(head[20]) | (static_cast<std::uint32_t>(head[21]) << 8) |
                 (static_cast<std::uint32_t>(head[22]) << 16) | (static_cast<std::uint32_t>(head[23]) << 24);
        if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
        ours = size >= static_cast<long>(head.size() + kEndRecord.size()) &&
               static_cast<long>(stored) == size;
    }
    if (ours) {
        Bytes tail(4);
        ours = std::fseek(f, size - 4, SEEK_SET) == 0 &&
               std::fread(tail.data(), 1, 4, f) == 4 && tail == kEndRecord;
    }
    if (!ours || std::fseek(f, size - 4, SEEK_SET) != 0) {
        std::fclose(f);
        return false;
    }
    file_ = f;
    return true;
}

void WpgWriter::beginGroup() {
    if (!file_) return;
    if (inGroup_) endGroup();
    groupStart_ = std::ftell(file_);
    Bytes b = {4, 32, 0xFF, 0, 0, 12};
    for (int v : {32, 37, 0, 0, 0, 0}) AddU16(b, static_cast<std::uint16_t>(v));
    bytes(b);
    inGroup_ = true;
    groupRecords_ = 0;
}

void WpgWriter::endGroup() {
    if (!file_ || !inGroup_) return;
    const long end = std::ftell(file_);
    Bytes count;
    AddU16(count, static_cast<std::uint16_t>(groupRecords_));
    if (std::fseek(file_, groupStart_ + 3, SEEK_SET) != 0) failed_ = true;
    bytes(count);
    if (std::fseek(file_, end, SEEK_SET) != 0) failed_ = true;
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
    if (!file_) return;
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
    if (!file_) return;
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
    if (!file_) return false;
    endGroup();
    bytes(kEndRecord);
    const long length = std::ftell(file_);
    if (length < 0) failed_ = true;
    if (std::fseek(file_, 0, SEEK_SET) != 0) failed_ = true;
    bytes(Header(static_cast<std::uint32_t>(std::max(0L, length))));
    Bytes start = kStartRecordStart;
    const Bytes picture = StartOfPicture();
    start.insert(start.end(), picture.begin(), picture.end());
    bytes(start);
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

}  // namespace lumgl
