// References to the environment in the host's search lists.
#include "host/Environment.h"
#include "tests/support/Doubles.h"

#include <gtest/gtest.h>

#include <string>

TEST(Environment, ExpandsKnownNamesInAnyCaseAndKeepsTheRest) {
    nm::test::SetEnv("NM_TEST_FOLDER", "C:\\Office");
    nm::test::UnsetEnv("NM_TEST_MISSING");
    const std::string longText(300, 'a'); // a search list is not cut at 254 characters
    EXPECT_EQ(nm::ExpandEnvVars(longText), longText);
    EXPECT_EQ(nm::ExpandEnvVars("%nm_test_folder%\\a;%NM_TEST_MISSING%;" + longText + ";50%"),
              "C:\\Office\\a;%NM_TEST_MISSING%;" + longText + ";50%");
    // Every Wine process has the system drive, also when Linux's environment has not.
    EXPECT_EQ(nm::ExpandEnvVars("%SystemDrive%\\VECTROM"), "C:\\VECTROM");
}
