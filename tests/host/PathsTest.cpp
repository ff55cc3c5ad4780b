// The parts of a path as the host's settings write them.
#include "host/Paths.h"

#include <gtest/gtest.h>

TEST(Paths, PathPartEndsAtTheLastSeparatorOrDrive) {
    EXPECT_EQ(nm::PathPart("C:\\dir/sub\\file.pgp"), "C:\\dir/sub\\");
    EXPECT_EQ(nm::PathPart("C:vtrm.pgp"), "C:");
    EXPECT_EQ(nm::PathPart("vtrm.pgp"), "");
    EXPECT_EQ(nm::FolderPart("dir/vtrm.pgp") + nm::FileNamePart("dir/vtrm.pgp"), "dir/vtrm.pgp");
}
