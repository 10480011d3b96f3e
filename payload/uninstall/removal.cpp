#include "removal.h"

#include <windows.h>

#include "common/files.h"
#include "common/paths.h"
#include "common/registry.h"
#include "common/shortcut_folders.h"
#include "installation_checks.h"

static const char* const s_rgszInstalledFiles[] = { "Lumivane.exe", "Lumivane.hlp", "Uninstall.exe", "Lumivane.txt" };
static const char* const s_rgszGroupLinks[] = { "Lumivane", "Lumivane Help", "Uninstall Lumivane" };

// How often, half a second apart, the program file that started this copy is
// tried: whoever started it may hold its ended process, and with it the file,
// a moment longer.
static const int PROGRAM_FILE_ATTEMPTS = 10;

static void RemoveFile(const std::string& strPath, std::vector<std::string>& stayed, int nAttempts = 1)
{
    for (int i = 0; i < nAttempts; ++i) {
        if (i > 0)
            ::Sleep(500);
        if (DeleteInstalledFileEvenReadOnly(strPath))
            return;
    }
    stayed.push_back(strPath + " (could not be deleted)");
}

// Only an empty folder goes; one that still holds anything is the user's.
static void RemoveEmptiedFolder(const std::string& strFolder, std::vector<std::string>& stayed)
{
    if (::GetFileAttributesA(strFolder.c_str()) == INVALID_FILE_ATTRIBUTES || ::RemoveDirectoryA(strFolder.c_str()))
        return;
    DWORD dwError = ::GetLastError();
    if (dwError == ERROR_DIR_NOT_EMPTY)
        stayed.push_back(strFolder + " (kept: it holds other files)");
    else
        stayed.push_back(strFolder + " (could not be removed)");
}

// A folder whose name the code page cannot spell holds no link of ours: no
// installation could have made one there.
static void RemoveLink(int bDesktop, const char* pszTitle, std::vector<std::string>& stayed)
{
    std::string strFolder = GetShortcutFolder(bDesktop);
    if (!strFolder.empty())
        RemoveFile(BuildShortcutPath(strFolder, pszTitle), stayed);
}

static void RemoveStartMenuGroup(std::vector<std::string>& stayed)
{
    for (const char* pszTitle : s_rgszGroupLinks)
        RemoveLink(0, pszTitle, stayed);
    if (!g_strStartMenuGroup.empty())
        RemoveEmptiedFolder(g_strStartMenuGroup, stayed);
}

static void RemoveKeys(std::vector<std::string>& stayed)
{
    RemoveRegistryEntries();
    for (const char* pszKey : { PRODUCT_KEY, APP_PATH_KEY, UNINSTALL_KEY }) {
        HKEY hKey;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            continue;
        ::RegCloseKey(hKey);
        stayed.push_back(std::string("HKEY_LOCAL_MACHINE\\") + pszKey + " (could not be deleted)");
    }
}

std::vector<std::string> RemoveInstallation(const std::string& strDirectory)
{
    std::vector<std::string> stayed;
    for (const char* pszName : s_rgszInstalledFiles) {
        int bProgramFile = ::lstrcmpiA(pszName, "Uninstall.exe") == 0;
        RemoveFile(JoinPath(strDirectory, pszName), stayed, bProgramFile ? PROGRAM_FILE_ATTEMPTS : 1);
    }
    DeleteExpansionLeftovers(strDirectory);
    RemoveStartMenuGroup(stayed);
    RemoveLink(1, "Lumivane", stayed);
    RemoveKeys(stayed);
    // A drive root is no folder of ours to remove.
    if (strDirectory.size() > 3)
        RemoveEmptiedFolder(strDirectory, stayed);
    return stayed;
}
