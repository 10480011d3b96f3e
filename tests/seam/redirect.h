// Put in front of every source of the test program (compiler option -include):
// the installer's platform calls listed here go to the seam, which passes each
// one on to the platform unless a test has replaced it.
#pragma once

#include "seam_functions.h"

#define MessageBoxA Seam_MessageBoxA
#define DialogBoxParamA Seam_DialogBoxParamA
#define LoadLibraryA Seam_LoadLibraryA
#define GetProcAddress Seam_GetProcAddress
#define FindWindowA Seam_FindWindowA
#define PostMessageA Seam_PostMessageA
#define CoInitialize Seam_CoInitialize
#define SHGetSpecialFolderLocation Seam_SHGetSpecialFolderLocation
#define SHGetPathFromIDListA Seam_SHGetPathFromIDListA
#define SHBrowseForFolderA Seam_SHBrowseForFolderA
#define RegOpenKeyExA Seam_RegOpenKeyExA
#define RegQueryValueExA Seam_RegQueryValueExA
#define LoadStringA Seam_LoadStringA
#define GetSystemMenu Seam_GetSystemMenu
#define GetSystemMetrics Seam_GetSystemMetrics
#define GetCurrentDirectoryA Seam_GetCurrentDirectoryA
#define CreateFileA Seam_CreateFileA
