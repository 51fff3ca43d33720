// Whole-file reading and the existence test.
#include "FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "lumio/Outcome.h"

#if defined(__unix__) || defined(__APPLE__)
#define LUMIO_POSIX_FILES 1
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumio::detail {
namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Below this size reading costs less than setting up and tearing down a mapping.
constexpr std::uintmax_t kMapFrom = std::uintmax_t{1} << 16;

#ifdef LUMIO_POSIX_FILES
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};
#endif
}  // namespace

FileBytes::~FileBytes() {
#ifdef LUMIO_POSIX_FILES
    if (mapping_) ::munmap(mapping_, mappedLength_);
#endif
}

void FileBytes::release(std::size_t offset) const {
#ifdef LUMIO_POSIX_FILES
    if (!mapping_) return;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t whole = (offset < size_ ? offset : size_) / page * page;
    if (whole > 0) ::madvise(mapping_, whole, MADV_DONTNEED);
#else
    (void)offset;
#endif
}

void FileBytes::swap(FileBytes& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(mapping_, other.mapping_);
    std::swap(mappedLength_, other.mappedLength_);
    std::swap(copy_, other.copy_);
}

PathFacts pathFacts(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    PathFacts facts;
    if (error || !fs::exists(status)) return facts;
    if (fs::is_directory(status)) {
        facts.kind = PathKind::Folder;
    } else if (fs::is_regular_file(status)) {
        facts.kind = PathKind::Regular;
        facts.size = fs::file_size(path, error);
        if (error) facts.size = 0;
    } else {
        facts.kind = PathKind::Other;
    }
    return facts;
}

FileBytes mapFile(const std::string& path) {
    if (pathFacts(path).kind != PathKind::Regular) throw Outcome(keyword::NoFile);
    FileBytes result;
#ifdef LUMIO_POSIX_FILES
    // Without waiting: the path may have been replaced by a FIFO since it was looked at.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    struct stat facts {};
    if (file.fd < 0 || ::fstat(file.fd, &facts) != 0 || !S_ISREG(facts.st_mode))
        throw Outcome(keyword::NoFile);
    // The size of the opened file counts: it may have changed since it was checked.
    const auto size = static_cast<std::uintmax_t>(facts.st_size);
    if (size > kMaxFileBytes) throw Outcome(keyword::DataNumberOverflow);
    if (size == 0) return result;
    const auto length = static_cast<std::size_t>(size);
    if (size >= kMapFrom) {
        void* mapping = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file.fd, 0);
        if (mapping != MAP_FAILED) {
            // The readers walk the bytes from the start: read ahead generously.
            ::madvise(mapping, length, MADV_SEQUENTIAL);
            result.mapping_ = mapping;
            result.mappedLength_ = length;
            result.data_ = static_cast<const char*>(mapping);
            result.size_ = length;
            return result;
        }
    }
    // Read once into memory that is not filled first; a file that shrank since gives what
    // is left, one that grew gives its first `length` bytes.
    result.copy_.reset(new char[length]);
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::read(file.fd, result.copy_.get() + got, length - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw Outcome(keyword::NoFile);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
#else
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) throw Outcome(keyword::NoFile);
    const long end = std::ftell(file.get());
    if (end < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) throw Outcome(keyword::NoFile);
    const auto size = static_cast<std::uintmax_t>(end);
    if (size > kMaxFileBytes) throw Outcome(keyword::DataNumberOverflow);
    if (size == 0) return result;
    const auto length = static_cast<std::size_t>(size);
    result.copy_.reset(new char[length]);
    const std::size_t got = std::fread(result.copy_.get(), 1, length, file.get());
    if (std::ferror(file.get())) throw Outcome(keyword::NoFile);
#endif
    result.data_ = result.copy_.get();
    result.size_ = got;
    return result;
}

std::string loadHead(const std::string& path, std::size_t limit) {
    if (pathFacts(path).kind != PathKind::Regular) return {};
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    std::string bytes(limit, '\0');
    bytes.resize(std::fread(bytes.data(), 1, limit, file.get()));
    return bytes;
}

bool canOpen(const std::string& path) {
    // Reading is all a reader needs: a file opened for update as well would turn away
    // write-protected files and files on read-only media.
    if (pathFacts(path).kind != PathKind::Regular) return false;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    return static_cast<bool>(file);
}

}  // namespace lumio::detail
