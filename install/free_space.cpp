#include "free_space.h"

#include <windows.h>

#include "common/library_search.h"

typedef BOOL(WINAPI* PFN_GETDISKFREESPACEEXA)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

static FreeSpace JudgeFreeBytes(unsigned long long nFreeBytes)
{
    return nFreeBytes >= FREE_SPACE_NEEDED ? FREE_SPACE_ENOUGH : FREE_SPACE_SHORT;
}

static FreeSpace AskDiskFreeSpaceEx(PFN_GETDISKFREESPACEEXA pfnGetDiskFreeSpaceEx, const std::string& strDrive)
{
    ULARGE_INTEGER nAvailable, nTotal, nTotalFree;
    if (!pfnGetDiskFreeSpaceEx(strDrive.c_str(), &nAvailable, &nTotal, &nTotalFree))
        return FREE_SPACE_UNKNOWN;
    return JudgeFreeBytes(nAvailable.QuadPart);
}

static FreeSpace AskDiskFreeSpace(const std::string& strDrive)
{
    DWORD nSectorsPerCluster, nBytesPerSector, nFreeClusters;
    if (!::GetDiskFreeSpaceA(strDrive.c_str(), &nSectorsPerCluster, &nBytesPerSector, &nFreeClusters, NULL))
        return FREE_SPACE_UNKNOWN;
    // Three 32-bit factors: a product past 64 bits is plenty anyway.
    unsigned long long nFreeBytes = static_cast<unsigned long long>(nSectorsPerCluster) * nBytesPerSector;
    if (nFreeBytes != 0 && nFreeClusters > ~0ULL / nFreeBytes)
        return FREE_SPACE_ENOUGH;
    return JudgeFreeBytes(nFreeBytes * nFreeClusters);
}

// The 64-bit query is not on every Windows: it is looked up, and the older
// call stands in when it is missing.
FreeSpace DetermineFreeSpace(const std::string& strDrive)
{
    HMODULE hKernel = LoadSystemLibrary("Kernel32.dll");
    if (hKernel == NULL)
        return FREE_SPACE_UNKNOWN;
    PFN_GETDISKFREESPACEEXA pfnGetDiskFreeSpaceEx =
        reinterpret_cast<PFN_GETDISKFREESPACEEXA>(reinterpret_cast<void*>(::GetProcAddress(hKernel, "GetDiskFreeSpaceExA")));
    FreeSpace result = pfnGetDiskFreeSpaceEx != NULL ? AskDiskFreeSpaceEx(pfnGetDiskFreeSpaceEx, strDrive)
                                                     : AskDiskFreeSpace(strDrive);
    ::FreeLibrary(hKernel);
    return result;
}
