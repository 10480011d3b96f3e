#include "shortcut_folders.h"

#include <shlobj.h>

#include "install/paths.h"

// The desktop as the shell names it; the Windows directory's "Desktop" when
// the shell cannot.
static std::string GetDesktopFolder()
{
    char szPath[MAX_PATH];
    UINT nLength = ::GetWindowsDirectoryA(szPath, MAX_PATH);
    std::string strFolder = std::string(szPath, nLength < MAX_PATH ? nLength : 0) + "\\Desktop";
    LPITEMIDLIST pidl = NULL;
    if (::SHGetSpecialFolderLocation(NULL, CSIDL_DESKTOP, &pidl) == S_OK) {
        if (::SHGetPathFromIDListA(pidl, szPath))
            strFolder = szPath;
        ::CoTaskMemFree(pidl);
    }
    return strFolder;
}

std::string GetShortcutFolder(int bDesktop)
{
    return bDesktop ? GetDesktopFolder() : g_strStartMenuGroup;
}

std::string BuildShortcutPath(const std::string& strFolder, const char* pszTitle)
{
    return strFolder + "\\" + pszTitle + ".lnk";
}

std::string FindStartMenuGroup()
{
    std::string strGroup = "C:\\Windows\\Start Menu\\Programs\\Lumivane";
    LPITEMIDLIST pidl = NULL;
    if (::SHGetSpecialFolderLocation(NULL, CSIDL_PROGRAMS, &pidl) != S_OK)
        return strGroup;
    char szPath[MAX_PATH];
    if (::SHGetPathFromIDListA(pidl, szPath))
        strGroup = std::string(szPath) + "\\Lumivane";
    ::CoTaskMemFree(pidl);
    return strGroup;
}
