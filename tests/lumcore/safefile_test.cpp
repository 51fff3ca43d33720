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

class SafeFileTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }
    // The target, written with "alt" and given `mode`.
    std::string target(const std::string& name, fs::perms mode) {
        const std::string p = (dir_ / name).string();
        EXPECT_TRUE(lumcore::writeFileSafely(p, "alt"));
        fs::permissions(p, mode);
        return p;
    }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::ptrdiff_t entries() const {
        return std::distance(fs::directory_iterator(dir_), fs::directory_iterator());
    }
    fs::path dir_ = fs::temp_directory_path() / ("lumcore-safefile-" + std::to_string(::getpid()));
};

TEST_F(SafeFileTest, CommitReplacesTheTargetKeepingOwnerModeAndLink) {
    const std::string data = target("data.txt", fs::perms(0640));
    const bool root = ::geteuid() == 0;  // only root can give the file to another owner
    if (root) {
        ASSERT_EQ(::chown(data.c_str(), 65534, 65534), 0);
    }
    fs::create_symlink(data, dir_ / "link.txt");
    ASSERT_TRUE(lumcore::writeFileSafely((dir_ / "link.txt").string(), "neu"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
    EXPECT_EQ(read(data), "neu");
    struct stat st {};
    ASSERT_EQ(::stat(data.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, root ? 65534u : ::geteuid());
    EXPECT_EQ(entries(), 2);
}

// Not committed, failed, no folder, beyond the file size limit (as on a full disk), write
// protected: the target stays. Devices are written directly.
TEST_F(SafeFileTest, FailureOrNoCommitLeavesTheTarget) {
    const std::string data = target("data.txt", fs::perms(0644));
    lumcore::SafeFile(data).write("halb");
    lumcore::SafeFile failed(data);
    ASSERT_TRUE(failed.isOpen());
    failed.write("neu");
    failed.fail();
    EXPECT_FALSE(failed.commit());
    EXPECT_FALSE(lumcore::writeFileSafely((dir_ / "no-folder/x.txt").string(), "neu"));
    EXPECT_EQ(
        lumtest::withFileSizeLimit(
            1000, [&] { return lumcore::writeFileSafely(data, std::string(5000, 'x')) ? 1 : 0; }),
        0);
    fs::permissions(data, fs::perms(0444));
    fs::permissions(dir_, fs::perms(0777));
    const int status =
        lumtest::asUnprivilegedUser([&] { return lumcore::writeFileSafely(data, "neu") ? 1 : 0; });
    if (status != lumtest::kCannotDropPrivileges) {
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(read(data), "alt");
    EXPECT_EQ(entries(), 1);
    if (fs::exists("/dev/full")) {
        EXPECT_TRUE(lumcore::writeFileSafely("/dev/null", "x"));
        EXPECT_FALSE(lumcore::writeFileSafely("/dev/full", "x"));
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
}
