// CheckTargetDirectory: bad paths and too little room are refused before
// anything is created; the free space as each query reports it.
#include <gmock/gmock.h>

#include "res/resource.h"
#include "tests/dialogs/install_run.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char INVALID[] = "Please specify a valid disk drive and path";

class TargetCheckTest : public InstallRunTest
{
protected:
    int Check(const std::string& strPath)
    {
        int nResult = -1;
        Run([&](CDrivenInstall& d) {
            ::SetCurrentDirectoryA(RUN_ROOT);
            seam::g_boxes.m_records.clear();
            nResult = d.CheckTargetDirectory(strPath);
        });
        return nResult;
    }
};

// GetDiskFreeSpaceExA as found in the kernel, reporting this much room.
unsigned long long s_nAvailable = 0;

BOOL WINAPI ReportAvailable(LPCSTR, PULARGE_INTEGER pAvailable, PULARGE_INTEGER pTotal, PULARGE_INTEGER pFree)
{
    pAvailable->QuadPart = s_nAvailable;
    pTotal->QuadPart = pFree->QuadPart = s_nAvailable * 2;  // not the caller's share: must not count
    return TRUE;
}

void ReportOld(DWORD nSectorsPerCluster, DWORD nBytesPerSector, DWORD nFreeClusters)
{
    ReplaceExport("GetDiskFreeSpaceExA", NULL);
    seam::g_hooks.fnGetDiskFreeSpaceA = [=](LPCSTR, LPDWORD pSpc, LPDWORD pBps, LPDWORD pFree, LPDWORD) {
        *pSpc = nSectorsPerCluster;
        *pBps = nBytesPerSector;
        *pFree = nFreeClusters;
        return TRUE;
    };
}

}  // namespace

TEST_F(TargetCheckTest, BadPathsAndTooLittleRoomAreRefusedBeforeAnythingIsCreated)
{
    const std::pair<std::string, std::string> rgCases[] = {
        { "", INVALID },
        { "\\\\server\\share\\Lumivane", INVALID },
        { "T:Lumivane", INVALID },
        { "T:/run/Lumivane", INVALID },
        { "1:\\Lumivane", "Can't access drive 1:" },
        { "Q:\\Lumivane", "Can't access drive Q:" },
        { "T:\\run\\\\Lumivane", "Error creating directory T:\\run\\\\Lumivane" },  // an empty level, typed
        { "S:\\Lumivane", "Insufficient disk space on drive S:" },
    };
    for (const auto& c : rgCases) {
        EXPECT_EQ(0, Check(c.first)) << c.first;
        EXPECT_THAT(seam::g_boxes.Texts(), ElementsAre(c.second)) << c.first;
        EXPECT_THAT(Leftovers(), IsEmpty()) << c.first;
        EXPECT_THAT(NamesIn("S:\\"), ElementsAre("<none>")) << c.first;
    }
}

TEST_F(TargetCheckTest, FreeSpaceIsJudgedFromWhicheverQueryTheSystemHas)
{
    struct Case
    {
        const char* pszName;
        std::function<void()> fnReport;
        int nResult;
    };
    const Case rgCases[] = {
        { "exactly 400,000 bytes", [] { s_nAvailable = 400000; ReplaceExport("GetDiskFreeSpaceExA", reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&ReportAvailable))); }, 1 },
        { "one byte short", [] { s_nAvailable = 399999; ReplaceExport("GetDiskFreeSpaceExA", reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&ReportAvailable))); }, 0 },
        { "old query, 8 GiB", [] { ReportOld(8, 512, 1u << 21); }, 1 },
        { "old query, 399,872 bytes", [] { ReportOld(1, 512, 781); }, 0 },
        // Exactly 2^64 bytes: a product that wrapped would be 0.
        { "old query, past 64 bits", [] { ReportOld(1u << 21, 1u << 21, 1u << 22); }, 1 },
        { "undetermined, user says Yes",
          [] { seam::g_hooks.fnLoadLibraryA = [](LPCSTR) { return static_cast<HMODULE>(NULL); }; }, 1 },
    };
    for (const Case& c : rgCases) {
        seam::Reset();
        c.fnReport();
        std::string strTarget = std::string(RUN_ROOT) + "\\" + c.pszName;
        EXPECT_EQ(c.nResult, Check(strTarget)) << c.pszName;
        EXPECT_EQ(c.nResult == 1, PathExists(strTarget)) << c.pszName;
        if (c.nResult == 0) {
            EXPECT_THAT(seam::g_boxes.Texts(), ElementsAre("Insufficient disk space on drive T:")) << c.pszName;
        }
    }
}

// The folder picked in Browse, with the product's folder added unless the path
// names the product already, is what the field shows and where it installs.
TEST_F(TargetCheckTest, BrowsedFolderBecomesTheTarget)
{
    // A folder that ends in a character whose second byte is a backslash's.
    const std::string c = TwoByteCharacters()[0];
    const std::pair<std::string, std::string> rgCases[] = {
        { "T:\\run\\Picked", "T:\\run\\Picked\\Lumivane" },
        { "T:\\run\\Lumivane 1.10", "T:\\run\\Lumivane 1.10" },
        { "T:\\", "T:\\Lumivane" },
        { "T:\\run\\" + c, "T:\\run\\" + c + "\\Lumivane" },
    };
    for (const auto& [strPicked, strTarget] : rgCases) {
        ::CreateDirectoryA(strPicked.c_str(), NULL);
        char szField[MAX_PATH] = "";
        seam::g_hooks.fnSHBrowseForFolderA = [&](LPBROWSEINFOA) { return ::ILCreateFromPathA(strPicked.c_str()); };
        FailResource(136);
        Run([&](CDrivenInstall& d) {
            Click(d, IDC_BROWSE);
            ::GetDlgItemTextA(d.m_hWnd, IDC_TARGET_DIR, szField, MAX_PATH);
            Click(d, IDOK);
        });
        EXPECT_EQ(strTarget, szField);
        EXPECT_THAT(NamesIn(strTarget), ElementsAre("Lumivane.exe")) << strPicked;
        ::SetCurrentDirectoryA("T:\\");
        RemoveTree(strTarget);
    }
    // Not taken as a look-alike ("Lodz") where the code page cannot spell it.
    const WCHAR szUnspellable[] = L"T:\\run\\\u0141\u00F3d\u017A";
    ::CreateDirectoryW(szUnspellable, NULL);
    seam::g_hooks.fnSHBrowseForFolderA = [&](LPBROWSEINFOA) { return ::ILCreateFromPathW(szUnspellable); };
    char szBefore[MAX_PATH] = "", szAfter[MAX_PATH] = "";
    Run([&](CDrivenInstall& d) {
        ::GetDlgItemTextA(d.m_hWnd, IDC_TARGET_DIR, szBefore, MAX_PATH);
        Click(d, IDC_BROWSE);
        ::GetDlgItemTextA(d.m_hWnd, IDC_TARGET_DIR, szAfter, MAX_PATH);
    });
    EXPECT_STREQ(szBefore, szAfter);
    ::RemoveDirectoryW(szUnspellable);
}
