// CheckTargetDirectory on the tests' own drives: form checks, drive, free
// space, the level-by-level walk, and where each exit leaves the process.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "install/paths.h"
#include "tests/support/install_session.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char INVALID[] = "Please specify a valid disk drive and path";

class TargetCheckTest : public ::testing::Test
{
protected:
    void SetUp() override { seam::Reset(); }
    void TearDown() override { seam::Reset(); }

    // Runs the check inside the install dialog; the boxes it showed, as
    // (text, owned by the dialog) pairs, are in m_boxes.
    int Check(const std::string& strPath, const std::string& strStartIn = "T:\\")
    {
        int nResult = -1;
        RunInstallDialog([&](CDrivenInstall& d) {
            seam::g_boxes.m_records.clear();  // the answers queued for the check stay
            ::SetCurrentDirectoryA(strStartIn.c_str());
            nResult = d.CheckTargetDirectory(strPath);
            m_strCurrent = CurrentDirectory();
            for (const seam::BoxRecord& box : seam::g_boxes.m_records) {
                m_boxes.push_back(box.strText);
                EXPECT_EQ(d.m_hWnd, box.hOwner);
                EXPECT_TRUE(box.strCaption == "ERROR" ? box.uType == 0x40 : box.uType == 0x24) << box.strCaption;
            }
        });
        return nResult;
    }

    std::vector<std::string> m_boxes;
    std::string m_strCurrent;
};

// Free space as GetDiskFreeSpaceExA would give it, for the tests' hooks.
unsigned long long s_nAvailable = 0;
BOOL s_bExSucceeds = TRUE;
int s_nExCalls = 0;

BOOL WINAPI FakeGetDiskFreeSpaceEx(LPCSTR, PULARGE_INTEGER pAvailable, PULARGE_INTEGER pTotal, PULARGE_INTEGER pFree)
{
    ++s_nExCalls;
    pAvailable->QuadPart = s_nAvailable;
    pTotal->QuadPart = s_nAvailable * 2;
    pFree->QuadPart = s_nAvailable * 2;  // not the caller's share: must not be used
    return s_bExSucceeds;
}

void HookFreeSpaceEx(unsigned long long nAvailable, BOOL bSucceeds = TRUE)
{
    s_nAvailable = nAvailable;
    s_bExSucceeds = bSucceeds;
    s_nExCalls = 0;
    seam::g_hooks.fnGetProcAddress = [](HMODULE hModule, LPCSTR pszName) {
        if (HIWORD(reinterpret_cast<ULONG_PTR>(pszName)) != 0 && std::string(pszName) == "GetDiskFreeSpaceExA")
            return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeGetDiskFreeSpaceEx));
        return seam::RealGetProcAddress(hModule, pszName);
    };
}

// Only the old query: GetDiskFreeSpaceExA is missing.
void HookOldFreeSpace(DWORD nSectorsPerCluster, DWORD nBytesPerSector, DWORD nFreeClusters, BOOL bSucceeds = TRUE)
{
    seam::g_hooks.fnGetProcAddress = [](HMODULE hModule, LPCSTR pszName) {
        if (HIWORD(reinterpret_cast<ULONG_PTR>(pszName)) != 0 && std::string(pszName) == "GetDiskFreeSpaceExA")
            return static_cast<FARPROC>(NULL);
        return seam::RealGetProcAddress(hModule, pszName);
    };
    seam::g_hooks.fnGetDiskFreeSpaceA = [=](LPCSTR pszRoot, LPDWORD pSpc, LPDWORD pBps, LPDWORD pFree, LPDWORD pTotal) {
        EXPECT_STREQ("T:", pszRoot);
        EXPECT_EQ(NULL, pTotal);
        *pSpc = nSectorsPerCluster;
        *pBps = nBytesPerSector;
        *pFree = nFreeClusters;
        return bSucceeds;
    };
}

}  // namespace

TEST(SplitLevelsTest, LevelsBelowTheDriveRoot)
{
    EXPECT_THAT(SplitLevels("C:\\Program Files\\Lumivane"), ElementsAre("Program Files", "Lumivane"));
    EXPECT_THAT(SplitLevels("C:\\A"), ElementsAre("A"));
    EXPECT_THAT(SplitLevels("C:\\A\\"), ElementsAre("A", ""));
    EXPECT_THAT(SplitLevels("C:\\A\\\\B"), ElementsAre("A", ""));
    EXPECT_THAT(SplitLevels("C:\\"), ElementsAre(""));
    EXPECT_THAT(SplitLevels("C:\\.\\..\\x"), ElementsAre(".", "..", "x"));
}

TEST_F(TargetCheckTest, CreatesMissingLevelsAndEntersThePath)
{
    CTestFolder folder("check_levels");
    ::CreateDirectoryA((folder / "Program Files").c_str(), NULL);
    std::string strPath = folder / "Program Files\\Lumivane";
    EXPECT_EQ(1, Check(strPath));
    EXPECT_THAT(m_boxes, IsEmpty());
    EXPECT_EQ(strPath, m_strCurrent);
    EXPECT_EQ(1, Check(strPath)) << "an existing directory is fine";
}

TEST_F(TargetCheckTest, LowerCaseDriveLetterWorksAndMessagesKeepIt)
{
    CTestFolder folder("check_lower");
    EXPECT_EQ(1, Check("t:\\check_lower\\Sub"));
    EXPECT_TRUE(PathExists(folder / "Sub"));
    EXPECT_EQ(0, Check("t:\\check_lower\\Sub\\\\x"));
    EXPECT_THAT(m_boxes, ElementsAre("Error creating directory t:\\check_lower\\Sub\\\\x"));
    m_boxes.clear();
    EXPECT_EQ(0, Check("q:\\x"));
    EXPECT_THAT(m_boxes, ElementsAre("Can't access drive q:"));
}

TEST_F(TargetCheckTest, FormsWithoutDriveAreRefusedWhereTheProcessStands)
{
    CTestFolder folder("check_forms");
    for (const char* psz : { "\\\\server\\share\\Lumivane", "", "C" }) {
        m_boxes.clear();
        EXPECT_EQ(0, Check(psz, folder.Path())) << psz;
        EXPECT_THAT(m_boxes, ElementsAre(INVALID)) << psz;
        EXPECT_EQ(folder.Path(), m_strCurrent) << psz;
    }
}

TEST_F(TargetCheckTest, DriveRelativeAndForwardSlashAreRefusedOnTheirDrive)
{
    CTestFolder folder("check_relative");
    // T: keeps its own current directory while the process stands on Z:.
    ::SetCurrentDirectoryA(folder.Path().c_str());
    for (const char* psz : { "T:Lumivane", "T:/Lumivane" }) {
        m_boxes.clear();
        EXPECT_EQ(0, Check(psz, "Z:\\tmp")) << psz;
        EXPECT_THAT(m_boxes, ElementsAre(INVALID)) << psz;
        EXPECT_EQ('T', m_strCurrent[0]) << "the drive became current first: " << m_strCurrent;
    }
    EXPECT_FALSE(PathExists(folder / "Lumivane"));
}

TEST_F(TargetCheckTest, CharactersThatNameNoDriveCannotBeAccessed)
{
    CTestFolder folder("check_nodrive");
    for (const char* psz : { "1:\\Lumivane", "Q:\\Lumivane" }) {
        m_boxes.clear();
        EXPECT_EQ(0, Check(psz, folder.Path())) << psz;
        EXPECT_THAT(m_boxes, ElementsAre("Can't access drive " + std::string(psz, 2)));
        EXPECT_EQ(folder.Path(), m_strCurrent) << psz;
    }
}

TEST_F(TargetCheckTest, EmptyLevelsStopTheWalkWhereItGotTo)
{
    CTestFolder folder("check_empty");
    EXPECT_EQ(0, Check("T:\\"));
    EXPECT_THAT(m_boxes, ElementsAre("Error creating directory T:\\"));
    EXPECT_EQ("T:\\", m_strCurrent);

    m_boxes.clear();
    EXPECT_EQ(0, Check(folder / "One\\"));
    EXPECT_THAT(m_boxes, ElementsAre("Error creating directory " + (folder / "One\\")));
    EXPECT_EQ(folder / "One", m_strCurrent) << "the level before the trailing backslash was made and entered";

    m_boxes.clear();
    EXPECT_EQ(0, Check(folder / "Two\\\\Three"));
    EXPECT_EQ(folder / "Two", m_strCurrent);
    EXPECT_FALSE(PathExists(folder / "Three"));
}

TEST_F(TargetCheckTest, DotLevelsAreWalkedLikeAnyOther)
{
    CTestFolder folder("check_dots");
    EXPECT_EQ(1, Check(folder / "A\\..\\B\\.\\C"));
    EXPECT_EQ(folder / "B\\C", m_strCurrent);
    EXPECT_TRUE(PathExists(folder / "A"));
}

TEST_F(TargetCheckTest, PathTooLongIsRefusedBeforeAnythingChanges)
{
    CTestFolder folder("check_long");
    std::string strLongest = folder.Path() + "\\" + std::string(MAX_PATH_TEXT - folder.Path().size() - 1, 'L');
    ASSERT_EQ(259u, strLongest.size());
    std::string strTooLong = strLongest + "M";
    EXPECT_EQ(0, Check(strTooLong, "Z:\\tmp"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_THAT(m_boxes[0], ::testing::StartsWith(INVALID));
    EXPECT_EQ("Z:\\tmp", m_strCurrent);
    EXPECT_FALSE(PathExists(strLongest));
}

TEST_F(TargetCheckTest, FreeSpaceOfExactly400000BytesIsEnough)
{
    CTestFolder folder("check_space");
    HookFreeSpaceEx(400000);
    EXPECT_EQ(1, Check(folder / "Enough"));
    EXPECT_EQ(1, s_nExCalls);

    HookFreeSpaceEx(399999);
    EXPECT_EQ(0, Check(folder / "Short", folder.Path()));
    EXPECT_THAT(m_boxes, ElementsAre("Insufficient disk space on drive T:"));
    EXPECT_EQ("T:\\", m_strCurrent) << "left at the drive's root";
    EXPECT_FALSE(PathExists(folder / "Short"));
}

TEST_F(TargetCheckTest, OldQueryMultipliesWithoutOverflow)
{
    CTestFolder folder("check_old");
    HookOldFreeSpace(8, 512, 1u << 21);  // 8 GiB: the product does not fit 32 bits
    EXPECT_EQ(1, Check(folder / "Big"));
    EXPECT_THAT(m_boxes, IsEmpty());

    HookOldFreeSpace(1, 512, 781);  // 399,872 bytes
    EXPECT_EQ(0, Check(folder / "Small"));
    EXPECT_THAT(m_boxes, ElementsAre("Insufficient disk space on drive T:"));

    m_boxes.clear();
    HookOldFreeSpace(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF);  // past 64 bits
    EXPECT_EQ(1, Check(folder / "Huge"));
}

TEST_F(TargetCheckTest, UndeterminedFreeSpaceAsksWhetherToGoOn)
{
    CTestFolder folder("check_unknown");
    const std::string strQuestion =
        "Cannot determine the amount of free space on drive T:\r\nDo you want to procede with the installation anyway?";
    int nOldCalls = 0;
    HookFreeSpaceEx(0, FALSE);
    seam::g_hooks.fnGetDiskFreeSpaceA = [&](LPCSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD) {
        ++nOldCalls;
        return FALSE;
    };
    seam::g_boxes.Answer(IDYES);
    EXPECT_EQ(1, Check(folder / "Yes"));
    EXPECT_THAT(m_boxes, ElementsAre(strQuestion));
    EXPECT_EQ(0, nOldCalls) << "a failing 64-bit query has no fallback";

    m_boxes.clear();
    seam::g_boxes.Answer(IDNO);
    EXPECT_EQ(0, Check(folder / "No"));
    EXPECT_THAT(m_boxes, ElementsAre(strQuestion)) << "nothing more after the user's No";
    EXPECT_EQ("T:\\", m_strCurrent);
    EXPECT_FALSE(PathExists(folder / "No"));

    m_boxes.clear();
    seam::g_hooks.fnLoadLibraryA = [](LPCSTR) { return static_cast<HMODULE>(NULL); };
    seam::g_boxes.Answer(IDNO);
    EXPECT_EQ(0, Check(folder / "NoKernel"));
    EXPECT_THAT(m_boxes, ElementsAre(strQuestion));
}

TEST_F(TargetCheckTest, SmallDriveHasTooLittleRoom)
{
    EXPECT_EQ(0, Check("S:\\Lumivane"));
    EXPECT_THAT(m_boxes, ElementsAre("Insufficient disk space on drive S:"));
    EXPECT_EQ("S:\\", m_strCurrent);
}
