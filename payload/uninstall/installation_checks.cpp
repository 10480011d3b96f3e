#include "installation_checks.h"

#include <windows.h>

#include "install/running_product.h"
#include "install/paths.h"
#include "install/registry.h"

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

// The path as the file system spells it in full: relative parts, short names
// and a trailing backslash do not make two names of one place differ.
static std::string NormalisePath(const std::string& strPath)
{
    char szFull[MAX_PATH];
    DWORD nLength = ::GetFullPathNameA(strPath.c_str(), MAX_PATH, szFull, NULL);
    if (nLength == 0 || nLength >= MAX_PATH)
        return strPath;
    char szLong[MAX_PATH];
    nLength = ::GetLongPathNameA(szFull, szLong, MAX_PATH);
    std::string strResult = nLength > 0 && nLength < MAX_PATH ? szLong : szFull;
    if (strResult.size() > 3 && strResult[strResult.size() - 1] == '\\')
        strResult.erase(strResult.size() - 1);
    return strResult;
}

static int IsSamePath(const std::string& strOne, const std::string& strOther)
{
    return ::lstrcmpiA(NormalisePath(strOne).c_str(), NormalisePath(strOther).c_str()) == 0;
}

int IsInstalledAt(const std::string& strDirectory)
{
    std::string strPath, strUninstaller;
    if (!ReadMachineText(APP_PATH_KEY, "Path", strPath) ||
        !ReadMachineText(UNINSTALL_KEY, "UninstallString", strUninstaller))
        return 0;
    return IsSamePath(strPath, strDirectory) && IsSamePath(strUninstaller, JoinPath(strDirectory, "Uninstall.exe"));
}

std::string DirectoryOfFile(const std::string& strPath)
{
    size_t nSlash = strPath.find_last_of('\\');
    if (nSlash == std::string::npos)
        return std::string();
    return strPath.substr(0, nSlash == 2 && strPath[1] == ':' ? 3 : nSlash);
}

std::string JoinPath(const std::string& strFolder, const std::string& strName)
{
    if (!strFolder.empty() && strFolder[strFolder.size() - 1] == '\\')
        return strFolder + strName;
    return strFolder + "\\" + strName;
}
