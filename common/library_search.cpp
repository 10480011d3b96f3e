#include "library_search.h"

#include <string>

typedef BOOL(WINAPI* PFN_SETDEFAULTDLLDIRECTORIES)(DWORD);
typedef BOOL(WINAPI* PFN_SETDLLDIRECTORYA)(LPCSTR);

// Runs before the run-time library has started: system calls only.
void RestrictLibrarySearch()
{
    PFN_SETDEFAULTDLLDIRECTORIES pfnSetDefaultDllDirectories =
        FindKernelFunction<PFN_SETDEFAULTDLLDIRECTORIES>("SetDefaultDllDirectories");
    if (pfnSetDefaultDllDirectories != NULL && pfnSetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // Older systems: the current folder at least is left out, and what the
    // programs load themselves they load by full path.
    PFN_SETDLLDIRECTORYA pfnSetDllDirectory = FindKernelFunction<PFN_SETDLLDIRECTORYA>("SetDllDirectoryA");
    if (pfnSetDllDirectory != NULL)
        pfnSetDllDirectory("");
}

HMODULE LoadSystemLibrary(LPCSTR lpszName)
{
    char szSystem[MAX_PATH];
    UINT nLength = ::GetSystemDirectoryA(szSystem, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return NULL;
    std::string strPath = std::string(szSystem) + "\\" + lpszName;
    return ::LoadLibraryA(strPath.c_str());
}
