// Files of an installation.
//   FolderHasEntries     whether a search of the folder finds anything at all
//   DeleteMatchingFiles  the plain files of a folder that match a wildcard pattern
#pragma once

#include <string>

// An existing folder other than a drive root always holds its own "." entry.
int FolderHasEntries(const std::string& strFolder);
// Read-only files and subfolders stay; nothing is reported.
void DeleteMatchingFiles(std::string strDirectory, std::string strPattern);
