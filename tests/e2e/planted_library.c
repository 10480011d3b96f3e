/* A library of the tests' own making, named like the version library and
   planted where a program should never take it from. Loaded, it leaves a
   marker file beside itself that says when: "S" with the process's start
   (another library imports it), "R" at run time (loaded by name). It lacks
   the call that expands the payload, so an installer that takes it for the
   version library cannot install. Wine's own user32 imports it, and asks it
   for a file's version information first: there is none. */
#include <windows.h>

__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR pszName, LPDWORD pnHandle)
{
    (void)pszName, (void)pnHandle;
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    char szMarker[MAX_PATH + 8];
    DWORD nLength = GetModuleFileNameA(hInstance, szMarker, MAX_PATH), nWritten = 0;
    if (dwReason == DLL_PROCESS_ATTACH && nLength > 0 && nLength < MAX_PATH) {
        HANDLE hMarker;
        lstrcatA(szMarker, ".loaded");
        hMarker = CreateFileA(szMarker, FILE_APPEND_DATA, 0, NULL, OPEN_ALWAYS, 0, NULL);
        WriteFile(hMarker, pvReserved != NULL ? "S" : "R", 1, &nWritten, NULL);
        CloseHandle(hMarker);
    }
    return TRUE;
}
