// Reading, safely replacing and appending to files, and the run-time errors
// that file failures become.
#include "host/FileIo.h"
#include "host/Paths.h"
#include "host/RuntimeError.h"
#include "tests/support/Doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace nm;
using nm::test::TempDir;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

namespace {

// Raising the run-time error `number`.
auto Raises(std::int32_t number) {
    return testing::Throws<RuntimeError>(testing::Property(&RuntimeError::Number, number));
}

} // namespace

TEST(FileIo, ExistsReadsWritesAndAppends) {
    TempDir dir;
    SystemFileSystem files;
    dir.Write("empty.pgp", "");
    fs::create_directory(NativePath(dir.Path("folder")));
    for (const char* name : {"empty.pgp", "missing.pgp", "folder", "none/vtrm.pgp", ""})
        EXPECT_FALSE(FileExists(files, name[0] ? dir.Path(name) : "")) << name;
    // Every byte arrives, under a name outside any code page, and no
    // temporary file is left behind.
    const std::string path = dir.Path("\xE5\xA4\x87\xE4\xBB\xBD vtrm.pgp");
    const std::string bytes("L,\t*LINE\r\n\0\xB1\xFF ", 13);
    WriteFileSafely(files, path, "old");
    WriteFileSafely(files, path, bytes);
    EXPECT_TRUE(FileExists(files, path));
    AppendFileBytes(files, path, "A,*ARC");
    EXPECT_EQ(ReadFileBytes(files, path), bytes + "A,*ARC");
    EXPECT_EQ(dir.Names(), (Names{"empty.pgp", "folder", "\xE5\xA4\x87\xE4\xBB\xBD vtrm.pgp"}));
}

TEST(FileIo, FailuresRaiseTheirNumberAndLeaveNothingBehind) {
    TempDir dir;
    SystemFileSystem files;
    fs::create_directory(NativePath(dir.Path("folder")));
    EXPECT_THAT([&] { ReadFileBytes(files, dir.Path("missing.pgp")); }, Raises(53));
    for (const auto& [path, number] : std::vector<std::pair<std::string, std::int32_t>>{
             {dir.Path("folder"), 75}, {dir.Path("none/vtrm.pgp"), 76}, {"", 64}}) {
        EXPECT_THAT([&] { ReadFileBytes(files, path); }, Raises(number)) << path;
        EXPECT_THAT([&] { WriteFileSafely(files, path, "new"); }, Raises(number)) << path;
        EXPECT_THAT([&] { AppendFileBytes(files, path, "new"); }, Raises(number)) << path;
        EXPECT_EQ(dir.Names(), Names{"folder"});
        EXPECT_TRUE(fs::is_empty(NativePath(dir.Path("folder"))));
    }
}

TEST(FileIo, AReadOnlyFileIsNeitherReplacedNorAppendedTo) {
    TempDir dir;
    SystemFileSystem files;
    const std::string path = dir.Write("vtrm.pgp", "old");
    fs::permissions(NativePath(path), fs::perms::owner_read);
    if (!files.CheckWrite(path))
        GTEST_SKIP() << "this user writes read-only files";
    EXPECT_THAT([&] { WriteFileSafely(files, path, "new"); }, Raises(75));
    EXPECT_THAT([&] { AppendFileBytes(files, path, "new"); }, Raises(75));
    EXPECT_EQ(dir.Read("vtrm.pgp"), "old");
    EXPECT_EQ(dir.Names(), Names{"vtrm.pgp"});
    fs::permissions(NativePath(path), fs::perms::owner_write, fs::perm_options::add);
}
