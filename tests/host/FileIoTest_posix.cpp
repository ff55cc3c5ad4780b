// What a replace keeps of the file it replaces on POSIX: its permissions, its
// owner and group, and the symbolic link through which it was named.
#include "host/FileIo.h"
#include "host/RuntimeError.h"
#include "tests/support/Doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(FileIo, AReplaceKeepsModeOwnerAndLinks) {
    nm::test::TempDir dir;
    nm::SystemFileSystem files;
    const std::string target = dir.Write("vtrm.pgp", "A, *ARC\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    if (::geteuid() == 0) { // root may give a file away, and so keep another's owner
        ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
    }
    struct stat owner {};
    ASSERT_EQ(::stat(target.c_str(), &owner), 0);
    fs::create_directory(dir.Path("links"));
    fs::create_symlink("../vtrm.pgp", dir.Path("links/vtrm.pgp")); // relative to the link
    fs::create_symlink("gone.pgp", dir.Path("dangling.pgp"));
    EXPECT_TRUE(nm::FileExists(files, dir.Path("links/vtrm.pgp")));
    EXPECT_FALSE(nm::FileExists(files, dir.Path("dangling.pgp")));
    for (const std::string name : {"vtrm.pgp", "links/vtrm.pgp"}) {
        nm::WriteFileSafely(files, dir.Path(name), name);
        EXPECT_EQ(dir.Read("vtrm.pgp"), name);
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640)) << name;
        struct stat now {};
        ASSERT_EQ(::stat(target.c_str(), &now), 0);
        EXPECT_EQ(now.st_uid, owner.st_uid) << name;
        EXPECT_EQ(now.st_gid, owner.st_gid) << name;
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path("links/vtrm.pgp")))) << name;
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"dangling.pgp", "links", "vtrm.pgp"}));
    }
}

TEST(FileIo, AFolderTheUserMayNotWriteStopsAReplaceButNotAnAppend) {
    nm::test::TempDir dir;
    nm::SystemFileSystem files;
    const std::string path = dir.Write("vtrm.pgp", "old");
    ASSERT_EQ(::chmod(dir.Path("").c_str(), 0555), 0);
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes to read-only folders";
    EXPECT_THAT(
        [&] { nm::WriteFileSafely(files, path, "new"); },
        testing::Throws<nm::RuntimeError>(testing::Property(&nm::RuntimeError::Number, 75)));
    nm::AppendFileBytes(files, path, " new");
    EXPECT_EQ(dir.Read("vtrm.pgp"), "old new");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"vtrm.pgp"});
}
