#include "platform/Paths.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace flk;

namespace {
mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}
}  // namespace

// The runtime folder's fallback lives in the shared /tmp, where anyone may
// have made the name first: only a real folder of our own is used.
TEST(Paths, PrivateFolderIsCreatedClosedAndOnlyOurs) {
    test::TempDir dir;
    const std::string fresh = dir.File("fresh");
    EXPECT_TRUE(MakePrivateFolder(fresh));
    EXPECT_EQ(ModeOf(fresh), 0700u);
    EXPECT_TRUE(MakePrivateFolder(fresh)) << "an existing one of ours is used again";

    const std::string loose = dir.File("loose");
    ASSERT_EQ(::mkdir(loose.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(loose.c_str(), 0777), 0);
    EXPECT_TRUE(MakePrivateFolder(loose));
    EXPECT_EQ(ModeOf(loose), 0700u);

    const std::string link = dir.File("link");
    ASSERT_EQ(::symlink(fresh.c_str(), link.c_str()), 0);
    EXPECT_FALSE(MakePrivateFolder(link));

    const std::string file = dir.File("file");
    dir.Write("file", "x");
    EXPECT_FALSE(MakePrivateFolder(file));

    EXPECT_FALSE(MakePrivateFolder(""));
    EXPECT_FALSE(MakePrivateFolder(dir.File("no/such/parent")));

    // Owned by someone else: only root can make one here to try it.
    if (::getuid() == 0) {
        const std::string theirs = dir.File("theirs");
        ASSERT_EQ(::mkdir(theirs.c_str(), 0700), 0);
        ASSERT_EQ(::chown(theirs.c_str(), 12345, 12345), 0);
        EXPECT_FALSE(MakePrivateFolder(theirs));
    }
}
