#include "setup_mutex.h"

// Global: another user's session installing into Program Files and HKLM
// works on the same installation.
const char g_szSetupMutex[] = "Global\\InstallLV_Lumivane_Setup";

int TakeSetupMutex(BOOL bInheritable)
{
    SECURITY_ATTRIBUTES sa = { sizeof(sa), NULL, bInheritable };
    // Holding is having it open, so no ownership is asked for; the handle is
    // never closed, and the process end lets go.
    HANDLE hMutex = ::CreateMutexA(&sa, FALSE, g_szSetupMutex);
    DWORD nError = ::GetLastError();
    // Access denied: another user made it, and its security keeps us out.
    // Any other failure leaves a set-up unguarded rather than refused.
    if (hMutex == NULL)
        return nError != ERROR_ACCESS_DENIED;
    if (nError != ERROR_ALREADY_EXISTS)
        return 1;
    ::CloseHandle(hMutex);
    return 0;
}
