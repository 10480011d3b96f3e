// Uninstall.exe: removes the installation it stands in. Started from the
// installation directory it takes the set-up mutex, checks, asks and hands
// over to a copy of itself in the Windows folder's Temp; that copy removes
// everything and says what stayed.
#include <windows.h>

#include <string>
#include <vector>

#include "common/library_search.h"
#include "common/paths.h"
#include "common/setup_mutex.h"
#include "common/shortcut_folders.h"
#include "helper_copy.h"
#include "installation_checks.h"
#include "removal.h"

static const char CAPTION[] = "Uninstall Lumivane";

static void ShowMessage(const std::string& strText, UINT uIcon)
{
    ::MessageBoxA(NULL, strText.c_str(), CAPTION, MB_OK | uIcon | MB_SETFOREGROUND);
}

// Nonzero when nothing stands in the way; otherwise the user has been told.
static int MayUninstall(const std::string& strDirectory)
{
    if (IsProductRunning()) {
        ShowMessage("Lumivane is running.\r\n\r\nClose Lumivane, then start the uninstaller again. "
                    "Nothing has been removed.",
                    MB_ICONEXCLAMATION);
        return 0;
    }
    if (!IsInstalledAt(strDirectory)) {
        ShowMessage("Lumivane 1.10 is not installed in\r\n" + strDirectory +
                        "\r\n\r\nThis uninstaller removes only the installation it belongs to. "
                        "Nothing has been removed.",
                    MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}

static int ConfirmUninstall()
{
    return ::MessageBoxA(NULL,
                         "Are you sure you want to remove Lumivane 1.10 from this computer?\r\n\r\n"
                         "Its files, shortcuts and registry entries will be deleted.",
                         CAPTION, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}

static void ShowResult(const std::vector<std::string>& stayed)
{
    if (stayed.empty()) {
        ShowMessage("Lumivane 1.10 has been removed from this computer.", MB_ICONINFORMATION);
        return;
    }
    std::string strText = "Lumivane 1.10 has been removed, except for these items:\r\n";
    for (const std::string& strItem : stayed)
        strText += "\r\n" + strItem;
    ShowMessage(strText, MB_ICONEXCLAMATION);
}

// The program in the installation directory: takes the set-up mutex, checks,
// asks, hands over.
static int RunFromInstallation()
{
    // The copy inherits the hold and keeps it until the removal is done, so
    // no installer can start in between.
    ESetupTurn eTurn = TakeSetupMutex(TRUE);
    if (eTurn == SETUP_TURN_NO_RIGHTS) {
        ShowMessage("Removing Lumivane needs administrator rights.\r\n\r\n"
                    "Start the uninstaller again as an administrator. Nothing has been removed.",
                    MB_ICONEXCLAMATION);
        return 1;
    }
    if (eTurn != SETUP_TURN_TAKEN) {
        ShowMessage("Another installation or removal of Lumivane is in progress.\r\n\r\n"
                    "Let it finish, then start the uninstaller again. Nothing has been removed.",
                    MB_ICONEXCLAMATION);
        return 1;
    }
    char szProgram[MAX_PATH];
    DWORD nLength = ::GetModuleFileNameA(NULL, szProgram, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH) {
        ShowMessage("The uninstaller cannot tell where it is. Nothing has been removed.", MB_ICONHAND);
        return 1;
    }
    std::string strDirectory = DirectoryOfFile(szProgram);
    if (!MayUninstall(strDirectory))
        return 1;
    if (!ConfirmUninstall())
        return 0;
    if (!StartHelperCopy(szProgram, strDirectory)) {
        ShowMessage("The uninstaller cannot run from the temporary folder. Nothing has been removed.",
                    MB_ICONHAND);
        return 1;
    }
    return 0;
}

// The copy, once the original has ended.
static int RunAsHelper(HANDLE hOriginal, const std::string& strDirectory)
{
    WaitForOriginal(hOriginal);
    // Lumivane may have been started while the question was open.
    if (!MayUninstall(strDirectory))
        return 1;
    g_strStartMenuGroup = FindStartMenuGroup();
    std::vector<std::string> stayed = RemoveInstallation(strDirectory);
    ShowResult(stayed);
    return stayed.empty() ? 0 : 1;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    SHelperCommand command;
    if (ParseHelperCommand(::GetCommandLineA(), &command)) {
        int nResult = RunAsHelper(command.hOriginal, command.strDirectory);
        LeaveCopyFolder(command.hCopy);
        return nResult;
    }
    return RunFromInstallation();
}

extern "C" int WinMainCRTStartup(void);  // the run-time library's entry for a GUI program

// The entry point: the library search is restricted before the run-time
// library starts and loads anything.
extern "C" int UninstallEntry(void)
{
    RestrictLibrarySearch();
    return WinMainCRTStartup();
}
