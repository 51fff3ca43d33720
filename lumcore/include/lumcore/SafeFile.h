// A file written so that its target is replaced only by a complete copy: the bytes go to a
// temporary file in the target's folder, which is flushed to disk and renamed over the
// target on commit(). Any failure, or destruction without commit(), removes the temporary
// file and leaves the target exactly as it was. A target that is a device or a pipe
// (/dev/null, /dev/stdout) cannot be replaced and is written directly.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lumcore {

class SafeFile {
  public:
    // Creates the temporary file beside `target`; isOpen() tells whether that worked. A
    // write-protected target is not replaced (isOpen() is false), as a plain write would
    // not have replaced it either.
    explicit SafeFile(std::string target);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // The stream to write to while the file is open; null otherwise.
    std::FILE* stream() const { return file_; }
    const std::string& target() const { return target_; }

    // Appends bytes; a failed write is remembered and makes commit() fail.
    bool write(std::string_view bytes);
    // Marks the file as failed, for writers that find an error of their own.
    void fail() { failed_ = true; }

    // Flushes, syncs and closes the temporary file and renames it over the target. The new
    // file keeps the mode of the file it replaces. False on any failure, after which the
    // target is untouched and the temporary file is gone.
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void discard();

  private:
    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool direct_ = false;  // writing to a device or pipe: no temporary file
};

// Writes `bytes` as the whole new content of `path` through a SafeFile.
bool writeFileSafely(const std::string& path, std::string_view bytes);

}  // namespace lumcore
