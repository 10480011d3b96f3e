// The test program's entry. The installer ends itself with exit(0) in many
// places; a test that runs into one of them by mistake would otherwise end the
// process with success before its checks ran.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/seam/seam.h"

static bool IsDeathTestChild()
{
    return std::strstr(::GetCommandLineA(), "--gtest_internal_run_death_test") != NULL;
}

static void RefuseExitDuringTest()
{
    const ::testing::TestInfo* pTest = ::testing::UnitTest::GetInstance()->current_test_info();
    if (pTest == NULL || IsDeathTestChild())
        return;
    std::fprintf(stderr, "FAILED: %s.%s ended the process before it finished\n", pTest->test_suite_name(),
                 pTest->name());
    std::fflush(stderr);
    std::_Exit(1);
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    seam::Reset();
    std::atexit(RefuseExitDuringTest);
    return RUN_ALL_TESTS();
}
