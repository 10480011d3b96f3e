#include "installation_checks.h"

#include <windows.h>

#include "common/paths.h"
#include "common/registry.h"
#include "common/running_product.h"

// The shell's folder windows bear the folder's name, and the user may well
// start the uninstaller from the folder called Lumivane.
static int IsFolderWindow(HWND hWnd)
{
    char szClass[32];
    if (!::GetClassNameA(hWnd, szClass, sizeof(szClass)))
        return 0;
    return ::lstrcmpiA(szClass, "CabinetWClass") == 0 || ::lstrcmpiA(szClass, "ExploreWClass") == 0;
}

int IsProductRunning()
{
    HANDLE hMutex = ::OpenMutexA(SYNCHRONIZE, FALSE, g_szProductMutex);
    if (hMutex != NULL) {
        ::CloseHandle(hMutex);
        return 1;
    }
    // A mutex we may not open still exists.
    if (::GetLastError() == ERROR_ACCESS_DENIED)
        return 1;
    HWND hWnd = NULL;
    for (int i = FindProductWindow(0, &hWnd); i >= 0; i = FindProductWindow(i + 1, &hWnd)) {
        if (!IsFolderWindow(hWnd))
            return 1;
    }
    return 0;
}

static int ReadMachineText(LPCSTR lpszKey, LPCSTR lpszValueName, std::string& strText)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, lpszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return 0;
    int nRead = ReadRegistryText(hKey, lpszValueName, strText);
    ::RegCloseKey(hKey);
    return nRead;
}

// The uninstall entry's command line names the program in quotes; entries
// written before it did name it bare.
static std::string ProgramOfCommand(const std::string& strCommand)
{
    if (strCommand.size() >= 2 && strCommand[0] == '"' && strCommand[strCommand.size() - 1] == '"')
        return strCommand.substr(1, strCommand.size() - 2);
    return strCommand;
}

int IsInstalledAt(const std::string& strDirectory)
{
    std::string strPath, strUninstaller;
    if (!ReadMachineText(APP_PATH_KEY, "Path", strPath) ||
        !ReadMachineText(UNINSTALL_KEY, "UninstallString", strUninstaller))
        return 0;
    return IsSameFolder(strPath, strDirectory) && IsSameFolder(ProgramOfCommand(strUninstaller), JoinPath(strDirectory, "Uninstall.exe"));
}
