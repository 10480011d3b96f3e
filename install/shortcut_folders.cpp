#include "shortcut_folders.h"

#include "install/paths.h"

// The narrow call fits the path into MAX_PATH bytes, cutting a long one
// short, which would name another folder; here it comes whole, for the
// caller to refuse. A character the code page lacks is a '?', as there.
int GetPathFromIDList(LPCITEMIDLIST pidl, std::string& strPath)
{
    WCHAR szWide[MAX_PATH];
    if (!::SHGetPathFromIDListW(pidl, szWide))
        return 0;
    int nBytes = ::WideCharToMultiByte(CP_ACP, 0, szWide, -1, NULL, 0, NULL, NULL);
    if (nBytes <= 0)
        return 0;
    std::string strAnsi(nBytes, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, szWide, -1, &strAnsi[0], nBytes, NULL, NULL);
    strPath.assign(strAnsi.c_str());
    return 1;
}

// The desktop as the shell names it; the Windows directory's "Desktop" when
// the shell cannot.
static std::string GetDesktopFolder()
{
    char szWindows[MAX_PATH];
    UINT nLength = ::GetWindowsDirectoryA(szWindows, MAX_PATH);
    std::string strFolder = std::string(szWindows, nLength < MAX_PATH ? nLength : 0) + "\\Desktop";
    LPITEMIDLIST pidl = NULL;
    if (::SHGetSpecialFolderLocation(NULL, CSIDL_DESKTOP, &pidl) == S_OK) {
        GetPathFromIDList(pidl, strFolder);
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
    std::string strPrograms = "C:\\Windows\\Start Menu\\Programs";
    LPITEMIDLIST pidl = NULL;
    if (::SHGetSpecialFolderLocation(NULL, CSIDL_PROGRAMS, &pidl) == S_OK) {
        GetPathFromIDList(pidl, strPrograms);
        ::CoTaskMemFree(pidl);
    }
    return strPrograms + "\\Lumivane";
}
