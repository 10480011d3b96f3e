// Where the product's shortcut files go.
//   GetShortcutFolder  the desktop, or the product's Start Menu group folder
//   BuildShortcutPath  folder + "\" + title + ".lnk"
#pragma once

#include <string>

std::string GetShortcutFolder(int bDesktop);
std::string BuildShortcutPath(const std::string& strFolder, const char* pszTitle);
