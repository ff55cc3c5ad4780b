// Reading and safely replacing program-parameters files, and the run-time
// errors that file failures become.
#include "host/FileIo.h"
#include "host/RuntimeError.h"
#include "tests/support/Doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using nm::test::TempDir;
using Names = std::vector<std::string>;
using Errors = std::vector<std::pair<std::string, std::int32_t>>;

namespace {

// Raising the run-time error `number`.
auto Raises(std::int32_t number) {
    return testing::Throws<nm::RuntimeError>(testing::Property(&nm::RuntimeError::Number, number));
}

} // namespace

TEST(FileIo, FileExistsOnlyForANonEmptyRegularFile) {
    TempDir dir;
    dir.Write("vtrm.pgp", "A, *ARC\n");
    dir.Write("empty.pgp", "");
    fs::create_directory(dir.Path("folder"));
    for (const char* name : {"empty.pgp", "missing.pgp", "folder", "none/vtrm.pgp"})
        EXPECT_FALSE(nm::FileExists(dir.Path(name))) << name;
    EXPECT_TRUE(nm::FileExists(dir.Path("vtrm.pgp")));
#ifndef _WIN32
    fs::create_symlink("vtrm.pgp", dir.Path("link.pgp"));
    fs::create_symlink("gone.pgp", dir.Path("dangling.pgp"));
    EXPECT_TRUE(nm::FileExists(dir.Path("link.pgp")));
    EXPECT_FALSE(nm::FileExists(dir.Path("dangling.pgp")));
#endif
}

TEST(FileIo, WriteFileSafelyReplacesTheContentInPlace) {
    TempDir dir;
    dir.Write("vtrm.pgp", "A, *ARC\n");
    fs::create_directory(dir.Path("links"));
#ifdef _WIN32
    const std::vector<std::string> names{"vtrm.pgp"};
#else
    ASSERT_EQ(::chmod(dir.Path("vtrm.pgp").c_str(), 0640), 0);
    if (::geteuid() == 0) { // root may give a file away, and so keep another's owner
        ASSERT_EQ(::chown(dir.Path("vtrm.pgp").c_str(), 4321, 4322), 0);
    }
    struct stat owner {};
    ASSERT_EQ(::stat(dir.Path("vtrm.pgp").c_str(), &owner), 0);
    fs::create_symlink("../vtrm.pgp", dir.Path("links/vtrm.pgp"));
    const std::vector<std::string> names{"vtrm.pgp", "links/vtrm.pgp"};
#endif
    // Directly, and through a relative link (read from the link's own folder):
    // every byte arrives, the file keeps its permissions, owner and group, the
    // link stays a link, and no temporary file is left behind.
    for (const std::string& name : names) {
        const std::string bytes = std::string("L,\t*LINE\r\n\0\xB1\xFF ", 13) + name;
        nm::WriteFileSafely(dir.Path(name), bytes);
        EXPECT_EQ(dir.Read("vtrm.pgp"), bytes);
        EXPECT_EQ(nm::ReadFileBytes(dir.Path(name)), bytes);
#ifndef _WIN32
        EXPECT_EQ(fs::status(dir.Path("vtrm.pgp")).permissions(), fs::perms(0640)) << name;
        struct stat now {};
        ASSERT_EQ(::stat(dir.Path("vtrm.pgp").c_str(), &now), 0);
        EXPECT_EQ(now.st_uid, owner.st_uid) << name;
        EXPECT_EQ(now.st_gid, owner.st_gid) << name;
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path("links/vtrm.pgp")))) << name;
#endif
        EXPECT_EQ(dir.Names(), (Names{"links", "vtrm.pgp"}));
    }
}

TEST(FileIo, ReadingAndWritingRaiseTheFailureAndLeaveNothingBehind) {
    TempDir dir;
    fs::create_directory(dir.Path("folder"));
    EXPECT_THAT([&] { nm::ReadFileBytes(dir.Path("missing.pgp")); }, Raises(53));
    for (const auto& [path, number] :
         Errors{{dir.Path("folder"), 75}, {dir.Path("none/vtrm.pgp"), 76}, {"", 64}}) {
        EXPECT_THAT([&] { nm::ReadFileBytes(path); }, Raises(number)) << path;
        EXPECT_THAT([&] { nm::WriteFileSafely(path, "new"); }, Raises(number)) << path;
        EXPECT_THAT([&] { nm::AppendFileBytes(path, "new"); }, Raises(number)) << path;
        EXPECT_EQ(dir.Names(), Names{"folder"});
        EXPECT_TRUE(fs::is_empty(dir.Path("folder")));
    }
}

#ifndef _WIN32 // Windows: the read-only attribute, in tests/win
TEST(FileIo, AFileTheUserMayNotWriteIsNeverReplaced) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes to read-only files and folders";
    // The file's own permission counts, not the folder's alone; an append
    // needs only the file's.
    const struct {
        mode_t file;
        mode_t folder;
        const char* appended;
    } cases[] = {{0444, 0755, "old"}, {0644, 0555, "old new"}};
    for (const auto& c : cases) {
        TempDir dir;
        dir.Write("vtrm.pgp", "old");
        ASSERT_EQ(::chmod(dir.Path("vtrm.pgp").c_str(), c.file), 0);
        ASSERT_EQ(::chmod(dir.Path("").c_str(), c.folder), 0);
        EXPECT_THAT([&] { nm::WriteFileSafely(dir.Path("vtrm.pgp"), "new"); }, Raises(75));
        EXPECT_EQ(dir.Read("vtrm.pgp"), "old");
        try {
            nm::AppendFileBytes(dir.Path("vtrm.pgp"), " new");
        } catch (const nm::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 75);
        }
        EXPECT_EQ(dir.Read("vtrm.pgp"), c.appended);
        EXPECT_EQ(dir.Names(), Names{"vtrm.pgp"});
    }
}
#endif
