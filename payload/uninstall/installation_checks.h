// Whether this uninstaller may go ahead.
//   IsProductRunning  a running copy of the product holds its mutex or shows a
//                     window (a shell folder window of that name is no copy)
//   IsInstalledAt     the registry records the installation in this directory
#pragma once

#include <string>

int IsProductRunning();
// Both the App Paths "Path" and the removable-programs "UninstallString"
// must name this directory and its Uninstall.exe, whatever the case.
int IsInstalledAt(const std::string& strDirectory);
