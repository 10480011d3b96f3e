// The install dialog's set-up, status line, error box, system menu and Browse.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "app/installer_app.h"
#include "dialogs/install_dialog.h"
#include "res/resource.h"
#include "tests/support/install_session.h"
#include "tests/support/test_support.h"

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;

namespace {

const char FREE_SPACE_TEXT[] = "To install Lumivane, at least\r\n400 Kb of free disk space is required.";

// A registry that answers "ProgramFilesDir" as given and leaves all else alone.
void FakeProgramFilesDir(LONG nResult, DWORD dwType, const std::string& strData)
{
    seam::g_hooks.fnRegQueryValueExA = [=](HKEY, LPCSTR pszName, LPDWORD, LPDWORD pType, LPBYTE pData,
                                           LPDWORD pcbData) -> LONG {
        if (pszName == NULL || std::string(pszName) != "ProgramFilesDir")
            return ERROR_FILE_NOT_FOUND;
        if (pType != NULL)
            *pType = dwType;
        if (nResult != ERROR_SUCCESS)
            return nResult;
        if (strData.size() > *pcbData)
            return ERROR_MORE_DATA;
        memcpy(pData, strData.data(), strData.size());
        *pcbData = static_cast<DWORD>(strData.size());
        return ERROR_SUCCESS;
    };
}

class InstallDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { seam::Reset(); }
    void TearDown() override { seam::Reset(); }
};

}  // namespace

TEST_F(InstallDialogTest, SetUpShowsTitleTargetAndFreeSpaceRequirement)
{
    FakeProgramFilesDir(ERROR_SUCCESS, REG_SZ, std::string("D:\\Programs", 12));  // with its NUL
    RunInstallDialog([](CDrivenInstall& d) {
        char szTitle[128] = "";
        ::GetWindowTextA(d.m_hWnd, szTitle, sizeof(szTitle));
        EXPECT_STREQ("Orvel Software - Install Lumivane 1.10", szTitle);
        EXPECT_EQ("D:\\Programs\\Lumivane", d.m_strTargetDir);
        EXPECT_EQ("D:\\Programs\\Lumivane", ControlText(d, IDC_TARGET_DIR));
        EXPECT_EQ("D:\\Programs\\Lumivane", g_strDefaultDir);
        EXPECT_EQ(FREE_SPACE_TEXT, d.m_strStatus);
        EXPECT_EQ(FREE_SPACE_TEXT, ControlText(d, IDC_STATUS));
        EXPECT_EQ("Lumivane", d.m_strProduct);
        EXPECT_FALSE(d.m_bCancelling);
        EXPECT_EQ(reinterpret_cast<LRESULT>(d.m_hIcon), d.SendMessage(WM_GETICON, ICON_BIG));
        EXPECT_EQ(reinterpret_cast<LRESULT>(d.m_hIcon), d.SendMessage(WM_GETICON, ICON_SMALL));
        EXPECT_EQ(reinterpret_cast<LRESULT>(d.m_hIcon), d.SendMessage(WM_QUERYDRAGICON));
    });
    EXPECT_THAT(seam::g_boxes.m_records, ::testing::IsEmpty());
}

TEST_F(InstallDialogTest, ProgramFilesValuesThatCannotServeKeepTheFixedDefault)
{
    struct Case
    {
        const char* pszName;
        LONG nResult;
        DWORD dwType;
        std::string strData;
        const char* pszExpected;
    };
    const Case rgCases[] = {
        { "missing", ERROR_FILE_NOT_FOUND, REG_SZ, "", "C:\\Program Files\\Lumivane" },
        { "not text", ERROR_SUCCESS, REG_DWORD, std::string("\x01\0\0\0", 4), "C:\\Program Files\\Lumivane" },
        { "larger than the buffer", ERROR_SUCCESS, REG_SZ, std::string(300, 'x'), "C:\\Program Files\\Lumivane" },
        { "too long with the product folder", ERROR_SUCCESS, REG_SZ, "E:\\" + std::string(250, 'p'),
          "C:\\Program Files\\Lumivane" },
        { "no terminating NUL", ERROR_SUCCESS, REG_SZ, "E:\\Apps", "E:\\Apps\\Lumivane" },
        { "longest that fits", ERROR_SUCCESS, REG_SZ, "E:\\" + std::string(247, 'p'), NULL },
    };
    for (const Case& c : rgCases) {
        FakeProgramFilesDir(c.nResult, c.dwType, c.strData);
        std::string strTarget;
        RunInstallDialog([&](CDrivenInstall& d) { strTarget = d.m_strTargetDir; });
        std::string strExpected = c.pszExpected != NULL ? c.pszExpected : c.strData + "\\Lumivane";
        EXPECT_EQ(strExpected, strTarget) << c.pszName;
        EXPECT_EQ(strExpected, g_strDefaultDir) << c.pszName;
    }
}

TEST_F(InstallDialogTest, StartMenuGroupComesFromTheShellOrTheFixedDefault)
{
    RunInstallDialog([](CDrivenInstall&) {});
    EXPECT_THAT(g_strStartMenuGroup, EndsWith("\\Start Menu\\Programs\\Lumivane"));
    EXPECT_THAT(g_strStartMenuGroup, ::testing::StartsWith("C:\\users\\"));

    seam::g_hooks.fnSHGetSpecialFolderLocation = [](HWND, int, LPITEMIDLIST*) { return E_FAIL; };
    RunInstallDialog([](CDrivenInstall&) {});
    EXPECT_EQ("C:\\Windows\\Start Menu\\Programs\\Lumivane", g_strStartMenuGroup);

    seam::Reset();
    seam::g_hooks.fnSHGetPathFromIDListA = [](LPCITEMIDLIST, LPSTR) { return FALSE; };
    RunInstallDialog([](CDrivenInstall&) {});
    EXPECT_EQ("C:\\Windows\\Start Menu\\Programs\\Lumivane", g_strStartMenuGroup);
}

TEST_F(InstallDialogTest, ComponentLibraryFailureEndsTheInstaller)
{
    seam::g_hooks.fnCoInitialize = [](LPVOID) { return E_OUTOFMEMORY; };
    EXPECT_EXIT(RunInstallDialog([](CDrivenInstall&) {}), ::testing::ExitedWithCode(0),
                ShowsBoxes({ Box("Can't initialize Component Object Module - aborting installation", "ERROR",
                                 0x30) }));
}

TEST_F(InstallDialogTest, ErrorBoxMarksAnAbortedInstallation)
{
    HWND hDialog = NULL;
    RunInstallDialog([&](CDrivenInstall& d) {
        hDialog = d.m_hWnd;
        d.ShowInstallError(1, "Can't initialize Component Object Module");
        d.ShowInstallError(0, "Can't initialize Component Object Module");
    });
    ASSERT_EQ(2u, seam::g_boxes.m_records.size());
    EXPECT_EQ("Can't initialize Component Object Module - aborting installation", seam::g_boxes.m_records[0].strText);
    EXPECT_EQ(0x30u, seam::g_boxes.m_records[0].uType);
    EXPECT_EQ("Can't initialize Component Object Module", seam::g_boxes.m_records[1].strText);
    EXPECT_EQ(0x40u, seam::g_boxes.m_records[1].uType);
    for (const seam::BoxRecord& box : seam::g_boxes.m_records) {
        EXPECT_EQ("ERROR", box.strCaption);
        EXPECT_EQ(hDialog, box.hOwner);
    }
}

TEST_F(InstallDialogTest, SystemMenuOffersTheAboutBoxForCommands16To31)
{
    std::vector<UINT> opened;
    std::vector<HWND> owners;
    std::string strItem;
    UINT nItemId = 0, nSeparatorType = 0;
    std::vector<UINT> openedBy;
    HWND hDialog = NULL;
    RunInstallDialog([&](CDrivenInstall& d) {
        hDialog = d.m_hWnd;
        seam::g_hooks.fnDialogBoxParamA = [&](HINSTANCE, LPCSTR pszTemplate, HWND hOwner, DLGPROC, LPARAM) {
            opened.push_back(static_cast<UINT>(reinterpret_cast<UINT_PTR>(pszTemplate)));
            owners.push_back(hOwner);
            return static_cast<INT_PTR>(IDOK);
        };
        HMENU hMenu = ::GetSystemMenu(d.m_hWnd, FALSE);
        int nCount = ::GetMenuItemCount(hMenu);
        char sz[64] = "";
        ::GetMenuStringA(hMenu, nCount - 1, sz, sizeof(sz), MF_BYPOSITION);
        strItem = sz;
        nItemId = ::GetMenuItemID(hMenu, nCount - 1);
        nSeparatorType = ::GetMenuState(hMenu, nCount - 2, MF_BYPOSITION) & MF_SEPARATOR;
        for (UINT nCommand : { 15u, 16u, 31u, 32u }) {
            size_t nBefore = opened.size();
            d.SendMessage(WM_SYSCOMMAND, nCommand, 0);
            if (opened.size() > nBefore)
                openedBy.push_back(nCommand);
        }
        d.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(d.IsIconic()) << "other commands get the default processing";
    });
    EXPECT_EQ("&About InstallLV...", strItem);
    EXPECT_EQ(16u, nItemId);
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), nSeparatorType);
    EXPECT_THAT(openedBy, ElementsAre(16u, 31u));
    EXPECT_THAT(opened, ElementsAre(static_cast<UINT>(IDD_ABOUTBOX), static_cast<UINT>(IDD_ABOUTBOX)));
    EXPECT_THAT(owners, ElementsAre(hDialog, hDialog)) << "the About box stands on the install dialog";
}

TEST_F(InstallDialogTest, NoAboutItemWithoutItsString)
{
    seam::g_hooks.fnLoadStringA = [](HINSTANCE, UINT, LPSTR psz, int) {
        psz[0] = '\0';
        return 0;
    };
    int nItems = -1;
    RunInstallDialog([&](CDrivenInstall& d) { nItems = ::GetMenuItemCount(::GetSystemMenu(d.m_hWnd, FALSE)); });
    seam::Reset();
    int nWithAbout = -1;
    RunInstallDialog([&](CDrivenInstall& d) { nWithAbout = ::GetMenuItemCount(::GetSystemMenu(d.m_hWnd, FALSE)); });
    EXPECT_EQ(nWithAbout - 2, nItems);

    seam::g_hooks.fnGetSystemMenu = [](HWND, BOOL) { return static_cast<HMENU>(NULL); };
    RunInstallDialog([](CDrivenInstall& d) { EXPECT_EQ(FREE_SPACE_TEXT, d.m_strStatus); });
}

namespace {

// Browsing that picks the given folder (or nothing, or a non-folder item).
struct BrowseResult
{
    bool bChosen;
    bool bFileSystem;
    std::string strPath;
};

struct BrowseRecord
{
    HWND hOwner = NULL;
    std::string strTitle;
    UINT ulFlags = 0;
    bool bHasDisplayBuffer = false;
};

void FakeBrowser(const BrowseResult& result, BrowseRecord* pRecord)
{
    seam::g_hooks.fnSHBrowseForFolderA = [=](LPBROWSEINFOA pbi) -> LPITEMIDLIST {
        pRecord->hOwner = pbi->hwndOwner;
        pRecord->strTitle = pbi->lpszTitle != NULL ? pbi->lpszTitle : "";
        pRecord->ulFlags = pbi->ulFlags;
        pRecord->bHasDisplayBuffer = pbi->pszDisplayName != NULL && pbi->pidlRoot == NULL;
        if (!result.bChosen)
            return NULL;
        // The installer frees the item list with the shell allocator.
        void* pidl = ::CoTaskMemAlloc(sizeof(USHORT));
        *static_cast<USHORT*>(pidl) = 0;
        return static_cast<LPITEMIDLIST>(pidl);
    };
    seam::g_hooks.fnSHGetPathFromIDListA = [=](LPCITEMIDLIST, LPSTR pszPath) -> BOOL {
        if (!result.bFileSystem)
            return FALSE;
        lstrcpynA(pszPath, result.strPath.c_str(), MAX_PATH);
        return TRUE;
    };
}

std::string BrowseTo(const BrowseResult& result, BrowseRecord* pRecord = NULL)
{
    BrowseRecord record;
    std::string strTarget, strControl;
    RunInstallDialog([&](CDrivenInstall& d) {
        FakeBrowser(result, &record);
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED), reinterpret_cast<LPARAM>(d.GetDlgItem(IDC_BROWSE)));
        strTarget = d.m_strTargetDir;
        strControl = ControlText(d, IDC_TARGET_DIR);
        EXPECT_EQ(d.m_hWnd, record.hOwner) << "the browser belongs to the main window";
    });
    EXPECT_EQ(strControl, strTarget) << "the member follows the control";
    if (pRecord != NULL)
        *pRecord = record;
    return strTarget;
}

}  // namespace

TEST_F(InstallDialogTest, BrowseAppendsTheProductFolderUnlessThePathNamesIt)
{
    BrowseRecord record;
    EXPECT_EQ("D:\\Tools\\Lumivane", BrowseTo({ true, true, "D:\\Tools" }, &record));
    EXPECT_EQ("Lumivane Installation Folder", record.strTitle);
    EXPECT_EQ(static_cast<UINT>(BIF_RETURNONLYFSDIRS), record.ulFlags);
    EXPECT_TRUE(record.bHasDisplayBuffer);

    EXPECT_EQ("D:\\Lumivane Beta", BrowseTo({ true, true, "D:\\Lumivane Beta" }));
    EXPECT_EQ("D:\\Apps\\Lumivane", BrowseTo({ true, true, "D:\\Apps\\Lumivane" }));
    EXPECT_EQ("D:\\lumivane\\Lumivane", BrowseTo({ true, true, "D:\\lumivane" })) << "the search is case-sensitive";
    EXPECT_EQ("C:\\Lumivane", BrowseTo({ true, true, "C:\\" })) << "a drive root gets one backslash";
}

TEST_F(InstallDialogTest, BrowseThatGivesNoFolderKeepsTheTarget)
{
    FakeProgramFilesDir(ERROR_SUCCESS, REG_SZ, "D:\\Programs");
    EXPECT_EQ("D:\\Programs\\Lumivane", BrowseTo({ false, true, "D:\\Tools" })) << "cancelled";
    EXPECT_EQ("D:\\Programs\\Lumivane", BrowseTo({ true, false, "" })) << "not a file-system folder";
    EXPECT_THAT(seam::g_boxes.m_records, ::testing::IsEmpty());
}

TEST_F(InstallDialogTest, BrowseRefusesAFolderTooLongForTheProductFolder)
{
    FakeProgramFilesDir(ERROR_SUCCESS, REG_SZ, "D:\\Programs");
    std::string strLongest = "D:\\" + std::string(247, 'f');  // + "\Lumivane" is 259 characters
    EXPECT_EQ(strLongest + "\\Lumivane", BrowseTo({ true, true, strLongest }));
    EXPECT_THAT(seam::g_boxes.m_records, ::testing::IsEmpty());

    EXPECT_EQ("D:\\Programs\\Lumivane", BrowseTo({ true, true, strLongest + "g" }));
    ASSERT_EQ(1u, seam::g_boxes.m_records.size());
    EXPECT_THAT(seam::g_boxes.m_records[0].strText, HasSubstr("too long"));
    EXPECT_EQ("ERROR", seam::g_boxes.m_records[0].strCaption);
}

TEST_F(InstallDialogTest, TypedTargetIsTakenAsTyped)
{
    RunInstallDialog([](CDrivenInstall& d) {
        ::SetWindowTextA(d.GetDlgItem(IDC_TARGET_DIR), "E:\\Mine");
        EXPECT_EQ("E:\\Mine", d.m_strTargetDir);
        EXPECT_EQ(FREE_SPACE_TEXT, d.m_strStatus) << "the same exchange reads the status line back";
    });
}
