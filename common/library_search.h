// Where the programs take the libraries they load by name: the system folder
// only. The folder a program starts from is searched first otherwise, and a
// downloads folder or the temporary folder holds files of anyone's making,
// which would run inside a program that runs elevated.
//   RestrictLibrarySearch  for the whole process; before anything loads a library
//   LoadSystemLibrary      one library, from the system folder; NULL when it is not there
//   FindKernelFunction     a call that not every Windows has; NULL where it is missing
#pragma once

#include <windows.h>

void RestrictLibrarySearch();
HMODULE LoadSystemLibrary(LPCSTR lpszName);

// By way of the one function type that converts to any other without complaint.
template <typename T> T FindKernelFunction(LPCSTR lpszName)
{
    // Loaded in every process: asking for it loads nothing.
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    return reinterpret_cast<T>(reinterpret_cast<void (*)()>(::GetProcAddress(hKernel, lpszName)));
}
