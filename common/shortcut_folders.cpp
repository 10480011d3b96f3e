#include "shortcut_folders.h"

#include "common/paths.h"

// From Vista on, the headers show it only to programs for those systems;
// only the UTF-8 code page, which no older system has, is given it.
#ifndef WC_ERR_INVALID_CHARS
#define WC_ERR_INVALID_CHARS 0x00000080
#endif

// A wide text in the programs' code page, whole and as it stands, or nothing:
// the system would put a look-alike in place of a character the code page
// lacks ("Ł" as "L"), which names another folder. UTF-8 spells every text;
// only a text that is no text at all (a lone surrogate) is refused there.
static int ConvertToCodePage(const WCHAR* pszWide, std::string& strText)
{
    int bUtf8 = ::GetACP() == CP_UTF8;
    DWORD dwFlags = bUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL bDefaultUsed = FALSE;
    // Room for MAX_PATH wide characters in any code page: UTF-8 takes three
    // bytes for one at most, the others two.
    char szText[3 * MAX_PATH];
    if (::WideCharToMultiByte(CP_ACP, dwFlags, pszWide, -1, szText, sizeof(szText), NULL,
                              bUtf8 ? NULL : &bDefaultUsed) == 0 ||
        bDefaultUsed)
        return 0;
    strText = szText;
    return 1;
}

// The narrow call fits the path into MAX_PATH bytes, cutting a long one
// short, which would name another folder; here it comes whole, for the
// caller to refuse.
int GetPathFromIDList(LPCITEMIDLIST pidl, std::string& strPath)
{
    WCHAR szWide[MAX_PATH];
    if (!::SHGetPathFromIDListW(pidl, szWide))
        return 0;
    if (ConvertToCodePage(szWide, strPath))
        return 1;
    strPath.clear();
    return 0;
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
    return strPrograms.empty() ? strPrograms : strPrograms + "\\Lumivane";
}
