// Whole-file reading and the existence test.
#include "FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
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

#ifdef LUMIO_POSIX_FILES
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};
#endif
// Memory for a whole file, not filled first. A large file goes into huge pages where the
// system offers them: filling millions of fresh small pages costs more than reading the file.
char* allocateBytes(std::size_t length) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (length >= kHugePage) {
        const std::size_t rounded = (length + kHugePage - 1) / kHugePage * kHugePage;
        if (void* bytes = std::aligned_alloc(kHugePage, rounded)) {
            ::madvise(bytes, rounded, MADV_HUGEPAGE);
            return static_cast<char*>(bytes);
        }
    }
#endif
    if (void* bytes = std::malloc(length)) return static_cast<char*>(bytes);
    throw std::bad_alloc();
}
}  // namespace

void FileBytes::Free::operator()(char* bytes) const {
    std::free(bytes);
}

void FileBytes::swap(FileBytes& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
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

FileBytes readWholeFile(const std::string& path) {
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
    // Read once into memory that is not filled first; a file that shrank since gives what
    // is left, one that grew gives its first `length` bytes.
    result.copy_.reset(allocateBytes(length));
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
#ifdef _WIN32
    const long long end = _ftelli64(file.get());  // long is 32 bits there
#else
    const long end = std::ftell(file.get());
#endif
    if (end < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) throw Outcome(keyword::NoFile);
    const auto size = static_cast<std::uintmax_t>(end);
    if (size > kMaxFileBytes) throw Outcome(keyword::DataNumberOverflow);
    if (size == 0) return result;
    const auto length = static_cast<std::size_t>(size);
    result.copy_.reset(allocateBytes(length));
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
