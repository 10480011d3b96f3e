// Files of an installation.
//   FolderHasEntries     whether a search of the folder finds anything at all
//   DeleteMatchingFiles  the plain files of a folder that match a wildcard pattern
//   DeleteInstalledFile  one file, telling whether it is gone
//   DeleteInstalledFileEvenReadOnly  the same, past a read-only mark
//   DeleteExpansionLeftovers  the version library's temporary copies in a folder
//   FindExpansionLeftovers, DeleteNewExpansionLeftovers  those of one expansion
#pragma once

#include <string>
#include <vector>

// An existing folder other than a drive root always holds its own "." entry.
int FolderHasEntries(const std::string& strFolder);
// Read-only files and subfolders stay; nothing is reported.
void DeleteMatchingFiles(std::string strDirectory, std::string strPattern);
// Nonzero when the file is gone afterwards: deleted now, or never there;
// otherwise GetLastError tells why.
int DeleteInstalledFile(const std::string& strPath);
// A read-only mark does not keep a file of ours; a file that stays all the
// same keeps its mark.
int DeleteInstalledFileEvenReadOnly(const std::string& strPath);

// The version library expands into a temporary file of its own, named as
// GetTempFileName names it ("VER", one to four hexadecimal digits, ".TMP", in
// any case), and renames it at the end; an expansion cut short leaves it.
// Only plain files directly in the folder go.
void DeleteExpansionLeftovers(const std::string& strFolder);

// The names of those copies in the folder, as a search finds them.
std::vector<std::string> FindExpansionLeftovers(const std::string& strFolder);
// After a failed expansion: the copies not among those found before it, and
// the one the library named (by its last path part) when it has their form.
// A copy held for a moment by another program is waited for. Gives the names
// found new, gone or not.
std::vector<std::string> DeleteNewExpansionLeftovers(const std::string& strFolder,
                                                     const std::vector<std::string>& before, const std::string& strNamed);

