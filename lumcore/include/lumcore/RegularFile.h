// Reading a regular file without ever waiting on what the path names instead: the file is
// opened without blocking and checked after opening, so a path replaced by a FIFO or a
// device between a look and the open is refused at once, not waited on or read without end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace lumcore {

enum class FileState { Read, Missing, Folder, NotRegular, Unreadable, TooLarge };

// An opened regular file, for readers that read into memory of their own.
class RegularFile {
  public:
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // Read when the path named a regular file and it is open; else why not.
    FileState state() const { return state_; }
    // The size it had when it was opened.
    std::uintmax_t size() const { return size_; }
    // Reads into `buffer` until `length` bytes or the end of the file; `got` says how many.
    // False when reading failed.
    bool read(char* buffer, std::size_t length, std::size_t& got);

  private:
    FileState state_ = FileState::Missing;
    std::uintmax_t size_ = 0;
    int fd_ = -1;                // POSIX
    std::FILE* file_ = nullptr;  // elsewhere
};

// The whole file at `path` into `bytes` (cleared first). A file larger than `limit` when it
// is opened is not read (TooLarge); one that changes while it is read gives what was there,
// up to the size it had when it was opened.
FileState readRegularFile(const std::string& path, std::string& bytes,
                          std::uintmax_t limit = UINTMAX_MAX);

}  // namespace lumcore
