// The installer's entry point. Before the run-time library starts (its
// start-up and the static constructors run code of this file too, which a
// damaged download can break), the library search is restricted and the
// program file is checked against its seal, with system calls only.
#include <windows.h>

#include "common/integrity.h"
#include "common/library_search.h"

extern "C" int WinMainCRTStartup(void);  // the run-time library's entry for a GUI program

// Enough for the DOS and PE headers, where the seal and the certificate entry stand.
static const DWORD HEADER_BYTES = 4096;

// The program file's own path, in the form that opens it whatever its length.
static const WCHAR* GetSetupFilePath(WCHAR* pszBuffer, DWORD nSize)
{
    static const WCHAR szLongPrefix[] = L"\\\\?\\";  // lifts the classic length limit
    const DWORD nPrefix = ARRAYSIZE(szLongPrefix) - 1;
    WCHAR* pszPath = pszBuffer + nPrefix;
    DWORD nLength = ::GetModuleFileNameW(NULL, pszPath, nSize - nPrefix);
    if (nLength == 0 || nLength >= nSize - nPrefix)
        return NULL;
    if (nLength < MAX_PATH || pszPath[0] == L'\\')  // short, or a device or network path already
        return pszPath;
    for (DWORD i = 0; i < nPrefix; ++i)
        pszBuffer[i] = szLongPrefix[i];
    return pszBuffer;
}

// Whether the mapped file matches its seal. Its size is compared with the
// seal before anything past the headers is read, so a long tail stuck on is
// refused unread.
static int IsMappedFileWhole(HANDLE hMapping, ULONGLONG nFileSize)
{
    DWORD nHeaders = nFileSize < HEADER_BYTES ? static_cast<DWORD>(nFileSize) : HEADER_BYTES;
    const void* pHeaders = ::MapViewOfFile(hMapping, FILE_MAP_READ, 0, 0, nHeaders);
    if (pHeaders == NULL)
        return 0;
    int bSized = IsFileSizeSealed(static_cast<const unsigned char*>(pHeaders), nHeaders, nFileSize);
    ::UnmapViewOfFile(pHeaders);
    if (!bSized)
        return 0;
    const void* pImage = ::MapViewOfFile(hMapping, FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(nFileSize));
    if (pImage == NULL)
        return 0;
    int bWhole = IsImageWhole(static_cast<const unsigned char*>(pImage), static_cast<size_t>(nFileSize));
    ::UnmapViewOfFile(pImage);
    return bWhole;
}

static int IsSetupFileWhole()
{
    WCHAR szBuffer[32768];
    const WCHAR* pszPath = GetSetupFilePath(szBuffer, ARRAYSIZE(szBuffer));
    if (pszPath == NULL)
        return 0;
    // Others may hold the file in any way while it runs.
    HANDLE hFile = ::CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                 OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER nSize;
    HANDLE hMapping = NULL;
    if (::GetFileSizeEx(hFile, &nSize) && nSize.QuadPart > 0)
        hMapping = ::CreateFileMappingW(hFile, NULL, PAGE_READONLY, 0, 0, NULL);
    int bWhole = hMapping != NULL && IsMappedFileWhole(hMapping, static_cast<ULONGLONG>(nSize.QuadPart));
    if (hMapping != NULL)
        ::CloseHandle(hMapping);
    ::CloseHandle(hFile);
    return bWhole;
}

extern "C" int SetupEntry(void)
{
    RestrictLibrarySearch();
    if (!IsSetupFileWhole()) {
        ::MessageBoxA(NULL, "Setup file is corrupted!", "ERROR", MB_OK | MB_ICONHAND);
        ::ExitProcess(0);
    }
    return WinMainCRTStartup();
}
