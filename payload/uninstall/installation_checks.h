// Whether this uninstaller may go ahead.
//   IsProductRunning  a running copy of the product holds its mutex or shows a
//                     window (a shell folder window of that name is no copy)
//   IsInstalledAt     the registry records the installation in this directory
//   DirectoryOfFile   the folder part of a file's full path
//   JoinPath          a name inside a folder
#pragma once

#include <string>

int IsProductRunning();
// Both the App Paths "Path" and the removable-programs "UninstallString"
// must name this directory and its Uninstall.exe, whatever the case.
int IsInstalledAt(const std::string& strDirectory);
// A drive root keeps its backslash ("C:\"); other folders end without one.
std::string DirectoryOfFile(const std::string& strPath);
std::string JoinPath(const std::string& strFolder, const std::string& strName);
