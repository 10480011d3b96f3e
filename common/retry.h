// Another program's brief hold on a file of the installation.
//   IsHeldFileError  whether a failure says another program holds the file
//   RetryWhileHeld   an operation on such a file, tried again for a moment
#pragma once

#include <windows.h>

// A virus scanner opens each new file for a moment as soon as its writer lets
// go: about two seconds in all is what a user waits before the error box.
const int HELD_FILE_PAUSES = 8;
const DWORD HELD_FILE_PAUSE_MS = 250;

inline int IsHeldFileError(DWORD dwError)
{
    return dwError == ERROR_SHARING_VIOLATION || dwError == ERROR_ACCESS_DENIED;
}

// fnTry returns nonzero on success and leaves the failure in GetLastError.
// Any other failure is final at once; a hold, once the pauses are used up.
template <typename Fn>
int RetryWhileHeld(Fn fnTry)
{
    for (int nPause = 0;; ++nPause) {
        if (fnTry())
            return 1;
        if (nPause == HELD_FILE_PAUSES || !IsHeldFileError(::GetLastError()))
            return 0;
        ::Sleep(HELD_FILE_PAUSE_MS);
    }
}
