/* A library of the tests' own making, named like the version library and
   planted where a program should never take it from: loaded, it leaves a
   marker file beside itself. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    char szMarker[MAX_PATH + 8];
    DWORD nLength = GetModuleFileNameA(hInstance, szMarker, MAX_PATH);
    (void)pvReserved;
    if (dwReason == DLL_PROCESS_ATTACH && nLength > 0 && nLength < MAX_PATH) {
        lstrcatA(szMarker, ".loaded");
        CloseHandle(CreateFileA(szMarker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    return TRUE;
}
