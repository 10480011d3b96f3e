// Files of an installation.
//   FolderHasEntries     whether a search of the folder finds anything at all
//   DeleteMatchingFiles  the plain files of a folder that match a wildcard pattern
//   DeleteInstalledFile  one file, telling whether it is gone
//   DeleteExpansionLeftovers  the version library's temporary copies in a folder
#pragma once

#include <string>

// An existing folder other than a drive root always holds its own "." entry.
int FolderHasEntries(const std::string& strFolder);
// Read-only files and subfolders stay; nothing is reported.
void DeleteMatchingFiles(std::string strDirectory, std::string strPattern);
// Nonzero when the file is gone afterwards: deleted now, or never there.
int DeleteInstalledFile(const std::string& strPath);

// The version library expands into a temporary file of its own, named as
// GetTempFileName names it ("VER", one to four hexadecimal digits, ".TMP", in
// any case), and renames it at the end; an expansion cut short leaves it.
// Only plain files directly in the folder go.
void DeleteExpansionLeftovers(const std::string& strFolder);
