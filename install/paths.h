// Path texts of the installation.
//   MAX_PATH_TEXT        the longest path the installer handles, in characters
//   g_strDefaultDir      the proposed target directory
//   g_strStartMenuGroup  the product's Start Menu group folder
//   AppendProductFolder  the target directory for a folder picked in the browser
//   SplitLevels          the directory levels below a drive, as the target check walks them
#pragma once

#include <windows.h>

#include <string>

#include <vector>

const size_t MAX_PATH_TEXT = MAX_PATH - 1;

extern std::string g_strDefaultDir;
extern std::string g_strStartMenuGroup;

// strFolder with "\<strProduct>" appended unless it already names the product
// (a case-sensitive search); a drive root gets no second backslash. Zero when
// the result would be longer than MAX_PATH_TEXT.
int AppendProductFolder(const std::string& strFolder, const std::string& strProduct, std::string& strTarget);

// The levels of "X:\a\b" from the drive's root down: "a", "b". Two
// backslashes in a row, or a trailing one, give an empty level, which no walk
// can enter; a bare drive root gives only that.
std::vector<std::string> SplitLevels(const std::string& strPath);
