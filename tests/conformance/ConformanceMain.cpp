// The conformance tests load the plug-in into this process, in a temporary home.
#include "support/TemporaryHome.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const TemporaryHome home;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
