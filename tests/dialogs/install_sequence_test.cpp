// OnInstall: a whole installation, each phase that fails, and a second try.
#include <gmock/gmock.h>

#include "dialogs/install_dialog.h"
#include "res/resource.h"
#include "tests/dialogs/install_run.h"
#include "tests/seam/seam.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char FILES_STATUS[] = "Installing:\r\nInstalling application files...";
const char COMPLETION_TEXT[] = "Lumivane 1.10 has been successfully installed!\r\n\r\n"
                               "To run this application, select Lumivane \r\n"
                               "from the Start Menu, Programs, Lumivane group.";

bool HasFixedTimeStamp(const std::string& strFile)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(strFile.c_str(), GetFileExInfoStandard, &data))
        return false;
    FILETIME local;
    SYSTEMTIME time;
    ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    ::FileTimeToSystemTime(&local, &time);
    return time.wYear == 2001 && time.wMonth == 12 && time.wDay == 10 && time.wHour == 1 && time.wMinute == 10 &&
           time.wSecond == 0;
}

HWND WaitForWindow(const char* pszTitle, bool bPresent)
{
    for (int i = 0; i < 100; ++i) {
        HWND hWnd = ::FindWindowA(NULL, pszTitle);
        if ((hWnd != NULL) == bPresent)
            return hWnd;
        ::Sleep(100);
    }
    return ::FindWindowA(NULL, pszTitle);
}

class InstallSequenceTest : public InstallRunTest
{
};

// Presses Install once; what the dialog's steps saw is kept.
INT_PTR PressInstall(bool* pbStillOpen = NULL)
{
    return RunInstallDialogToEnd([&](CDrivenInstall& d) {
        Click(d, IDOK);
        if (::IsWindow(d.m_hWnd) && ::IsWindowVisible(d.m_hWnd)) {
            if (pbStillOpen != NULL)
                *pbStillOpen = true;
            d.EndDialog(-1);
        }
    });
}

}  // namespace

TEST_F(InstallSequenceTest, CompleteRunInstallsEverythingAndStartsTheProgram)
{
    m_bStartForReal = true;
    bool bHiddenAtCompletion = false;
    seam::g_boxes.m_fnOnShow = [&](const seam::BoxRecord& box) {
        bHiddenAtCompletion = box.hOwner != NULL && ::IsWindow(box.hOwner) && !::IsWindowVisible(box.hOwner);
    };
    EXPECT_EQ(0, PressInstall());

    EXPECT_THAT(m_statuses, ElementsAre("Stand by:\r\nChecking system parameters...",
                                        "Stand by:\r\nChecking for previous installations...",
                                        "To install Lumivane, at least\r\n400 Kb of free disk space is required.",
                                        "Installing:\r\nCreating installation directory...", FILES_STATUS,
                                        "Installing:\r\nInstalling DeskTop shortcut...",
                                        "Installing:\r\nInstalling Start Menu shortcuts...",
                                        "Installing:\r\nUpdating system registry...",
                                        "Installation complete:\r\nLumivane installed successfuly"));
    ASSERT_EQ(1u, seam::g_boxes.m_records.size());
    EXPECT_EQ(COMPLETION_TEXT, seam::g_boxes.m_records[0].strText);
    EXPECT_EQ("INSTALLATION COMLETE", seam::g_boxes.m_records[0].strCaption);
    EXPECT_EQ(0x40u, seam::g_boxes.m_records[0].uType);
    EXPECT_TRUE(bHiddenAtCompletion) << "the dialog hides before the completion box";
    EXPECT_THAT(Flags(), ElementsAre(true, true, true, true, true, true, true));

    EXPECT_THAT(NamesIn(Target()), ElementsAre("Lumivane.exe", "Lumivane.hlp", "Lumivane.txt", "Uninstall.exe"));
    for (const std::string& strName : NamesIn(Target()))
        EXPECT_TRUE(HasFixedTimeStamp(Target() + "\\" + strName)) << strName;
    EXPECT_THAT(NamesIn(Desktop()), ElementsAre("Lumivane.lnk"));
    EXPECT_THAT(NamesIn(Group()), ElementsAre("Lumivane Help.lnk", "Lumivane.lnk", "Uninstall Lumivane.lnk"));
    EXPECT_EQ(Target(), ReadValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe", "Path"));
    EXPECT_EQ(Target() + "\\Uninstall.exe",
              ReadValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane", "UninstallString"));
    EXPECT_TRUE(KeyExists("SOFTWARE\\Orvel Software\\Lumivane\\1.10"));

    ASSERT_EQ(1u, m_starts.size());
    EXPECT_EQ("open", m_starts[0].strVerb);
    EXPECT_EQ(Target() + "\\Lumivane.exe", m_starts[0].strFile);
    EXPECT_EQ(Target(), m_starts[0].strDirectory);
    EXPECT_FALSE(m_starts[0].bHasParameters);
    EXPECT_EQ(SW_SHOWNORMAL, m_starts[0].nShowCmd);
    EXPECT_EQ(1u, m_starts[0].nBoxesBefore) << "started after the completion box was closed";

    HWND hProduct = WaitForWindow("Lumivane", true);
    ASSERT_TRUE(hProduct != NULL) << "the installed program did not show its window";
    ::PostMessageA(hProduct, 0x0501, 0, 0);
    EXPECT_EQ(NULL, WaitForWindow("Lumivane", false)) << "the program did not close on request";
}

TEST_F(InstallSequenceTest, EachFailingPhaseStopsWithItsBoxesAndFlags)
{
    struct Case
    {
        const char* pszName;
        std::function<void()> fnBreak;
        std::vector<std::string> boxes;
        std::vector<bool> flags;
        const char* pszStatus;
    };
    int nLinks = 0;
    const Case rgCases[] = {
        { "target check",
          [] { seam::g_hooks.fnGetProcAddress = [](HMODULE, LPCSTR) { return static_cast<FARPROC>(NULL); };
               seam::g_hooks.fnGetDiskFreeSpaceA = [](LPCSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD) { return FALSE; };
               seam::g_boxes.Answer(IDNO); },
          { "Cannot determine the amount of free space on drive T:\r\nDo you want to procede with the installation anyway?",
            "Couldn't create installation directory!" },
          { false, false, false, false, false, false, false }, "Installing:\r\nCreating installation directory..." },
        { "third payload file",
          [] { seam::g_hooks.fnFindResourceA = [](HMODULE hModule, LPCSTR pszName, LPCSTR pszType) {
                   return pszName == MAKEINTRESOURCEA(137) ? static_cast<HRSRC>(NULL)
                                                           : seam::RealFindResourceA(hModule, pszName, pszType);
               }; },
          { "Setup file appears to be corrupted!", "Couldn't install Uninstall.exe!" },
          { true, true, true, false, false, false, false }, FILES_STATUS },
        { "Windows directory",
          [] { seam::g_hooks.fnGetWindowsDirectoryA = [](LPSTR, UINT) { return 0u; }; },
          { "Can't access Windows directory!" }, { true, true, true, true, true, false, false }, FILES_STATUS },
        { "help link",
          [&] { nLinks = 0;
                seam::g_hooks.fnCoCreateInstance = [&](REFCLSID c, LPUNKNOWN u, DWORD x, REFIID i, LPVOID* ppv) {
                    if (++nLinks == 3) {
                        *ppv = NULL;
                        return REGDB_E_CLASSNOTREG;
                    }
                    return seam::RealCoCreateInstance(c, u, x, i, ppv);
                }; },
          { "Can't create Program Files link", "Couldn't create start menu help shortcut!" },
          { true, true, true, true, true, false, false }, "Installing:\r\nInstalling Start Menu shortcuts..." },
        { "registry",
          [] { seam::g_hooks.fnRegCreateKeyExA = [](HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                                                    PHKEY, LPDWORD) { return static_cast<LONG>(ERROR_ACCESS_DENIED); }; },
          { "Couldn't update system registry!" }, { true, true, true, true, true, true, false },
          "Installing:\r\nUpdating system registry..." },
    };
    for (const Case& c : rgCases) {
        CleanMachine();
        bool bStillOpen = false;
        std::string strStatus;
        RunInstallDialogToEnd([&](CDrivenInstall& d) {
            seam::g_boxes.m_records.clear();
            seam::g_hooks.fnGetProcAddress = nullptr;
            seam::g_hooks.fnFindResourceA = nullptr;
            seam::g_hooks.fnGetWindowsDirectoryA = nullptr;
            seam::g_hooks.fnCoCreateInstance = nullptr;
            seam::g_hooks.fnRegCreateKeyExA = nullptr;
            c.fnBreak();
            Click(d, IDOK);
            bStillOpen = ::IsWindowVisible(d.m_hWnd) != FALSE;
            strStatus = d.m_strStatus;
            d.EndDialog(-1);
        });
        EXPECT_TRUE(bStillOpen) << c.pszName;
        EXPECT_EQ(c.boxes, BoxTexts()) << c.pszName;
        EXPECT_EQ(0x10u, seam::g_boxes.m_records.back().uType) << c.pszName;
        EXPECT_EQ(c.flags, Flags()) << c.pszName;
        EXPECT_EQ(c.pszStatus, strStatus) << c.pszName;
        EXPECT_EQ(c.pszStatus, m_statuses.back()) << c.pszName;
        EXPECT_THAT(m_starts, IsEmpty()) << c.pszName;
    }
}

TEST_F(InstallSequenceTest, FailedDesktopLinkIsPassedOver)
{
    int nLinks = 0;
    EXPECT_EQ(0, RunInstallDialogToEnd([&](CDrivenInstall& d) {
        seam::g_hooks.fnCoCreateInstance = [&](REFCLSID c, LPUNKNOWN u, DWORD x, REFIID i, LPVOID* ppv) {
            if (++nLinks == 1) {
                *ppv = NULL;
                return REGDB_E_CLASSNOTREG;
            }
            return seam::RealCoCreateInstance(c, u, x, i, ppv);
        };
        Click(d, IDOK);
        if (::IsWindowVisible(d.m_hWnd))
            d.EndDialog(-1);
    }));
    EXPECT_THAT(BoxTexts(), ElementsAre("Can't create Program Files link", COMPLETION_TEXT));
    EXPECT_THAT(NamesIn(Desktop()), IsEmpty());
    EXPECT_THAT(NamesIn(Group()), ElementsAre("Lumivane Help.lnk", "Lumivane.lnk", "Uninstall Lumivane.lnk"));
}

TEST_F(InstallSequenceTest, SecondPressStartsAgainFromTheTop)
{
    std::vector<std::string> statusesOfSecond;
    EXPECT_EQ(0, RunInstallDialogToEnd([&](CDrivenInstall& d) {
        seam::g_hooks.fnFindResourceA = [](HMODULE hModule, LPCSTR pszName, LPCSTR pszType) {
            return pszName == MAKEINTRESOURCEA(138) ? static_cast<HRSRC>(NULL)
                                                    : seam::RealFindResourceA(hModule, pszName, pszType);
        };
        Click(d, IDOK);
        seam::g_hooks.fnFindResourceA = nullptr;
        size_t nBefore = m_statuses.size();
        Click(d, IDOK);
        statusesOfSecond.assign(m_statuses.begin() + nBefore, m_statuses.end());
        if (::IsWindowVisible(d.m_hWnd))
            d.EndDialog(-1);
    }));
    ASSERT_FALSE(statusesOfSecond.empty());
    EXPECT_EQ("Installing:\r\nCreating installation directory...", statusesOfSecond[0]);
    EXPECT_THAT(BoxTexts(), ElementsAre("Setup file appears to be corrupted!", "Couldn't install Lumivane.txt!",
                                        COMPLETION_TEXT));
    EXPECT_THAT(NamesIn(Target()), ElementsAre("Lumivane.exe", "Lumivane.hlp", "Lumivane.txt", "Uninstall.exe"));
}

TEST_F(InstallSequenceTest, TargetTooLongForItsPathsIsRefusedBeforeAnything)
{
    std::string strLongest = m_folder.Path() + "\\" + std::string(245 - m_folder.Path().size() - 1, 'd');
    ASSERT_EQ(245u, strLongest.size());
    bool bStillOpen = false;
    RunInstallDialogToEnd([&](CDrivenInstall& d) {
        seam::g_boxes.m_records.clear();
        ::SetWindowTextA(d.GetDlgItem(IDC_TARGET_DIR), (strLongest + "d").c_str());
        m_statuses.clear();
        Click(d, IDOK);
        bStillOpen = ::IsWindowVisible(d.m_hWnd) != FALSE;
        d.EndDialog(-1);
    });
    EXPECT_TRUE(bStillOpen);
    ASSERT_EQ(1u, seam::g_boxes.m_records.size());
    EXPECT_THAT(seam::g_boxes.m_records[0].strText, ::testing::HasSubstr("245"));
    EXPECT_THAT(m_statuses, IsEmpty()) << "no phase began";
    EXPECT_THAT(Flags(), ElementsAre(false, false, false, false, false, false, false));
    EXPECT_THAT(NamesIn(m_folder.Path()), ElementsAre("Desktop", "Program Files", "Programs"));

    // The longest that passes starts the installation (how far it gets is the
    // platform's affair: the expansion library holds much shorter paths).
    m_statuses.clear();
    seam::g_boxes.m_records.clear();
    RunInstallDialogToEnd([&](CDrivenInstall& d) {
        ::SetWindowTextA(d.GetDlgItem(IDC_TARGET_DIR), strLongest.c_str());
        m_statuses.clear();
        Click(d, IDOK);
        if (::IsWindowVisible(d.m_hWnd))
            d.EndDialog(-1);
    });
    ASSERT_GE(m_statuses.size(), 2u);
    EXPECT_EQ("Installing:\r\nCreating installation directory...", m_statuses[0]);
    EXPECT_TRUE(g_bDirCreated);
    EXPECT_TRUE(PathExists(strLongest));
}
