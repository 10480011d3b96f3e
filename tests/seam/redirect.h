// Put in front of every source of the test program (compiler option -include):
// the installer's platform calls listed here go to the seam, which passes each
// one on to the platform unless a test has replaced it.
#pragma once

#include "seam_functions.h"

#define MessageBoxA Seam_MessageBoxA
#define DialogBoxParamA Seam_DialogBoxParamA
#define LoadLibraryA Seam_LoadLibraryA
#define GetWindowsDirectoryA Seam_GetWindowsDirectoryA
#define GetProcAddress Seam_GetProcAddress
#define FindWindowA Seam_FindWindowA
#define PostMessageA Seam_PostMessageA
#define SetDlgItemTextA Seam_SetDlgItemTextA
#define ShellExecuteA Seam_ShellExecuteA
#define CoInitialize Seam_CoInitialize
#define CoCreateInstance Seam_CoCreateInstance
#define GetDiskFreeSpaceA Seam_GetDiskFreeSpaceA
#define SHGetSpecialFolderLocation Seam_SHGetSpecialFolderLocation
#define SHGetPathFromIDListA Seam_SHGetPathFromIDListA
#define SHBrowseForFolderA Seam_SHBrowseForFolderA
#define RegOpenKeyExA Seam_RegOpenKeyExA
#define RegCreateKeyExA Seam_RegCreateKeyExA
#define RegSetValueExA Seam_RegSetValueExA
#define RegQueryValueExA Seam_RegQueryValueExA
#define LoadStringA Seam_LoadStringA
#define GetSystemMenu Seam_GetSystemMenu
#define GetSystemMetrics Seam_GetSystemMetrics
#define DestroyWindow Seam_DestroyWindow
#define MessageBeep Seam_MessageBeep
#define CreateFontA Seam_CreateFontA
#define CreateSolidBrush Seam_CreateSolidBrush
#define DeleteObject Seam_DeleteObject
#define FindResourceA Seam_FindResourceA
#define GetCurrentDirectoryA Seam_GetCurrentDirectoryA
#define CreateFileA Seam_CreateFileA
