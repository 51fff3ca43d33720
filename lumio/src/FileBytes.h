// Whole-file reading for the readers: the file read once into memory that is not filled
// first; no per-line copies. The file is read, not mapped: a mapped file that another
// program shortens while it is parsed kills the process (SIGBUS), a read copy cannot change.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumio::detail {

// The shortest point any format can hold takes two bytes (a digit and a line end), so a
// file larger than twice the point limit could hold more points than the limit; it is
// turned away before it is read.
constexpr std::uintmax_t kMaxFileBytes = 2 * std::uintmax_t{2000000000};

// What a path names, found without opening it (opening a FIFO for reading would wait for a
// writer, and a device never ends).
enum class PathKind { Missing, Regular, Folder, Other };
struct PathFacts {
    PathKind kind = PathKind::Missing;
    std::uintmax_t size = 0;  // of a regular file
};
PathFacts pathFacts(const std::string& path);

// A regular file's bytes, read-only, as long as the object lives. The bytes end where the
// file ended when it was opened; nothing beyond size() may be looked at.
class FileBytes {
  public:
    FileBytes() = default;
    FileBytes(FileBytes&& other) noexcept { swap(other); }
    FileBytes& operator=(FileBytes&& other) noexcept {
        FileBytes gone(std::move(other));
        swap(gone);
        return *this;
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const char* begin() const { return data_; }
    const char* end() const { return data_ + size_; }
    std::string_view view() const { return {data_, size_}; }
    operator std::string_view() const { return view(); }

  private:
    friend FileBytes readWholeFile(const std::string& path);
    void swap(FileBytes& other) noexcept;

    const char* data_ = "";
    std::size_t size_ = 0;
    struct Free {
        void operator()(char* bytes) const;
    };
    std::unique_ptr<char[], Free> copy_;
};

// The file's bytes; throws Outcome("NoFile") when it cannot be opened or read, or when the
// path names no regular file, and Outcome("DataNumberOverflow") when the opened file is
// larger than kMaxFileBytes (it may have grown since its size was checked).
FileBytes readWholeFile(const std::string& path);

// At most the first `limit` bytes of a regular file (empty when it cannot be read).
std::string loadHead(const std::string& path, std::size_t limit);

// The existence test: opens the file for reading and closes it again, so a write-protected
// file or one on read-only media passes and only an unreadable one fails. A path that names
// no regular file fails without being opened.
bool canOpen(const std::string& path);

}  // namespace lumio::detail
