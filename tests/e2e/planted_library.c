/* Named like the version library and planted where no program should take
   it from. Loaded, it leaves a marker beside itself: "S" at a process's start
   (imported), "R" at run time (loaded by name). An installer that takes it
   cannot expand; Wine's user32, which imports it, finds no version info. */
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
