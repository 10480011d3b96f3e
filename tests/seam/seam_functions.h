// The platform calls that the test build of the installer makes through the
// seam. Each has the signature of the call it stands for.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

int WINAPI Seam_MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
INT_PTR WINAPI Seam_DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                                    DLGPROC lpDialogFunc, LPARAM dwInitParam);
HMODULE WINAPI Seam_LoadLibraryA(LPCSTR lpLibFileName);
UINT WINAPI Seam_GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize);
FARPROC WINAPI Seam_GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
HWND WINAPI Seam_FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName);
BOOL WINAPI Seam_SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
HINSTANCE WINAPI Seam_ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                                    LPCSTR lpDirectory, INT nShowCmd);
BOOL WINAPI Seam_PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
HRESULT WINAPI Seam_CoInitialize(LPVOID pvReserved);
HRESULT WINAPI Seam_CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                     LPVOID* ppv);
BOOL WINAPI Seam_GetDiskFreeSpaceA(LPCSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
                                   LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters);
HRESULT WINAPI Seam_SHGetSpecialFolderLocation(HWND hwnd, int csidl, LPITEMIDLIST* ppidl);
BOOL WINAPI Seam_SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath);
LPITEMIDLIST WINAPI Seam_SHBrowseForFolderA(LPBROWSEINFOA lpbi);
LONG WINAPI Seam_RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG WINAPI Seam_RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                                  REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                                  LPDWORD lpdwDisposition);
LONG WINAPI Seam_RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                                DWORD cbData);
LONG WINAPI Seam_RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                  LPBYTE lpData, LPDWORD lpcbData);
int WINAPI Seam_LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
HMENU WINAPI Seam_GetSystemMenu(HWND hWnd, BOOL bRevert);
int WINAPI Seam_GetSystemMetrics(int nIndex);
BOOL WINAPI Seam_DestroyWindow(HWND hWnd);
BOOL WINAPI Seam_MessageBeep(UINT uType);
HFONT WINAPI Seam_CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                              DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                              DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName);
HBRUSH WINAPI Seam_CreateSolidBrush(COLORREF color);
BOOL WINAPI Seam_DeleteObject(HGDIOBJ hObject);
HRSRC WINAPI Seam_FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
DWORD WINAPI Seam_GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);
HANDLE WINAPI Seam_CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                               LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                               DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
