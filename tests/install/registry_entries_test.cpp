// Each registry value as handed to the system: a REG_SZ whose size counts its
// text and one NUL (the texts: the end-to-end tests). Read back, a NUL left out
// would not show: Wine's narrow call adds it when the next byte is a NUL.
#include <gmock/gmock.h>

#include "tests/dialogs/install_run.h"

typedef InstallRunTest RegistryEntriesTest;

TEST_F(RegistryEntriesTest, ValuesAreWrittenAsTextsWithTheirNul)
{
    std::vector<std::string> written;  // name, type, bytes past the text
    seam::g_hooks.fnRegSetValueExA = [&](HKEY hKey, LPCSTR pszName, DWORD, DWORD dwType, const BYTE* pData,
                                         DWORD cbData) {
        int nPast = static_cast<int>(cbData) - lstrlenA(reinterpret_cast<LPCSTR>(pData));
        written.push_back(std::string(pszName) + " " + std::to_string(dwType) + " " + std::to_string(nPast));
        return seam::RealRegSetValueExA(hKey, pszName, 0, dwType, pData, cbData);
    };
    Run([](CDrivenInstall& d) { d.WriteRegistryEntries(); });
    EXPECT_THAT(written, ::testing::ElementsAre(" 1 1", " 1 1", "Path 1 1", "DisplayName 1 1", "UninstallString 1 1"));
}
