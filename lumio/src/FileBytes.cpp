// Whole-file reading and the existence test.
#include "FileBytes.h"

#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

#include "lumcore/RegularFile.h"
#include "lumio/Outcome.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace lumio::detail {
namespace {
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
    lumcore::RegularFile file(path);
    if (file.state() != lumcore::FileState::Read) throw Outcome(keyword::NoFile);
    // The size of the opened file counts: it may have changed since it was checked.
    if (file.size() > kMaxFileBytes) throw Outcome(keyword::DataNumberOverflow);
    FileBytes result;
    if (file.size() == 0) return result;
    // A file that shrank since it was opened gives what is left, one that grew its first
    // size() bytes.
    const auto length = static_cast<std::size_t>(file.size());
    result.copy_.reset(allocateBytes(length));
    std::size_t got = 0;
    if (!file.read(result.copy_.get(), length, got)) throw Outcome(keyword::NoFile);
    result.data_ = result.copy_.get();
    result.size_ = got;
    return result;
}

std::string loadHead(const std::string& path, std::size_t limit) {
    lumcore::RegularFile file(path);
    std::string bytes(limit, '\0');
    std::size_t got = 0;
    if (!file.read(bytes.data(), limit, got)) return {};
    bytes.resize(got);
    return bytes;
}

bool canOpen(const std::string& path) {
    // Reading is all a reader needs: a file opened for update as well would turn away
    // write-protected files and files on read-only media.
    return lumcore::RegularFile(path).state() == lumcore::FileState::Read;
}

}  // namespace lumio::detail
