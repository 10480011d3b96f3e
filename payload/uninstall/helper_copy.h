// The uninstaller's copy of itself, in a new folder of its own in the Windows
// folder's Temp. The program in the installation directory cannot delete
// its own file while it runs, so it starts this copy and ends; the copy waits
// for it, removes the installation and is deleted by the system, with its
// folder, when it ends in turn.
//   StartHelperCopy     copies the program, starts the copy and hands it over
//   ParseHelperCommand  the copy's command line
//   WaitForOriginal     until the original has ended, or a while at most
//   LeaveCopyFolder     the copy's last act: its folder goes
#pragma once

#include <windows.h>

#include <string>

// Nonzero when the copy runs; zero leaves nothing behind.
int StartHelperCopy(const std::string& strProgram, const std::string& strDirectory);

// The copy's command line: the original's process, the handle that deletes
// the copy's file, the installation directory.
struct SHelperCommand
{
    HANDLE hOriginal;
    HANDLE hCopy;
    std::string strDirectory;
};
// Zero for any command line but the one StartHelperCopy gives.
int ParseHelperCommand(const char* pszCommandLine, SHelperCommand* pCommand);

void WaitForOriginal(HANDLE hOriginal);

void LeaveCopyFolder(HANDLE hCopy);
