// Reading and safely replacing program-parameters files, and the run-time
// errors that file failures become.
#include "FileIo.h"
#include "Doubles.h"
#include "RuntimeError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using nm::test::TempDir;

namespace {

// The run-time error number that `action` raises, or 0.
template <typename F> std::int32_t ErrorOf(F&& action) {
    try {
        action();
    } catch (const nm::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

} // namespace

TEST(FileIo, FileExistsOnlyForANonEmptyRegularFile) {
    TempDir dir;
    dir.Write("vtrm.pgp", "A, *ARC\n");
    dir.Write("empty.pgp", "");
    fs::create_directory(dir.Path("folder"));
    fs::create_symlink("vtrm.pgp", dir.Path("link.pgp"));
    fs::create_symlink("empty.pgp", dir.Path("link-empty.pgp"));
    fs::create_symlink("gone.pgp", dir.Path("dangling.pgp"));
    for (const char* name : {"vtrm.pgp", "link.pgp"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(nm::FileExists(dir.Path(name)));
    }
    for (const char* name : {"empty.pgp", "link-empty.pgp", "missing.pgp", "dangling.pgp", "folder",
                             "none/vtrm.pgp"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(nm::FileExists(dir.Path(name)));
    }
    EXPECT_FALSE(nm::FileExists(""));
}

TEST(FileIo, ReadFileBytesReadsEveryByteOrRaisesTheFailure) {
    TempDir dir;
    const std::string bytes("A,\t*ARC\r\n\0\xB1\xB8\xFF", 13);
    EXPECT_EQ(nm::ReadFileBytes(dir.Write("vtrm.pgp", bytes)), bytes);
    EXPECT_EQ(nm::ReadFileBytes(dir.Write("empty.pgp", "")), "");
    fs::create_directory(dir.Path("folder"));
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {dir.Path("missing.pgp"), 53}, {dir.Path("none/vtrm.pgp"), 76}, {dir.Path("folder"), 75}};
    for (const auto& [path, number] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ErrorOf([&] { nm::ReadFileBytes(path); }), number);
    }
}

TEST(FileIo, WriteFileSafelyReplacesTheContentAndKeepsThePermissions) {
    TempDir dir;
    for (const mode_t mode : {0640, 0600, 0755}) {
        SCOPED_TRACE(mode);
        const std::string path = dir.Write("vtrm.pgp", "A, *ARC\nC, *CIRCLE\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        nm::WriteFileSafely(path, "L, *LINE\n");
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(dir.Read("vtrm.pgp"), "L, *LINE\n");
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"vtrm.pgp"});
    }
    // A new file gets the usual mode, not the private one of the temporary file.
    const mode_t mask = ::umask(022);
    nm::WriteFileSafely(dir.Path("new.pgp"), "new");
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir.Path("new.pgp")), 0644u);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"new.pgp", "vtrm.pgp"}));
}

TEST(FileIo, WriteFileSafelyWritesThroughASymbolicLink) {
    TempDir dir;
    fs::create_directory(dir.Path("shared"));
    dir.Write("shared/vtrm.pgp", "old");
    ASSERT_EQ(::chmod(dir.Path("shared/vtrm.pgp").c_str(), 0640), 0);
    // A relative link, resolved from the link's own folder, and an absolute
    // link to that link.
    fs::create_symlink("shared/vtrm.pgp", dir.Path("vtrm.pgp"));
    fs::create_symlink(dir.Path("vtrm.pgp"), dir.Path("chain.pgp"));

    for (const std::string name : {"vtrm.pgp", "chain.pgp"}) {
        SCOPED_TRACE(name);
        nm::WriteFileSafely(dir.Path(name), "new " + name);
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path(name))));
        EXPECT_EQ(dir.Read("shared/vtrm.pgp"), "new " + name);
    }
    EXPECT_EQ(ModeOf(dir.Path("shared/vtrm.pgp")), 0640u);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"chain.pgp", "shared", "vtrm.pgp"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("shared")), fs::directory_iterator()),
              1);
}

TEST(FileIo, WriteFileSafelyFailsWithoutTouchingAnything) {
    TempDir dir;
    fs::create_directory(dir.Path("folder"));
    dir.Write("vtrm.pgp", "old");
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {dir.Path("folder"), 75}, {dir.Path("none/vtrm.pgp"), 76}, {"", 64}};
    for (const auto& [path, number] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ErrorOf([&] { nm::WriteFileSafely(path, "new"); }), number);
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"folder", "vtrm.pgp"}));
        EXPECT_TRUE(fs::is_empty(dir.Path("folder")));
    }
}

TEST(FileIo, WriteFileSafelyInAReadOnlyFolderKeepsTheOldContent) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes to read-only folders";
    TempDir dir;
    fs::create_directory(dir.Path("ro"));
    dir.Write("ro/vtrm.pgp", "old");
    ASSERT_EQ(::chmod(dir.Path("ro").c_str(), 0555), 0);
    EXPECT_EQ(ErrorOf([&] { nm::WriteFileSafely(dir.Path("ro/vtrm.pgp"), "new"); }), 75);
    EXPECT_EQ(dir.Read("ro/vtrm.pgp"), "old");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"ro"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("ro")), fs::directory_iterator()), 1);
}

TEST(FileIo, ErrorFromErrnoMapsSystemErrors) {
    TempDir dir;
    struct Case {
        int err;
        std::string path;
        std::int32_t number;
    };
    const std::vector<Case> cases = {{ENOSPC, "", 61},
                                     {EIO, "", 57},
                                     {EACCES, "", 75},
                                     {EROFS, "", 75},
                                     {EISDIR, dir.Path("vtrm.pgp"), 75},
                                     {ENOENT, dir.Path("vtrm.pgp"), 53},
                                     {ENOENT, "vtrm.pgp", 53},
                                     {ENOENT, dir.Path("none/vtrm.pgp"), 76}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.err << " " << c.path);
        const nm::RuntimeError error = nm::ErrorFromErrno(c.err, c.path);
        EXPECT_EQ(error.Number(), c.number);
        EXPECT_EQ(error.Description(), nm::ErrorDescription(c.number));
    }
}
