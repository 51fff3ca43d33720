// SafeFile: the target is replaced only by a complete file, keeps its owner, mode and links,
// and is left as it was (with no temporary file beside it) on every failure.
#include "lumcore/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ChildProcess.h"

namespace fs = std::filesystem;

namespace {

class SafeFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("lumcore-safefile-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
    fs::path dir_;
};

TEST_F(SafeFileTest, CommitReplacesTheTargetKeepingModeAndLink) {
    const std::string target = path("data.txt");
    ASSERT_TRUE(lumcore::writeFileSafely(target, "alt"));
    ::chmod(target.c_str(), 0640);
    const bool root = ::geteuid() == 0;  // only root can give the file to another owner
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    }
    fs::create_symlink(target, path("link.txt"));
    ASSERT_TRUE(lumcore::writeFileSafely(path("link.txt"), "neu"));
    EXPECT_TRUE(fs::is_symlink(path("link.txt")));
    EXPECT_EQ(read(target), "neu");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);
    }
    EXPECT_EQ(entries(), 2u);
}

TEST_F(SafeFileTest, FailureOrNoCommitLeavesTheTarget) {
    const std::string target = path("data.txt");
    ASSERT_TRUE(lumcore::writeFileSafely(target, "alt"));
    {
        lumcore::SafeFile file(target);
        ASSERT_TRUE(file.isOpen());
        file.write("halb");
    }
    lumcore::SafeFile failed(target);
    failed.write("neu");
    failed.fail();
    EXPECT_FALSE(failed.commit());
    EXPECT_FALSE(lumcore::writeFileSafely(path("no-folder/x.txt"), "neu"));
    // A write beyond the file size limit fails as on a full disk.
    EXPECT_EQ(
        lumtest::withFileSizeLimit(
            1000, [&] { return lumcore::writeFileSafely(target, std::string(5000, 'x')) ? 1 : 0; }),
        0);
    EXPECT_EQ(read(target), "alt");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SafeFileTest, WriteProtectedTargetStaysAndDevicesAreWrittenDirectly) {
    const std::string target = path("protected.txt");
    ASSERT_TRUE(lumcore::writeFileSafely(target, "alt"));
    ::chmod(target.c_str(), 0444);
    ::chmod(dir_.c_str(), 0777);
    const int status = lumtest::asUnprivilegedUser(
        [&] { return lumcore::writeFileSafely(target, "neu") ? 1 : 0; });
    if (status != lumtest::kCannotDropPrivileges) {
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(read(target), "alt");
    EXPECT_EQ(entries(), 1u);
    if (fs::exists("/dev/full")) {
        EXPECT_TRUE(lumcore::writeFileSafely("/dev/null", "x"));
        EXPECT_FALSE(lumcore::writeFileSafely("/dev/full", "x"));
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
}

}  // namespace
