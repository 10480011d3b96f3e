// Path texts of the installation.
//   MAX_PATH_TEXT        the longest path the installer handles, in characters
//   AppendProductFolder  the target directory for a folder picked in the browser
#pragma once

#include <windows.h>

#include <string>

const size_t MAX_PATH_TEXT = MAX_PATH - 1;

// strFolder with "\<strProduct>" appended unless it already names the product
// (a case-sensitive search); a drive root gets no second backslash. Zero when
// the result would be longer than MAX_PATH_TEXT.
int AppendProductFolder(const std::string& strFolder, const std::string& strProduct, std::string& strTarget);
