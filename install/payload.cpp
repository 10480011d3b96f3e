#include "payload.h"

#include <cstdio>
#include <string>

#include "common/files.h"
#include "common/integrity.h"
#include "common/retry.h"
#include "dialogs/install_dialog.h"

HMODULE g_hVersionLibrary = NULL;

// Both in the current directory: the resource as stored, and its expansion.
static const char COMPRESSED_COPY[] = "LV.MSZ";
static const char EXPANDED_COPY[] = "LV.XXX";

// What the expansion reports when the version library lacks the call, and
// when an earlier LV.XXX cannot be deleted.
static const DWORD EXPANSION_UNAVAILABLE = 0xFFFFFFFF;
static const DWORD EARLIER_EXPANSION_KEPT = 0xFFFFFFFE;

// VerInstallFileA as documented (some headers declare its input texts writable).
typedef DWORD(APIENTRY* VerInstallFileProc)(DWORD uFlags, LPCSTR szSrcFileName, LPCSTR szDestFileName,
                                            LPCSTR szSrcDir, LPCSTR szDestDir, LPCSTR szCurDir, LPSTR szTmpFile,
                                            PUINT puTmpFileLen);

// Whether the payload's bytes have the checksum the build stored beside them,
// in an MSZCRC resource of the same id.
static int IsPayloadWhole(HMODULE hModule, UINT nResourceId, const void* pBytes, DWORD nSize)
{
    HRSRC hSum = ::FindResourceA(hModule, MAKEINTRESOURCEA(nResourceId), "MSZCRC");
    HGLOBAL hLoaded = hSum != NULL ? ::LoadResource(hModule, hSum) : NULL;
    const unsigned char* pSum = hLoaded != NULL ? static_cast<const unsigned char*>(::LockResource(hLoaded)) : NULL;
    if (pSum == NULL || ::SizeofResource(hModule, hSum) != 4)
        return 0;
    uint32_t nStored = pSum[0] | (pSum[1] << 8) | (pSum[2] << 16) | (static_cast<uint32_t>(pSum[3]) << 24);
    return Crc32(static_cast<const unsigned char*>(pBytes), nSize) == nStored;
}

// The payload resource's bytes; zero after the error box when there are none,
// or when they are not as built.
static int LockPayloadResource(CInstallDialog& dlg, UINT nResourceId, const void** ppBytes, DWORD* pnSize)
{
    HMODULE hModule = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hModule, MAKEINTRESOURCEA(nResourceId), "MSZ");
    HGLOBAL hLoaded = hResource != NULL ? ::LoadResource(hModule, hResource) : NULL;
    if (hLoaded == NULL) {
        dlg.ShowInstallError(0, "Setup file appears to be corrupted!");
        return 0;
    }
    *pnSize = ::SizeofResource(hModule, hResource);
    *ppBytes = ::LockResource(hLoaded);
    if (*ppBytes == NULL || *pnSize == 0) {
        dlg.ShowInstallError(0, "Setup file is corrupted!");
        return 0;
    }
    if (!IsPayloadWhole(hModule, nResourceId, *ppBytes, *pnSize)) {
        dlg.ShowInstallError(0, "Setup file appears to be corrupted!");
        return 0;
    }
    return 1;
}

// The resource bytes, still compressed, into LV.MSZ in one write straight from
// the resource memory; zero after the error box. A partly written file stays
// until Cancel.
static int WriteCompressedCopy(CInstallDialog& dlg, const void* pBytes, DWORD nSize)
{
    std::FILE* pFile = NULL;
    RetryWhileHeld([&] { return (pFile = std::fopen(COMPRESSED_COPY, "wb")) != NULL; });
    if (pFile == NULL) {
        dlg.ShowInstallError(0, "Can't overwrite temporary file \"LV.MSZ\"");
        return 0;
    }
    size_t nWritten = std::fwrite(pBytes, 1, nSize, pFile);
    // What the stream still holds reaches the disk only now. Its failure is a
    // short write too: passed over, a truncated file would be expanded and
    // installed. Not every run-time library reports it from the close alone.
    int bComplete = nWritten == nSize && std::fflush(pFile) == 0;
    bComplete = std::fclose(pFile) == 0 && bComplete;
    if (!bComplete) {
        dlg.ShowInstallError(0, "Insufficient space, or disk error");
        return 0;
    }
    return 1;
}

// Whether the file opens for reading now; GetLastError tells why not.
static int CanReadFile(LPCSTR lpszName)
{
    HANDLE hFile = ::CreateFileA(lpszName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return 0;
    ::CloseHandle(hFile);
    return 1;
}

// One call of the version library; a failed one takes its temporary copies
// with it, and adds their names to this run's. GetLastError then tells
// whether another program held a file.
static DWORD CallVerInstallFile(VerInstallFileProc pfnVerInstallFile, LPCSTR lpszCurrentDir,
                                std::vector<std::string>& leftovers)
{
    std::vector<std::string> before = FindExpansionLeftovers(lpszCurrentDir);
    char szTempFile[MAX_PATH];
    ::ZeroMemory(szTempFile, sizeof(szTempFile));
    UINT nTempFileLength = MAX_PATH;
    DWORD dwResult = pfnVerInstallFile(VIFF_FORCEINSTALL, COMPRESSED_COPY, EXPANDED_COPY, lpszCurrentDir,
                                       lpszCurrentDir, lpszCurrentDir, szTempFile, &nTempFileLength);
    DWORD dwError = ::GetLastError();
    if (dwResult & (VIF_SHARINGVIOLATION | VIF_ACCESSVIOLATION))
        dwError = ERROR_SHARING_VIOLATION;
    else if ((dwResult & VIF_CANNOTREADSRC) && !CanReadFile(COMPRESSED_COPY))
        dwError = ::GetLastError();  // the library's own error may be of another name it tried
    if (dwResult != 0) {
        szTempFile[MAX_PATH - 1] = '\0';
        std::vector<std::string> names = DeleteNewExpansionLeftovers(lpszCurrentDir, before, szTempFile);
        leftovers.insert(leftovers.end(), names.begin(), names.end());
    }
    ::SetLastError(dwError);
    return dwResult;
}

// Has the version library expand LV.MSZ into LV.XXX; 0 on success. The names
// of its temporary copies that a failure leaves are added to leftovers.
static DWORD ExpandCompressedCopy(LPCSTR lpszCurrentDir, std::vector<std::string>& leftovers)
{
    // An LV.XXX left by an earlier failed run must not pass for this run's
    // expansion when the expansion fails; one that stays fails it at once.
    if (!RetryWhileHeld([] { return DeleteInstalledFileEvenReadOnly(EXPANDED_COPY); }))
        return EARLIER_EXPANSION_KEPT;
    // By way of the one function type that converts to any other without complaint.
    VerInstallFileProc pfnVerInstallFile = reinterpret_cast<VerInstallFileProc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(g_hVersionLibrary, "VerInstallFileA")));
    if (pfnVerInstallFile == NULL)
        return EXPANSION_UNAVAILABLE;
    DWORD dwResult = 0;
    RetryWhileHeld([&] { return (dwResult = CallVerInstallFile(pfnVerInstallFile, lpszCurrentDir, leftovers)) == 0; });
    return dwResult;
}

// Gives the file the fixed time stamp, 10 December 2001 01:10:00 local time,
// as its creation, last-access and last-write time; zero when it cannot be opened.
static int StampInstalledFile(LPCSTR lpszFileName)
{
    HANDLE hFile = ::CreateFileA(lpszFileName, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return 0;
    SYSTEMTIME stamp;
    ::GetLocalTime(&stamp);  // only its day of the week stays, and the conversion ignores that
    stamp.wYear = 2001;
    stamp.wMonth = 12;
    stamp.wDay = 10;
    stamp.wHour = 1;
    stamp.wMinute = 10;
    stamp.wSecond = 0;
    stamp.wMilliseconds = 0;
    FILETIME ftLocal = { 0, 0 };
    FILETIME ftUniversal = { 0, 0 };
    ::SystemTimeToFileTime(&stamp, &ftLocal);
    ::LocalFileTimeToFileTime(&ftLocal, &ftUniversal);
    ::SetFileTime(hFile, &ftUniversal, &ftUniversal, &ftUniversal);
    ::CloseHandle(hFile);
    return 1;
}

int CInstallDialog::InstallPayloadFile(UINT nResourceId, LPCSTR lpszFileName)
{
    char szCurrentDir[MAX_PATH];
    DWORD nLength = ::GetCurrentDirectoryA(MAX_PATH, szCurrentDir);
    if (nLength == 0 || nLength >= MAX_PATH) {  // too long a directory gives the length it needs
        ShowInstallError(0, "Can't retrieve current directory");
        return 0;
    }
    const void* pBytes = NULL;
    DWORD nSize = 0;
    if (!LockPayloadResource(*this, nResourceId, &pBytes, &nSize) || !WriteCompressedCopy(*this, pBytes, nSize))
        return 0;

    std::string strFileName = lpszFileName;
    std::vector<std::string> leftovers;
    // A failed expansion is reported, but whether there is an LV.XXX to put in
    // place decides the outcome; an earlier run's is never put in place.
    DWORD dwExpansion = ExpandCompressedCopy(szCurrentDir, leftovers);
    for (const std::string& strName : leftovers)
        m_expansionLeftovers.push_back(std::make_pair(std::string(szCurrentDir), strName));
    if (dwExpansion != 0)
        ShowInstallError(0, ("Can't expand installation file " + strFileName).c_str());
    RetryWhileHeld([] { return DeleteInstalledFile(COMPRESSED_COPY); });
    if (dwExpansion == EARLIER_EXPANSION_KEPT)
        return 0;
    // An earlier copy may be read-only.
    RetryWhileHeld([&] { return DeleteInstalledFileEvenReadOnly(lpszFileName); });
    if (!RetryWhileHeld([&] { return std::rename(EXPANDED_COPY, lpszFileName) == 0; })) {
        ShowInstallError(0, ("Can't rename installation file " + strFileName).c_str());
        return 0;
    }
    if (!RetryWhileHeld([&] { return StampInstalledFile(lpszFileName); })) {
        ShowInstallError(0, ("Can't timestamp install file " + strFileName).c_str());
        return 0;
    }
    return 1;
}
