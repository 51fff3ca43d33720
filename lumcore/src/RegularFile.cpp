// Opening and reading regular files without blocking; see RegularFile.h.
#include "lumcore/RegularFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#define LUMCORE_POSIX_FILES 1
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumcore {

RegularFile::RegularFile(const std::string& path) {
#ifdef LUMCORE_POSIX_FILES
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        state_ = errno == ENOENT || errno == ENOTDIR ? FileState::Missing : FileState::Unreadable;
        return;
    }
    struct stat facts {};
    if (::fstat(fd_, &facts) != 0) {
        state_ = FileState::Unreadable;
    } else if (S_ISDIR(facts.st_mode)) {
        state_ = FileState::Folder;
    } else if (!S_ISREG(facts.st_mode)) {
        state_ = FileState::NotRegular;
    } else {
        state_ = FileState::Read;
        size_ = static_cast<std::uintmax_t>(facts.st_size);
    }
#else
    // No FIFOs to wait on here: the kind is looked at, then the file opened.
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) return;
    if (fs::is_directory(status)) {
        state_ = FileState::Folder;
        return;
    }
    if (!fs::is_regular_file(status)) {
        state_ = FileState::NotRegular;
        return;
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        state_ = FileState::Unreadable;
        return;
    }
    state_ = FileState::Read;
    size_ = fs::file_size(path, error);
    if (error) state_ = FileState::Unreadable;
#endif
}

RegularFile::~RegularFile() {
#ifdef LUMCORE_POSIX_FILES
    if (fd_ >= 0) ::close(fd_);
#endif
    if (file_) std::fclose(file_);
}

bool RegularFile::read(char* buffer, std::size_t length, std::size_t& got) {
    got = 0;
    if (state_ != FileState::Read) return false;
#ifdef LUMCORE_POSIX_FILES
    while (got < length) {
        const ssize_t n = ::read(fd_, buffer + got, length - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return true;
#else
    got = std::fread(buffer, 1, length, file_);
    return !std::ferror(file_);
#endif
}

FileState readRegularFile(const std::string& path, std::string& bytes, std::uintmax_t limit) {
    bytes.clear();
    RegularFile file(path);
    if (file.state() != FileState::Read) return file.state();
    if (file.size() > limit) return FileState::TooLarge;
    bytes.resize(static_cast<std::size_t>(file.size()));
    std::size_t got = 0;
    const bool ok = file.read(bytes.data(), bytes.size(), got);
    bytes.resize(got);
    return ok ? FileState::Read : FileState::Unreadable;
}

}  // namespace lumcore
