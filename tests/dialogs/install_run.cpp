#include "install_run.h"

#include <algorithm>

#include "dialogs/install_dialog.h"
#include "install/payload.h"
#include "res/resource.h"
#include "tests/seam/seam.h"

static void ResetProgressFlags()
{
    g_bDirCreated = g_bExeInstalled = g_bHelpInstalled = g_bUninstallerInstalled = FALSE;
    g_bReadmeInstalled = g_bShortcutsCreated = g_bRegistryWritten = FALSE;
}

InstallRunTest::InstallRunTest() : m_folder("install_run") {}

void InstallRunTest::CleanMachine()
{
    ::SetCurrentDirectoryA("T:\\");
    RemoveTree(Target());
    RemoveTree(Group());
    RemoveTree(Desktop());
    RemoveProductEntries();
    ResetProgressFlags();
    m_statuses.clear();
    m_starts.clear();
    ::CreateDirectoryA(Desktop().c_str(), NULL);
}

void InstallRunTest::SetUp()
{
    seam::Reset();
    // What start-up does before the dialog: the payload is expanded through it.
    g_hVersionLibrary = ::LoadLibraryA("version.dll");
    CleanMachine();
    ::CreateDirectoryA((m_folder / "Programs").c_str(), NULL);
    ::CreateDirectoryA((m_folder / "Program Files").c_str(), NULL);
    FakeShellFolders({ { CSIDL_DESKTOP, Desktop() }, { CSIDL_PROGRAMS, m_folder / "Programs" } });
    ProposeProgramFilesDir(m_folder / "Program Files");
    seam::g_hooks.fnSetDlgItemTextA = [this](HWND hDlg, int nID, LPCSTR pszText) {
        if (nID == IDC_STATUS)
            m_statuses.push_back(pszText);
        return seam::RealSetDlgItemTextA(hDlg, nID, pszText);
    };
    seam::g_hooks.fnShellExecuteA = [this](HWND hWnd, LPCSTR pszVerb, LPCSTR pszFile, LPCSTR pszParameters,
                                           LPCSTR pszDirectory, INT nShowCmd) -> HINSTANCE {
        ProgramStart start;
        start.strVerb = pszVerb != NULL ? pszVerb : "<null>";
        start.strFile = pszFile;
        start.strDirectory = pszDirectory != NULL ? pszDirectory : "<null>";
        start.bHasParameters = pszParameters != NULL;
        start.nShowCmd = nShowCmd;
        start.nBoxesBefore = seam::g_boxes.m_records.size();
        EXPECT_EQ(NULL, hWnd);
        m_starts.push_back(start);
        if (m_bStartForReal)
            return seam::RealShellExecuteA(hWnd, pszVerb, pszFile, pszParameters, pszDirectory, nShowCmd);
        return reinterpret_cast<HINSTANCE>(42);
    };
}

void InstallRunTest::TearDown()
{
    seam::Reset();
    RemoveProductEntries();
}

std::vector<std::string> InstallRunTest::BoxTexts() const
{
    std::vector<std::string> texts;
    for (const seam::BoxRecord& box : seam::g_boxes.m_records)
        texts.push_back(box.strText);
    return texts;
}

std::vector<bool> InstallRunTest::Flags() const
{
    return { g_bDirCreated != 0, g_bExeInstalled != 0, g_bHelpInstalled != 0, g_bUninstallerInstalled != 0,
             g_bReadmeInstalled != 0, g_bShortcutsCreated != 0, g_bRegistryWritten != 0 };
}

Inventory InstallRunTest::TakeInventory() const
{
    Inventory inventory;
    inventory.target = NamesIn(Target());
    inventory.desktop = NamesIn(Desktop());
    inventory.group = NamesIn(Group());
    const char* const rgszKeys[] = { "SOFTWARE\\Orvel Software\\Lumivane",
                                     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe",
                                     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane" };
    for (const char* pszKey : rgszKeys) {
        if (KeyExists(pszKey))
            inventory.keys.push_back(pszKey);
    }
    return inventory;
}
