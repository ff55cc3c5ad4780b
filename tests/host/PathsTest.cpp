// The parts of a path as the host's settings write them.
#include "host/Paths.h"
#include "tests/support/Doubles.h"

#include <gtest/gtest.h>

TEST(Paths, PathPartEndsAtTheLastSeparatorOrDrive) {
    EXPECT_EQ(nm::PathPart("C:\\dir/sub\\file.pgp"), "C:\\dir/sub\\");
    EXPECT_EQ(nm::PathPart("C:vtrm.pgp"), "C:");
    EXPECT_EQ(nm::PathPart("vtrm.pgp"), "");
    EXPECT_EQ(nm::FolderPart("dir/vtrm.pgp") + nm::FileNamePart("dir/vtrm.pgp"), "dir/vtrm.pgp");
}

// The rule a list of file names uses to drop repeats, by names alone, agrees
// with the file system: letter case and separators count where it counts them.
TEST(Paths, SamePathNameAgreesWithTheFileSystem) {
    nm::test::TempDir dir;
    const std::string file = dir.Write("Vtrm.pgp", "A, *ARC\n");
    const std::string folder = nm::FolderPart(file);
    for (const std::string& other :
         {file, folder + "vtrm.pgp", folder + "VTRM.PGP",
          folder.substr(0, folder.size() - 1) + "\\Vtrm.pgp", folder + "Vtrm.pgx"})
        EXPECT_EQ(nm::SamePathName(file, other), nm::SameFile(file, other)) << other;
}
