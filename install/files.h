// Files of an installation.
//   FolderHasEntries     whether a search of the folder finds anything at all
//   DeleteMatchingFiles  the plain files of a folder that match a wildcard pattern
//   DeleteInstalledFile  one file, telling whether it is gone
#pragma once

#include <string>

// An existing folder other than a drive root always holds its own "." entry.
int FolderHasEntries(const std::string& strFolder);
// Read-only files and subfolders stay; nothing is reported.
void DeleteMatchingFiles(std::string strDirectory, std::string strPattern);
// Nonzero when the file is gone afterwards: deleted now, or never there.
int DeleteInstalledFile(const std::string& strPath);
