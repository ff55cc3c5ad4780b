// References to the environment in the host's search lists.
#include "host/Environment.h"

#include <gtest/gtest.h>

#include <string>

TEST(Environment, ExpandsKnownNamesInAnyCaseAndKeepsTheRest) {
    nm::Variables variables;
    variables.Set("NM_Folder", "C:\\Office");
    const std::string longText(300, 'a'); // a search list is not cut at 254 characters
    EXPECT_EQ(nm::ExpandEnvVars(longText, variables), longText);
    EXPECT_EQ(nm::ExpandEnvVars("%nm_folder%\\a;%NM_MISSING%;%%;" + longText + ";50%", variables),
              "C:\\Office\\a;%NM_MISSING%;%%;" + longText + ";50%");
}
