// CreateShortcut and DeleteShortcut: the links themselves, read back through
// the shell, and every failure with what it leaves behind.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>

#include "tests/support/install_session.h"
#include "tests/support/shell_link_spy.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct LinkContents
{
    std::string strPath, strWorkingDir, strIcon, strDescription;
    int nIcon = -1, nShowCmd = -1;
};

LinkContents LoadLink(const std::string& strLink)
{
    LinkContents contents;
    ::CoInitialize(NULL);
    IShellLinkA* pLink = NULL;
    IPersistFile* pFile = NULL;
    EXPECT_EQ(S_OK, seam::RealCoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                               reinterpret_cast<void**>(&pLink)));
    if (pLink == NULL)
        return contents;
    pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile));
    WCHAR wsz[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, strLink.c_str(), -1, wsz, MAX_PATH);
    EXPECT_EQ(S_OK, pFile->Load(wsz, STGM_READ)) << strLink;
    char sz[MAX_PATH];
    if (pLink->GetPath(sz, MAX_PATH, NULL, SLGP_RAWPATH) == S_OK)
        contents.strPath = sz;
    if (pLink->GetWorkingDirectory(sz, MAX_PATH) == S_OK)
        contents.strWorkingDir = sz;
    if (pLink->GetIconLocation(sz, MAX_PATH, &contents.nIcon) == S_OK)
        contents.strIcon = sz;
    if (pLink->GetDescription(sz, MAX_PATH) == S_OK)
        contents.strDescription = sz;
    pLink->GetShowCmd(&contents.nShowCmd);
    pFile->Release();
    pLink->Release();
    ::CoUninitialize();
    return contents;
}

class ShortcutsTest : public ::testing::Test
{
protected:
    ShortcutsTest() : m_folder("shortcuts") {}

    void SetUp() override
    {
        seam::Reset();
        ::CreateDirectoryA(Desktop().c_str(), NULL);
    }
    void TearDown() override { seam::Reset(); }

    std::string Desktop() const { return m_folder / "Desktop"; }
    std::string Group() const { return m_folder / "Programs\\Lumivane"; }
    std::string Target() const { return m_folder / "Target"; }

    // The steps run in the install dialog with its folders pointed into the
    // test's own: the desktop, the group and the target directory.
    void InDialog(std::function<void(CDrivenInstall&)> fnSteps)
    {
        RunInstallDialog([&](CDrivenInstall& d) {
            std::string strDesktop = Desktop();
            seam::g_hooks.fnSHGetPathFromIDListA = [strDesktop](LPCITEMIDLIST, LPSTR pszPath) {
                lstrcpynA(pszPath, strDesktop.c_str(), MAX_PATH);
                return TRUE;
            };
            g_strStartMenuGroup = Group();
            d.m_strTargetDir = Target();
            seam::g_boxes.m_records.clear();
            fnSteps(d);
            m_hDialog = d.m_hWnd;
        });
    }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const seam::BoxRecord& box : seam::g_boxes.m_records) {
            EXPECT_EQ(m_hDialog, box.hOwner);
            texts.push_back(box.strText);
        }
        return texts;
    }

    void CreateAllFour(CDrivenInstall& d)
    {
        EXPECT_EQ(1, d.CreateShortcut("Lumivane", ".exe", "Lumivane", 1));
        EXPECT_EQ(1, d.CreateShortcut("Lumivane", ".exe", "Lumivane", 0));
        EXPECT_EQ(1, d.CreateShortcut("Lumivane", ".hlp", "Lumivane Help", 0));
        EXPECT_EQ(1, d.CreateShortcut("Uninstall", ".exe", "Uninstall Lumivane", 0));
    }

    CTestFolder m_folder;
    HWND m_hDialog = NULL;
};

}  // namespace

TEST_F(ShortcutsTest, FourLinksCarryTargetFolderIconShowCommandAndTitle)
{
    InDialog([&](CDrivenInstall& d) { CreateAllFour(d); });
    EXPECT_THAT(BoxTexts(), IsEmpty());
    EXPECT_THAT(NamesIn(Desktop()), ElementsAre("Lumivane.lnk"));
    EXPECT_THAT(NamesIn(Group()), ElementsAre("Lumivane Help.lnk", "Lumivane.lnk", "Uninstall Lumivane.lnk"));

    struct Expected
    {
        std::string strLink, strTarget, strTitle;
    };
    const Expected rgExpected[] = {
        { Desktop() + "\\Lumivane.lnk", Target() + "\\Lumivane.exe", "Lumivane" },
        { Group() + "\\Lumivane.lnk", Target() + "\\Lumivane.exe", "Lumivane" },
        { Group() + "\\Lumivane Help.lnk", Target() + "\\Lumivane.hlp", "Lumivane Help" },
        { Group() + "\\Uninstall Lumivane.lnk", Target() + "\\Uninstall.exe", "Uninstall Lumivane" },
    };
    for (const Expected& e : rgExpected) {
        LinkContents link = LoadLink(e.strLink);
        EXPECT_EQ(e.strTarget, link.strPath) << e.strLink;
        EXPECT_EQ(Target(), link.strWorkingDir) << e.strLink;
        EXPECT_EQ(e.strTarget, link.strIcon) << e.strLink;
        EXPECT_EQ(0, link.nIcon) << e.strLink;
        EXPECT_EQ(SW_SHOWNORMAL, link.nShowCmd) << e.strLink;
        EXPECT_EQ(e.strTitle, link.strDescription) << e.strLink;
    }
}

TEST_F(ShortcutsTest, SecondRunReplacesTheLinks)
{
    InDialog([&](CDrivenInstall& d) {
        CreateAllFour(d);
        d.m_strTargetDir = m_folder / "Elsewhere";
        CreateAllFour(d);
    });
    EXPECT_THAT(NamesIn(Desktop()), ElementsAre("Lumivane.lnk"));
    EXPECT_THAT(NamesIn(Group()), ElementsAre("Lumivane Help.lnk", "Lumivane.lnk", "Uninstall Lumivane.lnk"));
    EXPECT_EQ(m_folder / "Elsewhere\\Lumivane.hlp", LoadLink(Group() + "\\Lumivane Help.lnk").strPath);
}

TEST_F(ShortcutsTest, LinkIsSetUpInOrderAndEveryInterfaceIsReleased)
{
    ShellLinkSpyLog log;
    InDialog([&](CDrivenInstall& d) {
        seam::g_hooks.fnCoCreateInstance = [&](REFCLSID c, LPUNKNOWN, DWORD, REFIID i, LPVOID* ppv) {
            return CreateShellLinkSpy(&log, c, i, ppv);
        };
        EXPECT_EQ(1, d.CreateShortcut("Lumivane", ".hlp", "Lumivane Help", 0));
    });
    std::string strTarget = Target() + "\\Lumivane.hlp";
    EXPECT_THAT(log.calls, ElementsAre("SetDescription:Lumivane Help", "SetIconLocation:" + strTarget + ",0",
                                       "SetPath:" + strTarget, "SetWorkingDirectory:" + Target(), "SetShowCmd:1",
                                       "QueryInterface:IPersistFile", "Save:remember"));
    EXPECT_EQ(0, log.nLiveReferences);
}

TEST_F(ShortcutsTest, EachFailureHasItsMessageAndReleasesWhatWasObtained)
{
    struct Case
    {
        const char* pszName;
        bool bRefuseCreate, bFailQuery, bFailSave;
        const char* pszMessage;
    };
    const Case rgCases[] = {
        { "no link component", true, false, false, "Can't create Program Files link" },
        { "no file interface", false, true, false, "Couldn't create file interface to program links" },
        { "save fails", false, false, true, "Can't create Program Files icon group" },
    };
    for (const Case& c : rgCases) {
        ShellLinkSpyLog log;
        log.bFailQuery = c.bFailQuery;
        log.bFailSave = c.bFailSave;
        int nResult = -1;
        InDialog([&](CDrivenInstall& d) {
            seam::g_hooks.fnCoCreateInstance = [&](REFCLSID cls, LPUNKNOWN, DWORD, REFIID iid, LPVOID* ppv) {
                if (c.bRefuseCreate) {
                    *ppv = NULL;
                    return REGDB_E_CLASSNOTREG;
                }
                return CreateShellLinkSpy(&log, cls, iid, ppv);
            };
            nResult = d.CreateShortcut("Lumivane", ".exe", "Lumivane", 1);
        });
        EXPECT_EQ(0, nResult) << c.pszName;
        EXPECT_THAT(BoxTexts(), ElementsAre(c.pszMessage)) << c.pszName;
        EXPECT_EQ(0x40u, seam::g_boxes.m_records[0].uType);
        EXPECT_EQ(0, log.nLiveReferences) << c.pszName;
        EXPECT_THAT(NamesIn(Desktop()), IsEmpty()) << c.pszName;
    }
}

TEST_F(ShortcutsTest, GroupThatCannotBeMadeGivesTheCheckMessageThenTheSaveFailure)
{
    int nResult = -1;
    InDialog([&](CDrivenInstall& d) {
        g_strStartMenuGroup = "Q:\\Programs\\Lumivane";
        nResult = d.CreateShortcut("Lumivane", ".exe", "Lumivane", 0);
    });
    EXPECT_EQ(0, nResult);
    EXPECT_THAT(BoxTexts(), ElementsAre("Can't access drive Q:", "Can't create Program Files icon group"));
}

TEST_F(ShortcutsTest, LinkPathTooLongIsRefusedBeforeAnyLinkIsMade)
{
    ShellLinkSpyLog log;
    int nResult = -1;
    std::string strTitle(MAX_PATH_TEXT - Desktop().size() - 5 + 1, 't');  // "\" + title + ".lnk" one too many
    InDialog([&](CDrivenInstall& d) {
        seam::g_hooks.fnCoCreateInstance = [&](REFCLSID c, LPUNKNOWN, DWORD, REFIID i, LPVOID* ppv) {
            return CreateShellLinkSpy(&log, c, i, ppv);
        };
        nResult = d.CreateShortcut("Lumivane", ".exe", strTitle.c_str(), 1);
        EXPECT_EQ(1, d.CreateShortcut("Lumivane", ".exe", strTitle.substr(1).c_str(), 1)) << "259 fits";
    });
    EXPECT_EQ(0, nResult);
    EXPECT_THAT(BoxTexts(), ElementsAre("Can't create Program Files icon group"));
    EXPECT_EQ(1, log.nCreated) << "only the link that fits was made";
    EXPECT_THAT(NamesIn(Desktop()), ElementsAre(strTitle.substr(1) + ".lnk"));
}

TEST_F(ShortcutsTest, DeletingAMissingLinkIsSilentAndMakesNoFolder)
{
    InDialog([&](CDrivenInstall& d) {
        d.DeleteShortcut("Lumivane Help", 0);
        d.DeleteShortcut("Lumivane", 1);
    });
    EXPECT_THAT(BoxTexts(), IsEmpty());
    EXPECT_FALSE(PathExists(Group()));

    InDialog([&](CDrivenInstall& d) {
        CreateAllFour(d);
        d.DeleteShortcut("Lumivane Help", 0);
        d.DeleteShortcut("Lumivane", 1);
    });
    EXPECT_THAT(NamesIn(Group()), ElementsAre("Lumivane.lnk", "Uninstall Lumivane.lnk"));
    EXPECT_THAT(NamesIn(Desktop()), IsEmpty());
}

TEST_F(ShortcutsTest, DesktopFallsBackToTheWindowsDirectory)
{
    std::string strWindows = m_folder / "Windows";
    ::CreateDirectoryA(strWindows.c_str(), NULL);
    ::CreateDirectoryA((strWindows + "\\Desktop").c_str(), NULL);
    InDialog([&](CDrivenInstall& d) {
        seam::g_hooks.fnSHGetSpecialFolderLocation = [](HWND, int nFolder, LPITEMIDLIST* ppidl) {
            EXPECT_EQ(CSIDL_DESKTOP, nFolder);
            *ppidl = NULL;
            return E_FAIL;
        };
        seam::g_hooks.fnGetWindowsDirectoryA = [strWindows](LPSTR psz, UINT nSize) {
            lstrcpynA(psz, strWindows.c_str(), nSize);
            return static_cast<UINT>(strWindows.size());
        };
        EXPECT_EQ(1, d.CreateShortcut("Lumivane", ".exe", "Lumivane", 1));
    });
    EXPECT_THAT(BoxTexts(), IsEmpty());
    EXPECT_THAT(NamesIn(strWindows + "\\Desktop"), ElementsAre("Lumivane.lnk"));
}
