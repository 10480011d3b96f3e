// What tests do with the seam.
//   seam::g_hooks  replacements of platform calls; an empty one means the real call
//   seam::g_boxes  message boxes: the answers to give, and a record of each box
//   seam::Reset    back to the real platform and no boxes
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
    std::function<FARPROC(HMODULE, LPCSTR)> fnGetProcAddress;
    std::function<HWND(LPCSTR, LPCSTR)> fnFindWindowA;
    std::function<BOOL(HWND, UINT, WPARAM, LPARAM)> fnPostMessageA;
    std::function<HRESULT(LPVOID)> fnCoInitialize;
    std::function<HRESULT(HWND, int, LPITEMIDLIST*)> fnSHGetSpecialFolderLocation;
    std::function<BOOL(LPCITEMIDLIST, LPSTR)> fnSHGetPathFromIDListA;
    std::function<LPITEMIDLIST(LPBROWSEINFOA)> fnSHBrowseForFolderA;
    std::function<LONG(HKEY, LPCSTR, DWORD, REGSAM, PHKEY)> fnRegOpenKeyExA;
    std::function<LONG(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD)> fnRegQueryValueExA;
    std::function<int(HINSTANCE, UINT, LPSTR, int)> fnLoadStringA;
    std::function<HMENU(HWND, BOOL)> fnGetSystemMenu;
    std::function<int(int)> fnGetSystemMetrics;
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
};

extern CMessageBoxScript g_boxes;

// The line a box leaves on stderr, for tests of processes that end.
std::string DescribeBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT uType);

void Reset();

}  // namespace seam
