// The free space of a drive, as the target check judges it.
//   FREE_SPACE_NEEDED  what an installation asks for, in bytes
//   DetermineFreeSpace enough, short, or not to be told
#pragma once

#include <string>

const unsigned long long FREE_SPACE_NEEDED = 400000;

enum FreeSpace
{
    FREE_SPACE_ENOUGH,
    FREE_SPACE_SHORT,
    FREE_SPACE_UNKNOWN,
};

// strDrive is a drive letter and a colon, "C:".
FreeSpace DetermineFreeSpace(const std::string& strDrive);
