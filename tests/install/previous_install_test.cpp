// Finding and removing a previous installation at the install dialog's
// set-up, with every place it looks pointed into the test's own folder.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>

#include "res/resource.h"
#include "tests/support/install_session.h"
#include "tests/support/registry_support.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string PRODUCT = "SOFTWARE\\Orvel Software\\Lumivane";
const std::string APP_PATH = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe";
const std::string UNINSTALL = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane";
const char NOTE_TEXT[] =
    "This will overwrite any previous installation:\r\n\r\nAre you sure you want to continue installing Lumivane?";

void MakeFile(const std::string& strPath, DWORD dwAttributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, dwAttributes, NULL);
    ::CloseHandle(hFile);
}

class PreviousInstallTest : public ::testing::Test
{
protected:
    PreviousInstallTest() : m_folder("previous") {}

    void SetUp() override
    {
        seam::Reset();
        RemoveProductEntries();
        // Program files and the Programs folder, as the set-up finds them.
        ProposeProgramFilesDir(m_folder / "Program Files");
        std::string strPrograms = m_folder / "Programs";
        seam::g_hooks.fnSHGetPathFromIDListA = [strPrograms](LPCITEMIDLIST, LPSTR pszPath) {
            lstrcpyA(pszPath, strPrograms.c_str());
            return TRUE;
        };
    }
    void TearDown() override
    {
        seam::Reset();
        RemoveProductEntries();
    }

    std::string Default() const { return m_folder / "Program Files\\Lumivane"; }
    std::string Group() const { return m_folder / "Programs\\Lumivane"; }

    void MakeFolders()
    {
        ::CreateDirectoryA((m_folder / "Program Files").c_str(), NULL);
        ::CreateDirectoryA(Default().c_str(), NULL);
        ::CreateDirectoryA((m_folder / "Programs").c_str(), NULL);
        ::CreateDirectoryA(Group().c_str(), NULL);
    }

    // Runs the set-up; what it asked and where it ended are kept.
    void RunSetUp()
    {
        RunInstallDialog([&](CDrivenInstall& d) {
            m_strTarget = d.m_strTargetDir;
            m_strShown = ControlText(d, IDC_TARGET_DIR);
            m_strStatus = d.m_strStatus;
            m_hDialog = d.m_hWnd;
        });
    }

    CTestFolder m_folder;
    std::string m_strTarget, m_strShown, m_strStatus;
    HWND m_hDialog = NULL;
};

}  // namespace

TEST_F(PreviousInstallTest, CleanMachineAsksNothing)
{
    RunSetUp();
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());
    EXPECT_EQ(Default(), m_strTarget);
}

TEST_F(PreviousInstallTest, AnEmptyFolderAtTheDefaultDirectoryCounts)
{
    ::CreateDirectoryA((m_folder / "Program Files").c_str(), NULL);
    ::CreateDirectoryA(Default().c_str(), NULL);
    RunSetUp();
    ASSERT_EQ(1u, seam::g_boxes.m_records.size());
    EXPECT_EQ(NOTE_TEXT, seam::g_boxes.m_records[0].strText);
    EXPECT_EQ("Note", seam::g_boxes.m_records[0].strCaption);
    EXPECT_EQ(0x34u, seam::g_boxes.m_records[0].uType);
    EXPECT_EQ(m_hDialog, seam::g_boxes.m_records[0].hOwner);
    EXPECT_TRUE(PathExists(Default())) << "the folder itself stays";
    EXPECT_THAT(m_strStatus, ::testing::StartsWith("To install Lumivane, at least"));
}

TEST_F(PreviousInstallTest, EachRegistryEntryAloneCounts)
{
    for (const std::string& strKey : { APP_PATH, UNINSTALL, PRODUCT + "\\1.10" }) {
        seam::g_boxes.Clear();
        PutValue(strKey, "", "x");
        RunSetUp();
        EXPECT_EQ(1u, seam::g_boxes.m_records.size()) << strKey;
        EXPECT_FALSE(KeyExists(strKey)) << "removed on Yes: " << strKey;
    }
}

TEST_F(PreviousInstallTest, AppPathWithoutPathKeepsTheDefaultDirectory)
{
    PutValue(APP_PATH, "", "x");
    RunSetUp();
    EXPECT_EQ(Default(), m_strTarget);
    EXPECT_EQ(Default(), g_strDefaultDir);
}

TEST_F(PreviousInstallTest, PreviousDirectoryIsTakenOverAndShown)
{
    PutValue(APP_PATH, "Path", "D:\\Old");
    RunSetUp();
    EXPECT_EQ("D:\\Old", m_strTarget);
    EXPECT_EQ("D:\\Old", m_strShown);
    EXPECT_EQ("D:\\Old", g_strDefaultDir);
}

TEST_F(PreviousInstallTest, PathValueThatCannotServeIsIgnored)
{
    PutValue(APP_PATH, "Path", std::string(300, 'p'));
    RunSetUp();
    EXPECT_EQ(Default(), m_strTarget) << "too long to be a directory";
    EXPECT_EQ(1u, seam::g_boxes.m_records.size()) << "but the entry still counts";
}

TEST_F(PreviousInstallTest, FixedStartMenuFallbackIsLookedAtToo)
{
    seam::g_hooks.fnSHGetSpecialFolderLocation = [](HWND, int, LPITEMIDLIST* ppidl) {
        *ppidl = NULL;
        return E_FAIL;
    };
    const std::string strFallback = "C:\\Windows\\Start Menu\\Programs\\Lumivane";
    RunSetUp();
    EXPECT_THAT(seam::g_boxes.m_records, IsEmpty());

    ::CreateDirectoryA("C:\\Windows\\Start Menu", NULL);
    ::CreateDirectoryA("C:\\Windows\\Start Menu\\Programs", NULL);
    ::CreateDirectoryA(strFallback.c_str(), NULL);
    RunSetUp();
    EXPECT_EQ(1u, seam::g_boxes.m_records.size());
    RemoveTree("C:\\Windows\\Start Menu");
}

TEST_F(PreviousInstallTest, YesRemovesWhatAnInstallationLeftAndNothingElse)
{
    MakeFolders();
    for (const char* pszName : { "Lumivane.txt", "Lumivane.hlp", "Lumivane.exe", "Lumivane.old.dat",
                                 "Uninstall.exe", "LV.MSZ", "Readme.txt" })
        MakeFile(Default() + "\\" + pszName);
    MakeFile(Default() + "\\Lumivane.ro", FILE_ATTRIBUTE_READONLY);
    ::CreateDirectoryA((Default() + "\\Lumivane.sub").c_str(), NULL);
    for (const char* pszName : { "Lumivane.lnk", "Lumivane Help.lnk", "Uninstall Lumivane.lnk", "Other.lnk" })
        MakeFile(Group() + "\\" + pszName);
    PutValue(PRODUCT + "\\1.10", "", "1");
    PutValue(PRODUCT + "\\0.90", "", "2");
    PutValue(APP_PATH, "", "x");
    PutValue(UNINSTALL, "DisplayName", "Lumivane 1.10");
    PutValue("SOFTWARE\\Orvel Software\\Other Product", "", "kept");

    RunSetUp();

    EXPECT_THAT(NamesIn(Default()), ElementsAre("LV.MSZ", "Lumivane.ro", "Lumivane.sub", "Readme.txt"));
    EXPECT_THAT(NamesIn(Group()), ElementsAre("Other.lnk"));
    EXPECT_FALSE(KeyExists(PRODUCT));
    EXPECT_FALSE(KeyExists(APP_PATH));
    EXPECT_FALSE(KeyExists(UNINSTALL));
    EXPECT_EQ("kept", ReadValue("SOFTWARE\\Orvel Software\\Other Product", ""));
    ::SetFileAttributesA((Default() + "\\Lumivane.ro").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(PreviousInstallTest, NoEndsTheInstallerWithNothingRemoved)
{
    MakeFolders();
    MakeFile(Default() + "\\Lumivane.exe");
    MakeFile(Group() + "\\Lumivane.lnk");
    PutValue(APP_PATH, "Path", Default());
    seam::g_boxes.Answer(IDNO);
    EXPECT_EXIT(RunSetUp(), ::testing::ExitedWithCode(0), ShowsBoxes({ Box(NOTE_TEXT, "Note", 0x34) }));
    EXPECT_TRUE(PathExists(Default() + "\\Lumivane.exe"));
    EXPECT_TRUE(PathExists(Group() + "\\Lumivane.lnk"));
    EXPECT_EQ(Default(), ReadValue(APP_PATH, "Path"));
}

TEST_F(PreviousInstallTest, DirectoryRemovalReportsWhatStays)
{
    MakeFolders();
    MakeFile(Default() + "\\Readme.txt");
    RunInstallDialog([&](CDrivenInstall& d) {
        seam::g_boxes.Clear();
        d.m_strTargetDir = Default();
        d.DeleteTargetFile("Lumivane.exe");  // not there: silent
        d.RemoveTargetDirectory(Default());
        d.RemoveTargetDirectory(Group());
        m_hDialog = d.m_hWnd;
    });
    ASSERT_EQ(1u, seam::g_boxes.m_records.size());
    EXPECT_EQ("Unable to remove directory " + Default(), seam::g_boxes.m_records[0].strText);
    EXPECT_EQ("NOTE", seam::g_boxes.m_records[0].strCaption);
    EXPECT_EQ(0x40u, seam::g_boxes.m_records[0].uType);
    EXPECT_EQ(m_hDialog, seam::g_boxes.m_records[0].hOwner);
    EXPECT_TRUE(PathExists(Default() + "\\Readme.txt"));
    EXPECT_FALSE(PathExists(Group())) << "an empty folder goes";
}
