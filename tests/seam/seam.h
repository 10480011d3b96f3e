// What tests do with the seam.
//   seam::g_hooks  replacements of platform calls; an empty one means the real call
//   seam::g_boxes  message boxes: the answers to give, and a record of each box
//   seam::Reset    back to the real platform and no boxes
//   seam::Real...  the platform's own call, for a hook that watches a call and
//                  lets it through (test code calling the plain name would
//                  reach its own hook again)
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "seam_functions.h"

namespace seam {

struct Hooks
{
    std::function<INT_PTR(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM)> fnDialogBoxParamA;
    std::function<HMODULE(LPCSTR)> fnLoadLibraryA;
    std::function<UINT(LPSTR, UINT)> fnGetWindowsDirectoryA;
    std::function<FARPROC(HMODULE, LPCSTR)> fnGetProcAddress;
    std::function<HWND(LPCSTR, LPCSTR)> fnFindWindowA;
    std::function<BOOL(HWND, UINT, WPARAM, LPARAM)> fnPostMessageA;
    std::function<BOOL(HWND, int, LPCSTR)> fnSetDlgItemTextA;
    std::function<HINSTANCE(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)> fnShellExecuteA;
    std::function<HRESULT(LPVOID)> fnCoInitialize;
    std::function<HRESULT(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)> fnCoCreateInstance;
    std::function<BOOL(LPCSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD)> fnGetDiskFreeSpaceA;
    std::function<HRESULT(HWND, int, LPITEMIDLIST*)> fnSHGetSpecialFolderLocation;
    std::function<BOOL(LPCITEMIDLIST, LPSTR)> fnSHGetPathFromIDListA;
    std::function<LPITEMIDLIST(LPBROWSEINFOA)> fnSHBrowseForFolderA;
    std::function<LONG(HKEY, LPCSTR, DWORD, REGSAM, PHKEY)> fnRegOpenKeyExA;
    std::function<LONG(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD)>
        fnRegCreateKeyExA;
    std::function<LONG(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD)> fnRegSetValueExA;
    std::function<LONG(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD)> fnRegQueryValueExA;
    std::function<int(HINSTANCE, UINT, LPSTR, int)> fnLoadStringA;
    std::function<HMENU(HWND, BOOL)> fnGetSystemMenu;
    std::function<int(int)> fnGetSystemMetrics;
    std::function<BOOL(HWND)> fnDestroyWindow;
    std::function<BOOL(UINT)> fnMessageBeep;
    std::function<HFONT(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR)>
        fnCreateFontA;
    std::function<HBRUSH(COLORREF)> fnCreateSolidBrush;
    std::function<BOOL(HGDIOBJ)> fnDeleteObject;
    std::function<HRSRC(HMODULE, LPCSTR, LPCSTR)> fnFindResourceA;
    std::function<DWORD(DWORD, LPSTR)> fnGetCurrentDirectoryA;
    std::function<HANDLE(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)> fnCreateFileA;
};

extern Hooks g_hooks;

struct BoxRecord
{
    HWND hOwner;
    std::string strText;
    std::string strCaption;
    UINT uType;
};

// No real message box is ever shown by the test program. Each box is recorded,
// written to stderr as one line (so a test whose process ends can still be
// checked), and answered from the queue; with nothing queued, with its first
// button (IDOK or IDYES), as Enter would.
class CMessageBoxScript
{
public:
    void Answer(int nAnswer) { m_answers.push_back(nAnswer); }
    int Show(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT uType);
    void Clear();

    std::vector<BoxRecord> m_records;
    std::deque<int> m_answers;
    // Called as each box is shown, while its owner is as the box finds it.
    std::function<void(const BoxRecord&)> m_fnOnShow;
};

extern CMessageBoxScript g_boxes;

// The line a box leaves on stderr, for tests of processes that end.
std::string DescribeBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT uType);

void Reset();

// The platform's own calls, for hooks that wrap them.
FARPROC RealGetProcAddress(HMODULE hModule, LPCSTR lpProcName);
LONG RealRegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                         REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                         LPDWORD lpdwDisposition);
LONG RealRegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                          LPDWORD lpcbData);
BOOL RealSetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
HINSTANCE RealShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                            INT nShowCmd);
LONG RealRegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                        DWORD cbData);
HRESULT RealCoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);
BOOL RealDestroyWindow(HWND hWnd);
HFONT RealCreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                      DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                      DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName);
HBRUSH RealCreateSolidBrush(COLORREF color);
BOOL RealDeleteObject(HGDIOBJ hObject);
HRSRC RealFindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);

}  // namespace seam
