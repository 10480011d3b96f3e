// OnCancel: the question, No, and the rollback of what the run installed.
#include <gmock/gmock.h>

#include "dialogs/install_dialog.h"
#include "res/resource.h"
#include "tests/dialogs/install_run.h"
#include "tests/seam/seam.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char NOTHING_DONE_QUESTION[] =
    "Lumivane will not be installed on your system\r\nDo you wish to cancel the installation?";
const char ABORT_QUESTION[] =
    "This will abort the installation of Lumivane 1.10\r\nDo you wish to cancel the installation?";
const char FINAL_TEXT[] = "Lumivane was not installed on your system";

class CancelSequenceTest : public InstallRunTest
{
protected:
    // Installs with the given fault, then cancels and answers Yes.
    INT_PTR FailThenCancel(std::function<void()> fnBreak)
    {
        return RunInstallDialogToEnd([&](CDrivenInstall& d) {
            seam::g_boxes.m_records.clear();
            fnBreak();
            Click(d, IDOK);
            seam::g_boxes.m_records.clear();
            seam::g_boxes.Answer(IDYES);
            Click(d, IDCANCEL);
        });
    }
};

void FailResource(UINT nId)
{
    seam::g_hooks.fnFindResourceA = [nId](HMODULE hModule, LPCSTR pszName, LPCSTR pszType) {
        return pszName == MAKEINTRESOURCEA(nId) ? static_cast<HRSRC>(NULL)
                                                : seam::RealFindResourceA(hModule, pszName, pszType);
    };
}

}  // namespace

TEST_F(CancelSequenceTest, CancelBeforeInstallRemovesNothingAndEnds)
{
    std::string strStatus;
    seam::g_boxes.Answer(IDYES);
    INT_PTR nResult = RunInstallDialogToEnd([&](CDrivenInstall& d) {
        seam::g_boxes.m_records.clear();
        seam::g_boxes.Answer(IDYES);
        Click(d, IDCANCEL);
        strStatus = d.m_strStatus;
    });
    EXPECT_EQ(IDCANCEL, nResult) << "the base class's end comes last";
    ASSERT_EQ(2u, seam::g_boxes.m_records.size());
    EXPECT_EQ(NOTHING_DONE_QUESTION, seam::g_boxes.m_records[0].strText);
    EXPECT_EQ("Cancel Install?", seam::g_boxes.m_records[0].strCaption);
    EXPECT_EQ(0x24u, seam::g_boxes.m_records[0].uType);
    EXPECT_EQ(FINAL_TEXT, seam::g_boxes.m_records[1].strText);
    EXPECT_EQ("Installation Incomplete", seam::g_boxes.m_records[1].strCaption);
    EXPECT_EQ(0x40u, seam::g_boxes.m_records[1].uType);
    EXPECT_EQ("Stand by:\r\nAborting installation...", strStatus);
}

TEST_F(CancelSequenceTest, NoChangesNothingAndTheQuestionComesAgain)
{
    std::string strStatusBefore, strStatusAfter;
    BOOL bCancelling = TRUE;
    INT_PTR nResult = RunInstallDialogToEnd([&](CDrivenInstall& d) {
        seam::g_boxes.m_records.clear();
        strStatusBefore = d.m_strStatus;
        seam::g_boxes.Answer(IDNO);
        Click(d, IDCANCEL);
        bCancelling = d.m_bCancelling;
        strStatusAfter = ControlText(d, IDC_STATUS);
        seam::g_boxes.Answer(IDNO);
        PostKey(d.GetDlgItem(IDC_TARGET_DIR), VK_ESCAPE);
        PumpMessages(d.m_hWnd);
        seam::g_boxes.Answer(IDNO);
        d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpMessages();
        d.EndDialog(-1);
    });
    EXPECT_EQ(-1, nResult) << "the dialog stayed open";
    EXPECT_FALSE(bCancelling);
    EXPECT_EQ(strStatusBefore, strStatusAfter);
    EXPECT_THAT(BoxTexts(), ElementsAre(NOTHING_DONE_QUESTION, NOTHING_DONE_QUESTION, NOTHING_DONE_QUESTION))
        << "the button, Escape and the close box all ask";
}

TEST_F(CancelSequenceTest, CancelAfterAFailedHelpFileRemovesTheProgramAndTheDirectory)
{
    EXPECT_EQ(IDCANCEL, FailThenCancel([] { FailResource(136); }));
    EXPECT_THAT(BoxTexts(), ElementsAre(ABORT_QUESTION, FINAL_TEXT));
    EXPECT_THAT(NamesIn(Target()), ElementsAre("<none>"));
}

TEST_F(CancelSequenceTest, DirectoryThatWasThereBeforeKeepsItsOwnFiles)
{
    ::CreateDirectoryA(Target().c_str(), NULL);
    ::CloseHandle(::CreateFileA((Target() + "\\Mine.txt").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    seam::g_boxes.Answer(IDYES);  // the set-up's "Note": the folder looks like an installation
    EXPECT_EQ(IDCANCEL, FailThenCancel([] { FailResource(138); }));
    EXPECT_THAT(BoxTexts(), ElementsAre(ABORT_QUESTION, "Unable to remove directory " + Target(), FINAL_TEXT));
    EXPECT_THAT(NamesIn(Target()), ElementsAre("Mine.txt"));
}

TEST_F(CancelSequenceTest, TemporaryFileOfAFailedExtractionStays)
{
    ::CreateDirectoryA(Target().c_str(), NULL);
    std::string strTemp = Target() + "\\LV.MSZ";
    ::CloseHandle(::CreateFileA(strTemp.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_READONLY, NULL));
    seam::g_boxes.Answer(IDYES);
    EXPECT_EQ(IDCANCEL, FailThenCancel([] {}));
    EXPECT_THAT(BoxTexts(), ElementsAre(ABORT_QUESTION, "Unable to remove directory " + Target(), FINAL_TEXT));
    EXPECT_THAT(NamesIn(Target()), ElementsAre("LV.MSZ"));
    ::SetFileAttributesA(strTemp.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// After a failure in each phase and Yes to Cancel, only what the rollback
// leaves by design is still there: the desktop link, the links of a shortcut
// phase that did not finish, and the group folder that holds them.
TEST_F(CancelSequenceTest, WhatEachFailureLeavesAfterTheRollback)
{
    struct Case
    {
        const char* pszName;
        std::function<void()> fnBreak;
        std::vector<std::string> desktop;
        std::vector<std::string> group;
    };
    int nLinks = 0;
    auto fnFailLink = [&](int nFailing) {
        return [&nLinks, nFailing] {
            nLinks = 0;
            seam::g_hooks.fnCoCreateInstance = [&nLinks, nFailing](REFCLSID c, LPUNKNOWN u, DWORD x, REFIID i,
                                                                   LPVOID* ppv) {
                if (++nLinks == nFailing) {
                    *ppv = NULL;
                    return REGDB_E_CLASSNOTREG;
                }
                return seam::RealCoCreateInstance(c, u, x, i, ppv);
            };
        };
    };
    const std::vector<std::string> none = { "<none>" };
    const Case rgCases[] = {
        { "target check", [] { seam::g_hooks.fnLoadLibraryA = [](LPCSTR) { return static_cast<HMODULE>(NULL); };
                               seam::g_boxes.Answer(IDNO); }, {}, none },
        { "program file", [] { FailResource(135); }, {}, none },
        { "help file", [] { FailResource(136); }, {}, none },
        { "uninstaller", [] { FailResource(137); }, {}, none },
        { "read-me", [] { FailResource(138); }, {}, none },
        { "Windows directory", [] { seam::g_hooks.fnGetWindowsDirectoryA = [](LPSTR, UINT) { return 0u; }; }, {}, none },
        { "program link", fnFailLink(2), { "Lumivane.lnk" }, {} },
        { "help link", fnFailLink(3), { "Lumivane.lnk" }, { "Lumivane.lnk" } },
        { "uninstall link", fnFailLink(4), { "Lumivane.lnk" }, { "Lumivane Help.lnk", "Lumivane.lnk" } },
        { "registry", [] { seam::g_hooks.fnRegSetValueExA = [](HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD) {
                               return static_cast<LONG>(ERROR_ACCESS_DENIED); }; },
          { "Lumivane.lnk" }, none },
    };
    for (const Case& c : rgCases) {
        CleanMachine();
        seam::g_hooks.fnLoadLibraryA = nullptr;
        seam::g_hooks.fnFindResourceA = nullptr;
        seam::g_hooks.fnGetWindowsDirectoryA = nullptr;
        seam::g_hooks.fnCoCreateInstance = nullptr;
        seam::g_hooks.fnRegSetValueExA = nullptr;
        EXPECT_EQ(IDCANCEL, FailThenCancel(c.fnBreak)) << c.pszName;
        Inventory left = TakeInventory();
        EXPECT_EQ(none, left.target) << c.pszName;
        EXPECT_EQ(c.desktop, left.desktop) << c.pszName;
        EXPECT_EQ(c.group, left.group) << c.pszName;
        EXPECT_THAT(left.keys, IsEmpty()) << c.pszName;
        EXPECT_EQ(FINAL_TEXT, BoxTexts().back()) << c.pszName;
    }
}
