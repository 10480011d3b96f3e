// Uninstall.exe in processes of its own: an installation laid out as the
// installer leaves it, with the real links in the prefix's Desktop and
// Programs folders, the uninstaller started from the installation directory
// and its boxes answered from here.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <cctype>

#include "tests/support/process_support.h"
#include "tests/support/registry_support.h"
#include "tests/support/test_support.h"
#include "tests/uninstall/uninstaller_session.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const std::string OTHER_PRODUCT = "SOFTWARE\\Orvel Software\\Other Product";
const char RUNNING_TEXT[] =
    "Lumivane is running.\r\n\r\nClose Lumivane, then start the uninstaller again. Nothing has been removed.";

std::string ToUpper(std::string str)
{
    std::transform(str.begin(), str.end(), str.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return str;
}

// A window of the class the shell shows a folder in, with a title of its own.
class CFolderWindow
{
public:
    explicit CFolderWindow(const char* pszTitle)
    {
        WNDCLASSA wc;
        ::ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "CabinetWClass";
        ::RegisterClassA(&wc);  // fails harmlessly once registered
        m_hWnd = ::CreateWindowA("CabinetWClass", pszTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                                 ::GetModuleHandleA(NULL), NULL);
    }
    ~CFolderWindow() { ::DestroyWindow(m_hWnd); }

    HWND m_hWnd;
};

}  // namespace

TEST_F(UninstallerTest, YesRemovesTheWholeInstallationAndTheUninstallerItself)
{
    ASSERT_NO_FATAL_FAILURE(LayOutInstallation());
    PutValue(PRODUCT + "\\0.90", "", "an older version");
    PutValue(OTHER_PRODUCT, "", "kept");

    ASSERT_NO_FATAL_FAILURE(RunUninstaller());

    EXPECT_THAT(m_strQuestion, HasSubstr("Lumivane 1.10"));
    EXPECT_TRUE(m_bAskedYesNo);
    EXPECT_EQ("Lumivane 1.10 has been removed from this computer.", m_strResult);
    EXPECT_EQ(1u, m_tempWhileRunning.size()) << "the work is done by one copy in the temporary folder";
    EXPECT_TRUE(WaitForTempFolderAsBefore()) << "the copy outlived its process";
    EXPECT_FALSE(PathExists(Directory())) << "emptied, so removed";
    EXPECT_TRUE(PathExists(m_folder / "Program Files")) << "only the installation directory goes";
    EXPECT_FALSE(PathExists(m_strGroup));
    EXPECT_FALSE(PathExists(m_strDesktopLink));
    ExpectRegistryEntriesGone();
    EXPECT_FALSE(KeyExists(PRODUCT + "\\0.90")) << "every version goes";
    EXPECT_EQ("kept", ReadValue(OTHER_PRODUCT, ""));
}

TEST_F(UninstallerTest, ForeignItemsStayAndKeepTheirFolders)
{
    ASSERT_NO_FATAL_FAILURE(LayOutInstallation());
    MakeFile(Installed("Notes.txt"));
    MakeFile(Installed("Lumivane.ini"));  // the product's name is not enough
    ::CreateDirectoryA(Installed("Data").c_str(), NULL);
    MakeFile(Installed("Data\\Saved.dat"));
    MakeLink(GroupLink("Other.lnk"), Installed("Notes.txt"));

    ASSERT_NO_FATAL_FAILURE(RunUninstaller());

    EXPECT_THAT(NamesInFolder(Directory()), ElementsAre("Data", "Lumivane.ini", "Notes.txt"));
    EXPECT_TRUE(PathExists(Installed("Data\\Saved.dat")));
    EXPECT_THAT(NamesInFolder(m_strGroup), ElementsAre("Other.lnk"));
    EXPECT_FALSE(PathExists(m_strDesktopLink));
    ExpectRegistryEntriesGone();
    EXPECT_EQ("Lumivane 1.10 has been removed, except for these items:\r\n\r\n" + m_strGroup +
                  " (kept: it holds other files)\r\n" + Directory() + " (kept: it holds other files)",
              m_strResult);
    EXPECT_TRUE(WaitForTempFolderAsBefore());
}

TEST_F(UninstallerTest, ReadOnlyFileIsReportedAndTheRestGoes)
{
    // The registry may spell the directory in another case.
    ASSERT_NO_FATAL_FAILURE(LayOutInstallation(ToUpper(Directory())));
    ::SetFileAttributesA(Installed("Lumivane.hlp").c_str(), FILE_ATTRIBUTE_READONLY);

    ASSERT_NO_FATAL_FAILURE(RunUninstaller());

    EXPECT_EQ("Lumivane 1.10 has been removed, except for these items:\r\n\r\n" + Installed("Lumivane.hlp") +
                  " (could not be deleted)\r\n" + Directory() + " (kept: it holds other files)",
              m_strResult);
    EXPECT_THAT(NamesInFolder(Directory()), ElementsAre("Lumivane.hlp"));
    EXPECT_FALSE(PathExists(m_strGroup));
    EXPECT_FALSE(PathExists(m_strDesktopLink));
    ExpectRegistryEntriesGone();
}

// Whoever started the uninstaller may hold on to its file a moment after it
// has ended.
TEST_F(UninstallerTest, ItsOwnFileHeldForAMomentStillGoes)
{
    ASSERT_NO_FATAL_FAILURE(LayOutInstallation());
    HANDLE hHeld = ::CreateFileA(Installed("Uninstall.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                                 OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    ASSERT_NO_FATAL_FAILURE(RunUninstaller([hHeld] {
        ::Sleep(1000);
        ::CloseHandle(hHeld);
    }));
    EXPECT_EQ("Lumivane 1.10 has been removed from this computer.", m_strResult);
    EXPECT_FALSE(PathExists(Directory()));
}

TEST_F(UninstallerTest, NoRemovesNothing)
{
    ASSERT_NO_FATAL_FAILURE(LayOutInstallation());
    AnswerOriginal(IDNO);
    ExpectNothingRemoved();
    ExpectRecordedAt(Directory());
}

TEST_F(UninstallerTest, RefusesWhileLumivaneRuns)
{
    ASSERT_NO_FATAL_FAILURE(LayOutInstallation());

    m_hMutex = ::CreateMutexA(NULL, FALSE, "Orvel_LV_Mutex");
    EXPECT_EQ(RUNNING_TEXT, AnswerOriginal(IDOK)) << "the product's mutex";
    ExpectNothingRemoved();
    ::CloseHandle(m_hMutex);
    m_hMutex = NULL;

    // The first and the last of the product's titles.
    for (const char* pszTitle : { "Lumivane", "Lumivane BETA 16" }) {
        CTopLevelWindow window(pszTitle);
        EXPECT_EQ(RUNNING_TEXT, AnswerOriginal(IDOK)) << pszTitle;
        ExpectNothingRemoved();
    }
    ExpectRecordedAt(Directory());
}

// Started from the installation directory's folder window, whose title is
// the product's name.
TEST_F(UninstallerTest, AFolderWindowNamedLikeTheProductIsNoRunningProduct)
{
    ASSERT_NO_FATAL_FAILURE(LayOutInstallation());
    CFolderWindow folder("Lumivane");
    ASSERT_TRUE(folder.m_hWnd != NULL);
    ASSERT_NO_FATAL_FAILURE(RunUninstaller());
    EXPECT_EQ("Lumivane 1.10 has been removed from this computer.", m_strResult);
}

TEST_F(UninstallerTest, RefusesWhereItIsNotInstalled)
{
    const std::string strElsewhere = m_folder / "Elsewhere";
    const std::string strRefusal = "Lumivane 1.10 is not installed in\r\n" + Directory() +
                                   "\r\n\r\nThis uninstaller removes only the installation it belongs to. "
                                   "Nothing has been removed.";
    ASSERT_NO_FATAL_FAILURE(LayOutInstallation(strElsewhere));
    EXPECT_EQ(strRefusal, AnswerOriginal(IDOK)) << "recorded elsewhere";
    ExpectNothingRemoved();
    ExpectRecordedAt(strElsewhere);

    ASSERT_NO_FATAL_FAILURE(RecordInstallation(Directory()));
    PutValue(UNINSTALL, "UninstallString", strElsewhere + "\\Uninstall.exe");
    EXPECT_EQ(strRefusal, AnswerOriginal(IDOK)) << "another uninstaller registered";
    ExpectNothingRemoved();
    ExpectRecordedAt(Directory());

    ASSERT_NO_FATAL_FAILURE(RecordInstallation(Directory()));
    PutValue(APP_PATH, "Path", strElsewhere);
    EXPECT_EQ(strRefusal, AnswerOriginal(IDOK)) << "the program recorded elsewhere";
    ExpectNothingRemoved();
    ExpectRecordedAt(strElsewhere);

    RemoveProductEntries();
    EXPECT_EQ(strRefusal, AnswerOriginal(IDOK)) << "nothing recorded";
    ExpectNothingRemoved();
}
