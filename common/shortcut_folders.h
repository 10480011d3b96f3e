// Where the product's shortcut files go.
//   GetShortcutFolder   the desktop, or the product's Start Menu group folder
//   BuildShortcutPath   folder + "\" + title + ".lnk"
//   FindStartMenuGroup  the product's group folder in the Programs folder
//   GetPathFromIDList   a shell item's file-system path, whole
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

// Empty when the code page cannot spell the folder's name.
std::string GetShortcutFolder(int bDesktop);
std::string BuildShortcutPath(const std::string& strFolder, const char* pszTitle);
// The Programs folder as the shell names it + "\Lumivane"; a fixed folder
// under C:\Windows when the shell cannot name it; empty when the code page
// cannot spell the name.
std::string FindStartMenuGroup();

// Zero when the item has no file-system path, strPath then unchanged; or when
// the programs' code page cannot spell its path, strPath then empty: no
// folder rather than another. One longer than MAX_PATH_TEXT comes whole, for
// the caller to refuse.
int GetPathFromIDList(LPCITEMIDLIST pidl, std::string& strPath);
