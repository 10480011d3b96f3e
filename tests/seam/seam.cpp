// Built without the redirecting header: here the names are the platform's own.
#include "seam.h"

#include <shellapi.h>

#include <cstdio>

namespace seam {

Hooks g_hooks;
CMessageBoxScript g_boxes;

void Reset()
{
    g_hooks = Hooks();
    g_boxes.Clear();
}

static std::string Escape(LPCSTR lpsz)
{
    std::string strOut;
    for (; lpsz != NULL && *lpsz != '\0'; ++lpsz) {
        if (*lpsz == '\r')
            strOut += "\\r";
        else if (*lpsz == '\n')
            strOut += "\\n";
        else
            strOut += *lpsz;
    }
    return strOut;
}

std::string DescribeBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT uType)
{
    char szType[16];
    std::snprintf(szType, sizeof(szType), "0x%02X", uType);
    return "[box] caption=\"" + Escape(lpszCaption) + "\" type=" + szType + " text=\"" + Escape(lpszText) + "\"";
}

int CMessageBoxScript::Show(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT uType)
{
    BoxRecord record = { hOwner, lpszText != NULL ? lpszText : "", lpszCaption != NULL ? lpszCaption : "", uType };
    m_records.push_back(record);
    std::fprintf(stderr, "%s\n", DescribeBox(lpszText, lpszCaption, uType).c_str());
    std::fflush(stderr);
    if (m_fnOnShow)
        m_fnOnShow(record);
    if (!m_answers.empty()) {
        int nAnswer = m_answers.front();
        m_answers.pop_front();
        return nAnswer;
    }
    UINT uButtons = uType & MB_TYPEMASK;
    return uButtons == MB_YESNO || uButtons == MB_YESNOCANCEL ? IDYES : IDOK;
}

void CMessageBoxScript::Clear()
{
    m_records.clear();
    m_answers.clear();
    m_fnOnShow = nullptr;
}

BOOL RealSetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString)
{
    return SetDlgItemTextA(hDlg, nIDDlgItem, lpString);
}

HINSTANCE RealShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                            INT nShowCmd)
{
    return ShellExecuteA(hwnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd);
}

FARPROC RealGetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    return GetProcAddress(hModule, lpProcName);
}

LONG RealRegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                         REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                         LPDWORD lpdwDisposition)
{
    return RegCreateKeyExA(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired, lpSecurityAttributes, phkResult,
                           lpdwDisposition);
}

LONG RealRegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                          LPDWORD lpcbData)
{
    return RegQueryValueExA(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}

LONG RealRegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                        DWORD cbData)
{
    return RegSetValueExA(hKey, lpValueName, Reserved, dwType, lpData, cbData);
}

HRESULT RealCoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv)
{
    return CoCreateInstance(rclsid, pUnkOuter, dwClsContext, riid, ppv);
}

BOOL RealDestroyWindow(HWND hWnd) { return DestroyWindow(hWnd); }

HFONT RealCreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                      DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                      DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName)
{
    return CreateFontA(cHeight, cWidth, cEscapement, cOrientation, cWeight, bItalic, bUnderline, bStrikeOut, iCharSet,
                       iOutPrecision, iClipPrecision, iQuality, iPitchAndFamily, pszFaceName);
}

HBRUSH RealCreateSolidBrush(COLORREF color) { return CreateSolidBrush(color); }
BOOL RealDeleteObject(HGDIOBJ hObject) { return DeleteObject(hObject); }
HRSRC RealFindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType)
{
    return FindResourceA(hModule, lpName, lpType);
}

}  // namespace seam

using seam::g_hooks;

int WINAPI Seam_MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    return seam::g_boxes.Show(hWnd, lpText, lpCaption, uType);
}

INT_PTR WINAPI Seam_DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                                    DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (g_hooks.fnDialogBoxParamA)
        return g_hooks.fnDialogBoxParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
    return DialogBoxParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
}

HMODULE WINAPI Seam_LoadLibraryA(LPCSTR lpLibFileName)
{
    return g_hooks.fnLoadLibraryA ? g_hooks.fnLoadLibraryA(lpLibFileName) : LoadLibraryA(lpLibFileName);
}

UINT WINAPI Seam_GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize)
{
    return g_hooks.fnGetWindowsDirectoryA ? g_hooks.fnGetWindowsDirectoryA(lpBuffer, uSize)
                                          : GetWindowsDirectoryA(lpBuffer, uSize);
}

FARPROC WINAPI Seam_GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    return g_hooks.fnGetProcAddress ? g_hooks.fnGetProcAddress(hModule, lpProcName)
                                    : GetProcAddress(hModule, lpProcName);
}

HWND WINAPI Seam_FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    return g_hooks.fnFindWindowA ? g_hooks.fnFindWindowA(lpClassName, lpWindowName)
                                 : FindWindowA(lpClassName, lpWindowName);
}

BOOL WINAPI Seam_SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString)
{
    return g_hooks.fnSetDlgItemTextA ? g_hooks.fnSetDlgItemTextA(hDlg, nIDDlgItem, lpString)
                                     : SetDlgItemTextA(hDlg, nIDDlgItem, lpString);
}

HINSTANCE WINAPI Seam_ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                                    LPCSTR lpDirectory, INT nShowCmd)
{
    return g_hooks.fnShellExecuteA ? g_hooks.fnShellExecuteA(hwnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd)
                                   : ShellExecuteA(hwnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd);
}

BOOL WINAPI Seam_PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return g_hooks.fnPostMessageA ? g_hooks.fnPostMessageA(hWnd, Msg, wParam, lParam)
                                  : PostMessageA(hWnd, Msg, wParam, lParam);
}

HRESULT WINAPI Seam_CoInitialize(LPVOID pvReserved)
{
    return g_hooks.fnCoInitialize ? g_hooks.fnCoInitialize(pvReserved) : CoInitialize(pvReserved);
}

HRESULT WINAPI Seam_CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                     LPVOID* ppv)
{
    return g_hooks.fnCoCreateInstance ? g_hooks.fnCoCreateInstance(rclsid, pUnkOuter, dwClsContext, riid, ppv)
                                      : CoCreateInstance(rclsid, pUnkOuter, dwClsContext, riid, ppv);
}

BOOL WINAPI Seam_GetDiskFreeSpaceA(LPCSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
                                   LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters)
{
    return g_hooks.fnGetDiskFreeSpaceA
               ? g_hooks.fnGetDiskFreeSpaceA(lpRootPathName, lpSectorsPerCluster, lpBytesPerSector,
                                             lpNumberOfFreeClusters, lpTotalNumberOfClusters)
               : GetDiskFreeSpaceA(lpRootPathName, lpSectorsPerCluster, lpBytesPerSector, lpNumberOfFreeClusters,
                                   lpTotalNumberOfClusters);
}

HRESULT WINAPI Seam_SHGetSpecialFolderLocation(HWND hwnd, int csidl, LPITEMIDLIST* ppidl)
{
    return g_hooks.fnSHGetSpecialFolderLocation ? g_hooks.fnSHGetSpecialFolderLocation(hwnd, csidl, ppidl)
                                                : SHGetSpecialFolderLocation(hwnd, csidl, ppidl);
}

BOOL WINAPI Seam_SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath)
{
    return g_hooks.fnSHGetPathFromIDListA ? g_hooks.fnSHGetPathFromIDListA(pidl, pszPath)
                                          : SHGetPathFromIDListA(pidl, pszPath);
}

LPITEMIDLIST WINAPI Seam_SHBrowseForFolderA(LPBROWSEINFOA lpbi)
{
    return g_hooks.fnSHBrowseForFolderA ? g_hooks.fnSHBrowseForFolderA(lpbi) : SHBrowseForFolderA(lpbi);
}

LONG WINAPI Seam_RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult)
{
    return g_hooks.fnRegOpenKeyExA ? g_hooks.fnRegOpenKeyExA(hKey, lpSubKey, ulOptions, samDesired, phkResult)
                                   : RegOpenKeyExA(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}

LONG WINAPI Seam_RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                                  REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                                  LPDWORD lpdwDisposition)
{
    if (g_hooks.fnRegCreateKeyExA)
        return g_hooks.fnRegCreateKeyExA(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired,
                                         lpSecurityAttributes, phkResult, lpdwDisposition);
    return RegCreateKeyExA(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired, lpSecurityAttributes, phkResult,
                           lpdwDisposition);
}

LONG WINAPI Seam_RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                                DWORD cbData)
{
    return g_hooks.fnRegSetValueExA ? g_hooks.fnRegSetValueExA(hKey, lpValueName, Reserved, dwType, lpData, cbData)
                                    : RegSetValueExA(hKey, lpValueName, Reserved, dwType, lpData, cbData);
}

LONG WINAPI Seam_RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                  LPBYTE lpData, LPDWORD lpcbData)
{
    return g_hooks.fnRegQueryValueExA
               ? g_hooks.fnRegQueryValueExA(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData)
               : RegQueryValueExA(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}

int WINAPI Seam_LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax)
{
    return g_hooks.fnLoadStringA ? g_hooks.fnLoadStringA(hInstance, uID, lpBuffer, cchBufferMax)
                                 : LoadStringA(hInstance, uID, lpBuffer, cchBufferMax);
}

HMENU WINAPI Seam_GetSystemMenu(HWND hWnd, BOOL bRevert)
{
    return g_hooks.fnGetSystemMenu ? g_hooks.fnGetSystemMenu(hWnd, bRevert) : GetSystemMenu(hWnd, bRevert);
}

int WINAPI Seam_GetSystemMetrics(int nIndex)
{
    return g_hooks.fnGetSystemMetrics ? g_hooks.fnGetSystemMetrics(nIndex) : GetSystemMetrics(nIndex);
}

BOOL WINAPI Seam_DestroyWindow(HWND hWnd)
{
    return g_hooks.fnDestroyWindow ? g_hooks.fnDestroyWindow(hWnd) : DestroyWindow(hWnd);
}

BOOL WINAPI Seam_MessageBeep(UINT uType)
{
    return g_hooks.fnMessageBeep ? g_hooks.fnMessageBeep(uType) : MessageBeep(uType);
}

HFONT WINAPI Seam_CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                              DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                              DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName)
{
    if (g_hooks.fnCreateFontA)
        return g_hooks.fnCreateFontA(cHeight, cWidth, cEscapement, cOrientation, cWeight, bItalic, bUnderline,
                                     bStrikeOut, iCharSet, iOutPrecision, iClipPrecision, iQuality, iPitchAndFamily,
                                     pszFaceName);
    return CreateFontA(cHeight, cWidth, cEscapement, cOrientation, cWeight, bItalic, bUnderline, bStrikeOut, iCharSet,
                       iOutPrecision, iClipPrecision, iQuality, iPitchAndFamily, pszFaceName);
}

HBRUSH WINAPI Seam_CreateSolidBrush(COLORREF color)
{
    return g_hooks.fnCreateSolidBrush ? g_hooks.fnCreateSolidBrush(color) : CreateSolidBrush(color);
}

BOOL WINAPI Seam_DeleteObject(HGDIOBJ hObject)
{
    return g_hooks.fnDeleteObject ? g_hooks.fnDeleteObject(hObject) : DeleteObject(hObject);
}

HRSRC WINAPI Seam_FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType)
{
    return g_hooks.fnFindResourceA ? g_hooks.fnFindResourceA(hModule, lpName, lpType)
                                   : FindResourceA(hModule, lpName, lpType);
}

DWORD WINAPI Seam_GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer)
{
    return g_hooks.fnGetCurrentDirectoryA ? g_hooks.fnGetCurrentDirectoryA(nBufferLength, lpBuffer)
                                          : GetCurrentDirectoryA(nBufferLength, lpBuffer);
}

HANDLE WINAPI Seam_CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                               LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                               DWORD dwFlagsAndAttributes, HANDLE hTemplateFile)
{
    return g_hooks.fnCreateFileA ? g_hooks.fnCreateFileA(lpFileName, dwDesiredAccess, dwShareMode, lpSecurityAttributes,
                                                         dwCreationDisposition, dwFlagsAndAttributes, hTemplateFile)
                                 : CreateFileA(lpFileName, dwDesiredAccess, dwShareMode, lpSecurityAttributes,
                                               dwCreationDisposition, dwFlagsAndAttributes, hTemplateFile);
}
