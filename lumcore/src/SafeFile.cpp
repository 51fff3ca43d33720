// Temporary file beside the target, flushed and renamed into place.
#include "lumcore/SafeFile.h"

#include <cerrno>
#include <filesystem>
#include <utility>

#ifdef _WIN32
#include <io.h>

#include <random>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumcore {

namespace {

std::string folderOf(const std::string& path) {
    const std::filesystem::path p(path);
    const auto parent = p.parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace

SafeFile::SafeFile(std::string target) : target_(std::move(target)) {
    // Saving through a link replaces the file it points to, not the link.
    std::error_code error;
    if (std::filesystem::is_symlink(target_, error)) {
        const auto resolved = std::filesystem::weakly_canonical(target_, error);
        if (!error) target_ = resolved.string();
    }
    const auto status = std::filesystem::status(target_, error);
    const bool exists = !error && std::filesystem::exists(status);
    if (exists && (std::filesystem::is_character_file(status) || std::filesystem::is_fifo(status) ||
                   std::filesystem::is_block_file(status))) {
        file_ = std::fopen(target_.c_str(), "wb");
        direct_ = true;
        return;
    }
#ifndef _WIN32
    if (exists && ::access(target_.c_str(), W_OK) != 0) return;
#endif
    const std::string name = std::filesystem::path(target_).filename().string();
    std::string pattern = folderOf(target_) + "/." + name + ".tmp-XXXXXX";
#ifdef _WIN32
    std::random_device random;
    for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
        std::string candidate = pattern;
        static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
        for (std::size_t i = candidate.size() - 6; i < candidate.size(); ++i)
            candidate[i] = digits[random() % 36];
        file_ = std::fopen(candidate.c_str(), "wbx");
        if (file_) temporary_ = candidate;
    }
#else
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return;
    // The replacement keeps the target's owner (as far as the user may give it) and
    // permissions; a new file gets what the user's umask allows, as a plain create would.
    struct stat existing {};
    mode_t mode;
    if (::stat(target_.c_str(), &existing) == 0) {
        [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        ::unlink(pattern.c_str());
        return;
    }
    temporary_ = pattern;
#endif
}

SafeFile::~SafeFile() {
    discard();
}

bool SafeFile::write(std::string_view bytes) {
    if (!file_) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        failed_ = true;
    return !failed_;
}

bool SafeFile::commit() {
    if (!file_) return false;
    bool ok = !failed_ && std::fflush(file_) == 0 && !std::ferror(file_);
#ifndef _WIN32
    if (ok && !direct_) ok = ::fsync(::fileno(file_)) == 0;
#endif
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (direct_) return ok;
    if (ok) {
        std::error_code error;
        std::filesystem::rename(temporary_, target_, error);
        ok = !error;
    }
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
#ifndef _WIN32
    // The rename itself reaches the disk with the folder's entry.
    if (ok) {
        const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
#endif
    temporary_.clear();
    return ok;
}

void SafeFile::discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
        temporary_.clear();
    }
}

bool writeFileSafely(const std::string& path, std::string_view bytes) {
    SafeFile file(path);
    return file.isOpen() && file.write(bytes) && file.commit();
}

}  // namespace lumcore
