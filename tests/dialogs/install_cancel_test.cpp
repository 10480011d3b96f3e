// Install and Cancel: each phase that fails, what the rollback then leaves,
// and that it undoes this run's work where it was done and nothing else.
#include <gmock/gmock.h>

#include "res/resource.h"
#include "tests/dialogs/install_run.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char NOTHING_DONE_QUESTION[] =
    "Lumivane will not be installed on your system\r\nDo you wish to cancel the installation?";
const char ABORT_QUESTION[] =
    "This will abort the installation of Lumivane 1.10\r\nDo you wish to cancel the installation?";
const char NOT_INSTALLED[] = "Lumivane was not installed on your system";
const char TARGET[] = "T:\\run\\Lumivane";

struct PhaseFault
{
    const char* pszName;
    std::function<void()> fnPlant;
    std::vector<std::string> boxes;  // Install's, each in turn
    int nFlagsSet;                   // progress flags set, counted in their order
    std::vector<std::string> left;   // after Cancel and Yes
};

typedef InstallRunTest InstallCancelTest;

}  // namespace

TEST_F(InstallCancelTest, EachFailingPhaseStopsWithItsBoxesAndTheRollbackLeavesOnlyWhatItMayLeave)
{
    const std::vector<std::string> group = { "desktop link", "group" };
    const PhaseFault rgFaults[] = {
        { "free space undetermined, user says No",
          [] { seam::g_hooks.fnLoadLibraryA = [](LPCSTR) { return static_cast<HMODULE>(NULL); };
               seam::g_boxes.m_answers.push_back(IDNO); },
          { "Cannot determine the amount of free space on drive T:\r\n"
            "Do you want to procede with the installation anyway?",
            "Couldn't create installation directory!" },
          0, {} },
        { "program file", [] { FailResource(135); },
          { "Setup file appears to be corrupted!", "Couldn't install Lumivane.exe!" }, 1, {} },
        { "help file", [] { FailResource(136); },
          { "Setup file appears to be corrupted!", "Couldn't install Lumivane.hlp!" }, 2, {} },
        { "uninstaller", [] { FailResource(137); },
          { "Setup file appears to be corrupted!", "Couldn't install Uninstall.exe!" }, 3, {} },
        { "read-me", [] { FailResource(138); },
          { "Setup file appears to be corrupted!", "Couldn't install Lumivane.txt!" }, 4, {} },
        { "Windows directory", [] { seam::g_hooks.fnGetWindowsDirectoryA = [](LPSTR, UINT) { return 0u; }; },
          { "Can't access Windows directory!" }, 5, {} },
        { "program link", [] { FailLink(2); },
          { "Can't create Program Files link", "Couldn't create start menu program shortcut!" }, 5, group },
        { "help link", [] { FailLink(3); },
          { "Can't create Program Files link", "Couldn't create start menu help shortcut!" }, 5,
          { "desktop link", "group", "group\\Lumivane.lnk" } },
        { "uninstall link", [] { FailLink(4); },
          { "Can't create Program Files link", "Couldn't create start menu uninstall shortcut!" }, 5,
          { "desktop link", "group", "group\\Lumivane Help.lnk", "group\\Lumivane.lnk" } },
        // Half-way: the product key and half the App Paths entry are written.
        { "registry", [] {
              auto pnWritten = std::make_shared<int>(0);
              seam::g_hooks.fnRegSetValueExA = [pnWritten](HKEY hKey, LPCSTR pszName, DWORD dwReserved, DWORD dwType,
                                                           const BYTE* pData, DWORD cbData) {
                  if (++*pnWritten == 3)
                      return static_cast<LONG>(ERROR_ACCESS_DENIED);
                  return seam::RealRegSetValueExA(hKey, pszName, dwReserved, dwType, pData, cbData);
              }; },
          { "Couldn't update system registry!" }, 6, { "desktop link" } },
    };
    for (const PhaseFault& fault : rgFaults) {
        TearDown();
        SetUp();
        std::vector<std::string> installBoxes;
        bool bStillOpen = false;
        Run([&](CDrivenInstall& d) {
            TypeTarget(d, TARGET);
            seam::g_boxes.m_records.clear();
            fault.fnPlant();
            Click(d, IDOK);
            bStillOpen = ::IsWindowVisible(d.m_hWnd) != FALSE;
            installBoxes = seam::g_boxes.Texts();
            EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), seam::g_boxes.m_records.back().uType) << fault.pszName;
            seam::Reset();
            seam::g_boxes.m_answers.push_back(IDYES);
            Click(d, IDCANCEL);
        });
        EXPECT_TRUE(bStillOpen) << fault.pszName;
        EXPECT_EQ(fault.boxes, installBoxes) << fault.pszName;
        std::vector<bool> flags(7, false);
        std::fill(flags.begin(), flags.begin() + fault.nFlagsSet, true);
        EXPECT_EQ(flags, Flags()) << fault.pszName;
        EXPECT_THAT(seam::g_boxes.Texts(),
                    ElementsAre(fault.nFlagsSet > 0 ? ABORT_QUESTION : NOTHING_DONE_QUESTION, NOT_INSTALLED))
            << fault.pszName;
        EXPECT_EQ(fault.left, Leftovers()) << fault.pszName;
    }
}

TEST_F(InstallCancelTest, NoToTheCancelQuestionKeepsTheDialogAsItWas)
{
    std::string strStatus;
    EXPECT_EQ(IDCANCEL, Run([&](CDrivenInstall& d) {
        strStatus = d.m_strStatus;
        seam::g_boxes.m_answers = { IDNO, IDYES };
        Click(d, IDCANCEL);
        EXPECT_TRUE(::IsWindowVisible(d.m_hWnd));
        EXPECT_FALSE(d.m_bCancelling);
        EXPECT_EQ(strStatus, d.m_strStatus);
        Click(d, IDCANCEL);
    }));
    EXPECT_THAT(seam::g_boxes.Texts(), ElementsAre(NOTHING_DONE_QUESTION, NOTHING_DONE_QUESTION, NOT_INSTALLED));
}

TEST_F(InstallCancelTest, TargetTooLongForItsPathsIsRefusedBeforeAnything)
{
    std::string strTarget = std::string(RUN_ROOT) + "\\" + std::string(245 - sizeof(RUN_ROOT), 'd');
    Run([&](CDrivenInstall& d) {
        TypeTarget(d, strTarget + "d");
        seam::g_boxes.m_records.clear();
        Click(d, IDOK);
        EXPECT_THAT(seam::g_boxes.Texts(), ElementsAre("Please specify a shorter installation directory:\r\n"
                                                       "it may be at most 245 characters long"));
        EXPECT_THAT(Leftovers(), IsEmpty());
        // The longest allowed goes ahead.
        TypeTarget(d, strTarget);
        FailResource(135);
        Click(d, IDOK);
    });
    EXPECT_THAT(Leftovers(), ElementsAre(strTarget.substr(sizeof(RUN_ROOT))));
}

// The rollback undoes each file where this run put it, whatever the target
// field says at Cancel; a folder of the user's keeps what the user put there.
// A folder is one however it is spelled, and two however a language reads them.
TEST_F(InstallCancelTest, RollbackWorksWhereTheRunInstalledAndNowhereElse)
{
    struct Press
    {
        const char* pszFolder;
        UINT nFailingResource;
    };
    struct Case
    {
        const char* pszName;
        std::vector<Press> presses;
        const char* pszTargetAtCancel;
        std::vector<std::string> cancelBoxes;
        std::vector<std::string> left;
    };
    const Case rgCases[] = {
        { "the field names a folder with the user's own program", { { "First", 136 } }, "T:\\run\\Mine",
          { ABORT_QUESTION, NOT_INSTALLED }, { "Mine", "Mine\\Lumivane.exe", "Mine\\Notes.txt" } },
        { "two presses into two folders", { { "First", 136 }, { "Second", 138 } }, "T:\\run\\Second",
          { ABORT_QUESTION, NOT_INSTALLED }, { "Mine", "Mine\\Lumivane.exe", "Mine\\Notes.txt" } },
        { "a folder that held the user's files before", { { "Mine", 138 } }, "T:\\run\\Mine",
          { ABORT_QUESTION, "Unable to remove directory T:\\run\\Mine", NOT_INSTALLED },
          { "Mine", "Mine\\Notes.txt", "Mine\\VER1A2B.TMP" } },
        { "one folder in two spellings", { { "First", 136 }, { ".\\FIRST", 138 } }, "T:\\run\\Mine",
          { ABORT_QUESTION, NOT_INSTALLED }, { "Mine", "Mine\\Lumivane.exe", "Mine\\Notes.txt" } },
        { "two folders one by language", { { "Strasse", 136 }, { "Stra\xDF" "e", 138 } }, "T:\\run\\Mine",
          { ABORT_QUESTION, NOT_INSTALLED }, { "Mine", "Mine\\Lumivane.exe", "Mine\\Notes.txt" } },
    };
    for (const Case& c : rgCases) {
        TearDown();
        SetUp();
        ::CreateDirectoryA("T:\\run\\Mine", NULL);
        if (c.presses[0].pszFolder != std::string("Mine"))
            WriteText("T:\\run\\Mine\\Lumivane.exe", "the user's own");
        else
            WriteText("T:\\run\\Mine\\VER1A2B.TMP", "another program's expansion, left before");
        WriteText("T:\\run\\Mine\\Notes.txt", "the user's notes");
        Run([&](CDrivenInstall& d) {
            for (const Press& press : c.presses) {
                TypeTarget(d, std::string(RUN_ROOT) + "\\" + press.pszFolder);
                FailResource(press.nFailingResource);
                Click(d, IDOK);
            }
            TypeTarget(d, c.pszTargetAtCancel);
            seam::Reset();
            seam::g_boxes.m_answers.push_back(IDYES);
            Click(d, IDCANCEL);
        });
        EXPECT_EQ(c.cancelBoxes, seam::g_boxes.Texts()) << c.pszName;
        EXPECT_EQ(c.left, Leftovers()) << c.pszName;
        if (PathExists("T:\\run\\Mine\\Lumivane.exe")) {
            EXPECT_EQ("the user's own", ReadText("T:\\run\\Mine\\Lumivane.exe")) << c.pszName;
        }
    }
}
