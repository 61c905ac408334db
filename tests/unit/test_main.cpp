// The unit test programs' main: the phone drive is made current before any test runs. Listing the cases leaves
// the drive alone: a listing may run while another case of the same program uses it.
#include <gtest/gtest.h>

#include "phone_drive.h"

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!testing::GTEST_FLAG(list_tests))
        ResetPhoneDrive();
    return RUN_ALL_TESTS();
}
