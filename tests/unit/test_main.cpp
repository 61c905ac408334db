// The unit test programs' main: the phone drive is made current before any test runs.
#include <gtest/gtest.h>

#include "phone_drive.h"

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    ResetPhoneDrive();
    return RUN_ALL_TESTS();
}
