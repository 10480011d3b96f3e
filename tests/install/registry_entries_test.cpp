// Registry entries whose values would not fit are refused before anything
// is written: a value cut short would send Windows to the wrong place.
#include <gmock/gmock.h>

#include "tests/dialogs/install_run.h"

typedef InstallRunTest RegistryEntriesTest;

TEST_F(RegistryEntriesTest, ValuesThatWouldNotFitAreNeverWritten)
{
    int nWritten = -1;
    Run([&](CDrivenInstall& d) {
        d.m_strTargetDir = std::string(RUN_ROOT) + "\\" + std::string(250, 'x');
        nWritten = d.WriteRegistryEntries();
    });
    EXPECT_EQ(0, nWritten);
    for (const char* pszKey : { PRODUCT_KEY, APP_PATH_KEY, UNINSTALL_KEY })
        EXPECT_FALSE(KeyExists(pszKey)) << pszKey;
}
