// The platform calls that the test build of the installer makes through the
// seam: SEAM_CALL(result, name, parameters, arguments). The build makes the
// redirecting header from this list; seam.h and seam.cpp make the hooks and
// the pass-through. Only calls that a test replaces belong here.
SEAM_CALL(int, MessageBoxA, (HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType), (hWnd, lpText, lpCaption, uType))
SEAM_CALL(INT_PTR, DialogBoxParamA, (HINSTANCE hInstance, LPCSTR lpTemplate, HWND hParent, DLGPROC pfnDialog, LPARAM lParam), (hInstance, lpTemplate, hParent, pfnDialog, lParam))
SEAM_CALL(HMODULE, LoadLibraryA, (LPCSTR lpLibFileName), (lpLibFileName))
SEAM_CALL(FARPROC, GetProcAddress, (HMODULE hModule, LPCSTR lpProcName), (hModule, lpProcName))
SEAM_CALL(BOOL, GetDiskFreeSpaceA, (LPCSTR lpRoot, LPDWORD pSectorsPerCluster, LPDWORD pBytesPerSector, LPDWORD pFreeClusters, LPDWORD pClusters), (lpRoot, pSectorsPerCluster, pBytesPerSector, pFreeClusters, pClusters))
SEAM_CALL(HRSRC, FindResourceA, (HMODULE hModule, LPCSTR lpName, LPCSTR lpType), (hModule, lpName, lpType))
SEAM_CALL(UINT, GetWindowsDirectoryA, (LPSTR lpBuffer, UINT uSize), (lpBuffer, uSize))
SEAM_CALL(HRESULT, CoInitialize, (LPVOID pvReserved), (pvReserved))
SEAM_CALL(HRESULT, CoCreateInstance, (REFCLSID rclsid, LPUNKNOWN pOuter, DWORD dwContext, REFIID riid, LPVOID* ppv), (rclsid, pOuter, dwContext, riid, ppv))
SEAM_CALL(LONG, RegSetValueExA, (HKEY hKey, LPCSTR lpName, DWORD dwReserved, DWORD dwType, const BYTE* lpData, DWORD cbData), (hKey, lpName, dwReserved, dwType, lpData, cbData))
SEAM_CALL(PIDLIST_ABSOLUTE, SHBrowseForFolderA, (LPBROWSEINFOA lpbi), (lpbi))
SEAM_CALL(BOOL, SetFileTime, (HANDLE hFile, const FILETIME* lpCreationTime, const FILETIME* lpLastAccessTime, const FILETIME* lpLastWriteTime), (hFile, lpCreationTime, lpLastAccessTime, lpLastWriteTime))
SEAM_CALL(BOOL, GetTokenInformation, (HANDLE hToken, TOKEN_INFORMATION_CLASS eClass, LPVOID pInformation, DWORD nLength, PDWORD pnReturned), (hToken, eClass, pInformation, nLength, pnReturned))
