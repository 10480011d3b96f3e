// Where the product's shortcut files go.
//   GetShortcutFolder   the desktop, or the product's Start Menu group folder
//   BuildShortcutPath   folder + "\" + title + ".lnk"
//   FindStartMenuGroup  the product's group folder in the Programs folder
#pragma once

#include <string>

std::string GetShortcutFolder(int bDesktop);
std::string BuildShortcutPath(const std::string& strFolder, const char* pszTitle);
// The Programs folder as the shell names it + "\Lumivane"; a fixed folder
// under C:\Windows when the shell cannot name it.
std::string FindStartMenuGroup();
