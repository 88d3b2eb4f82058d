// The emulated-device tests' program: it runs itself under umockdev's
// preload library, then the tests.
#include <gtest/gtest.h>

#include "bed/MockEnvironment.h"

int main(int argc, char** argv)
{
    RunUnderUmockdev(argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
