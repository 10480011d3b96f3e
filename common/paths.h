// Path texts of the installation, read a character at a time: in the East
// Asian code pages a character's second byte may be a backslash's (0x5C), so
// no path text is searched byte by byte. The installer and its uninstaller
// share this one reading.
//   MAX_PATH_TEXT        the longest path the installer handles, in bytes
//   g_strDefaultDir      the proposed target directory
//   g_strStartMenuGroup  the product's Start Menu group folder
//   FindNextSeparator    the next backslash at or after a position
//   EndsWithSeparator    whether the last character is a backslash
//   FileNamePart         what follows the last '\', '/' or ':'
//   DirectoryOfFile      the folder part of a file's path
//   JoinPath             a name inside a folder
//   IsSameFolder         whether two texts name one folder or file
//   AppendProductFolder  the target directory for a folder picked in the browser
//   SplitLevels          the directory levels below a drive, as the target check walks them
#pragma once

#include <windows.h>

#include <string>

#include <vector>

const size_t MAX_PATH_TEXT = MAX_PATH - 1;

extern std::string g_strDefaultDir;
extern std::string g_strStartMenuGroup;

// std::string::npos when there is none.
size_t FindNextSeparator(const std::string& strPath, size_t nFrom);
int EndsWithSeparator(const std::string& strPath);
std::string FileNamePart(const std::string& strPath);
// A drive root keeps its backslash ("C:\"); other folders end without one;
// empty for a bare name.
std::string DirectoryOfFile(const std::string& strPath);
// One backslash between them, also after a folder that ends in one.
std::string JoinPath(const std::string& strFolder, const std::string& strName);

// The full path with long names, without a trailing separator, equal once in
// upper case, compared code by code. A comparison by language would take
// "Strasse" and its spelling with the sharp s for one folder.
int IsSameFolder(const std::string& strFolder, const std::string& strOther);

// strFolder with "\<strProduct>" appended unless it already names the product
// (a case-sensitive search); a drive root gets no second backslash. Zero when
// the result would be longer than MAX_PATH_TEXT.
int AppendProductFolder(const std::string& strFolder, const std::string& strProduct, std::string& strTarget);

// The levels of "X:\a\b" from the drive's root down: "a", "b". Two
// backslashes in a row, or a trailing one, give an empty level, which no walk
// can enter; a bare drive root gives only that.
std::vector<std::string> SplitLevels(const std::string& strPath);
