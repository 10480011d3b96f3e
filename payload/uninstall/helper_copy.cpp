#include "helper_copy.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/library_search.h"
#include "common/retry.h"
#include "common/security.h"

static const char HELPER_SWITCH[] = "/helper ";
// The original only starts the copy and ends; far longer means it hangs.
static const DWORD ORIGINAL_END_TIMEOUT_MS = 30000;
static const WCHAR COPY_FILE_NAME[] = L"\\Uninstall.exe";
// Room in a MAX_PATH buffer for "\Temp\LVUxxxx.tmp\Uninstall.exe".
static const UINT COPY_PATH_ROOM = 40;
static const DWORD COPY_CHUNK = 65536;

typedef HANDLE(WINAPI* PFN_REOPENFILE)(HANDLE, DWORD, DWORD, DWORD);

// The Windows folder's Temp, not the user's temporary folder: any program of
// the user may rename, delete or re-point what stands in the latter, and
// point TEMP elsewhere; in the former users may make things, but not touch
// what an administrator made. The system's Windows folder: a program that is
// not aware of terminal sessions may be shown one of the user's own.
static int GetWindowsTempFolder(WCHAR* pszFolder)
{
    UINT nLength = ::GetSystemWindowsDirectoryW(pszFolder, MAX_PATH - COPY_PATH_ROOM);
    if (nLength == 0 || nLength >= MAX_PATH - COPY_PATH_ROOM)
        return 0;
    ::lstrcatW(pszFolder, L"\\Temp");
    return 1;
}

// A new folder of the copy's own there, made in one call with its owner and
// its access list, which lets no program without the administrators' rights
// in. A name that stands there already, of whatever kind, is passed over:
// whoever made it may have made it for us.
static int MakeCopyFolder(const WCHAR* pszTempFolder, WCHAR* pszFolder)
{
    CSecurityAttributes administratorsOnly(OWNED_BY_ADMINISTRATORS, FALSE);
    if (administratorsOnly.Get() == NULL)
        return 0;
    DWORD nSeed = ::GetTickCount() ^ ::GetCurrentProcessId();
    for (DWORD i = 0; i < 256; ++i) {
        ::wsprintfW(pszFolder, L"%s\\LVU%04lX.tmp", pszTempFolder, static_cast<unsigned long>((nSeed + i) & 0xFFFF));
        if (::CreateDirectoryW(pszFolder, administratorsOnly.Get()))
            return 1;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return 0;
    }
    return 0;
}

static int CopyContents(HANDLE hSource, HANDLE hTarget)
{
    std::vector<char> chunk(COPY_CHUNK);
    for (;;) {
        DWORD nRead = 0, nWritten = 0;
        if (!::ReadFile(hSource, chunk.data(), COPY_CHUNK, &nRead, NULL))
            return 0;
        if (nRead == 0)
            return 1;
        if (!::WriteFile(hTarget, chunk.data(), nRead, &nWritten, NULL) || nWritten != nRead)
            return 0;
    }
}

// The hold: a handle the copy inherits and closes only by ending, which
// deletes the copy's file then. Shared for reading only, so that the system
// can start the copy but nobody rewrites, renames or deletes it meanwhile;
// for writing too, with the writer, which ends next. A program cannot be
// started from a file its writer still holds, so the hold is made from the
// writer's handle: the very file written, whatever its name leads to by now.
// Older systems lack the call: by name, while the writer still keeps others out.
static HANDLE HoldForDeletion(HANDLE hWriter, const WCHAR* pszCopy)
{
    const DWORD dwAccess = GENERIC_READ | DELETE, dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
    PFN_REOPENFILE pfnReOpenFile = FindKernelFunction<PFN_REOPENFILE>("ReOpenFile");
    HANDLE hHold = pfnReOpenFile != NULL
                       ? pfnReOpenFile(hWriter, dwAccess, dwShare, FILE_FLAG_DELETE_ON_CLOSE)
                       : ::CreateFileW(pszCopy, dwAccess, dwShare, NULL, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (hHold != INVALID_HANDLE_VALUE && !::SetHandleInformation(hHold, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
        ::CloseHandle(hHold);
        return INVALID_HANDLE_VALUE;
    }
    return hHold;
}

// The copy, written into a new file; the hold on it, or INVALID_HANDLE_VALUE.
static HANDLE WriteHeldCopy(const std::string& strProgram, const WCHAR* pszCopy)
{
    HANDLE hSource = ::CreateFileA(strProgram.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (hSource == INVALID_HANDLE_VALUE)
        return INVALID_HANDLE_VALUE;
    HANDLE hHold = INVALID_HANDLE_VALUE;
    // Deletion is shared for the hold, which takes it over.
    HANDLE hWriter = ::CreateFileW(pszCopy, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
    if (hWriter != INVALID_HANDLE_VALUE) {
        if (CopyContents(hSource, hWriter))
            hHold = HoldForDeletion(hWriter, pszCopy);
        ::CloseHandle(hWriter);
    }
    ::CloseHandle(hSource);
    return hHold;
}

// "<copy>" /helper <handle of the original> <handle of the copy's file>
// <directory>; the directory is the rest of the line, so it needs no quotes.
static int BuildHelperCommand(const WCHAR* pszCopy, HANDLE hOriginal, HANDLE hCopy, const std::string& strDirectory,
                              WCHAR* pszCommand)
{
    WCHAR szDirectory[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, 0, strDirectory.c_str(), -1, szDirectory, MAX_PATH) == 0)
        return 0;
    // Within wsprintfW's 1024 characters: two paths of MAX_PATH at most.
    ::wsprintfW(pszCommand, L"\"%s\" /helper %lu %lu %s", pszCopy,
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hOriginal)),
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hCopy)), szDirectory);
    return 1;
}

static int RunCopy(const WCHAR* pszCopy, HANDLE hCopy, const WCHAR* pszTempFolder, const std::string& strDirectory)
{
    HANDLE hOriginal = NULL;
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &hOriginal,
                           SYNCHRONIZE, TRUE, 0))
        return 0;
    WCHAR szCommand[1024];
    STARTUPINFOW si;
    ::ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    // Started from the Temp folder, so nothing of it keeps the installation
    // directory in use.
    BOOL bStarted = BuildHelperCommand(pszCopy, hOriginal, hCopy, strDirectory, szCommand) &&
                    ::CreateProcessW(pszCopy, szCommand, NULL, NULL, TRUE, 0, NULL, pszTempFolder, &si, &pi);
    ::CloseHandle(hOriginal);
    if (!bStarted)
        return 0;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return 1;
}

int StartHelperCopy(const std::string& strProgram, const std::string& strDirectory)
{
    WCHAR szTempFolder[MAX_PATH], szFolder[MAX_PATH], szCopy[MAX_PATH];
    if (!GetWindowsTempFolder(szTempFolder) || !MakeCopyFolder(szTempFolder, szFolder))
        return 0;
    ::lstrcpyW(szCopy, szFolder);
    ::lstrcatW(szCopy, COPY_FILE_NAME);
    int bStarted = 0;
    // Without the hold the copy is not started: nothing would be sure to take it away.
    HANDLE hHold = WriteHeldCopy(strProgram, szCopy);
    if (hHold != INVALID_HANDLE_VALUE) {
        bStarted = RunCopy(szCopy, hHold, szTempFolder, strDirectory);
        ::CloseHandle(hHold);  // the last handle when the copy did not start
    }
    if (!bStarted) {
        ::DeleteFileW(szCopy);
        ::RemoveDirectoryW(szFolder);
    }
    return bStarted;
}

// Byte by byte: no code page's second byte is a quote, space or tab.
static const char* SkipProgramName(const char* psz)
{
    if (*psz == '"') {
        const char* pszEnd = std::strchr(psz + 1, '"');
        psz = pszEnd != NULL ? pszEnd + 1 : psz + std::strlen(psz);
    } else {
        while (*psz != '\0' && *psz != ' ' && *psz != '\t')
            ++psz;
    }
    while (*psz == ' ' || *psz == '\t')
        ++psz;
    return psz;
}

static const char* ParseHandle(const char* psz, HANDLE* phHandle)
{
    char* pszEnd = NULL;
    unsigned long nHandle = std::strtoul(psz, &pszEnd, 10);
    if (pszEnd == psz || *pszEnd != ' ' || pszEnd[1] == '\0')
        return NULL;
    *phHandle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nHandle));
    return pszEnd + 1;
}

int ParseHelperCommand(const char* pszCommandLine, SHelperCommand* pCommand)
{
    const char* psz = SkipProgramName(pszCommandLine);
    if (std::strncmp(psz, HELPER_SWITCH, sizeof(HELPER_SWITCH) - 1) != 0)
        return 0;
    psz = ParseHandle(psz + sizeof(HELPER_SWITCH) - 1, &pCommand->hOriginal);
    psz = psz != NULL ? ParseHandle(psz, &pCommand->hCopy) : NULL;
    if (psz == NULL)
        return 0;
    pCommand->strDirectory = psz;
    return 1;
}

void WaitForOriginal(HANDLE hOriginal)
{
    ::WaitForSingleObject(hOriginal, ORIGINAL_END_TIMEOUT_MS);
    ::CloseHandle(hOriginal);
}

// FILE_RENAME_INFO and its class, as documented: the headers show them only
// to programs for newer systems.
struct SRenameInfo
{
    BOOLEAN bReplaceIfExists;
    HANDLE hRootDirectory;
    DWORD nFileNameLength;  // in bytes
    WCHAR szFileName[1];
};
static const int FILE_RENAME_INFO_CLASS = 3;
typedef BOOL(WINAPI* PFN_SETFILEINFORMATIONBYHANDLE)(HANDLE, int, LPVOID, DWORD);

// Through the handle that deletes the file where there is one: some file
// systems delete on close by the name that handle was opened with.
static int MoveCopy(HANDLE hCopy, const WCHAR* pszCopy, const WCHAR* pszMoved)
{
    PFN_SETFILEINFORMATIONBYHANDLE pfnSetFileInformationByHandle =
        FindKernelFunction<PFN_SETFILEINFORMATIONBYHANDLE>("SetFileInformationByHandle");
    // By name (XP lacks the call) the hold's sharing refuses the move, and
    // the emptied folder goes at the next start of Windows instead.
    if (pfnSetFileInformationByHandle == NULL || hCopy == NULL)
        return ::MoveFileW(pszCopy, pszMoved);
    int nLength = ::lstrlenW(pszMoved);
    std::vector<WCHAR> info(sizeof(SRenameInfo) / sizeof(WCHAR) + nLength + 1);
    SRenameInfo* pInfo = reinterpret_cast<SRenameInfo*>(info.data());
    ::lstrcpyW(pInfo->szFileName, pszMoved);
    pInfo->nFileNameLength = nLength * sizeof(WCHAR);
    return pfnSetFileInformationByHandle(hCopy, FILE_RENAME_INFO_CLASS, pInfo,
                                         static_cast<DWORD>(info.size() * sizeof(WCHAR)));
}

// The copy's file stays until the copy has ended, and its folder with it. A
// running program's file can still be moved, on the same drive: out of the
// folder, where its deletion on close takes it all the same, and the emptied
// folder goes now.
void LeaveCopyFolder(HANDLE hCopy)
{
    WCHAR szCopy[MAX_PATH], szFolder[MAX_PATH], szMoved[MAX_PATH + 4];
    DWORD nLength = ::GetModuleFileNameW(NULL, szCopy, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return;
    ::lstrcpyW(szFolder, szCopy);
    WCHAR* pszLast = szFolder;
    for (WCHAR* psz = szFolder; *psz != L'\0'; ++psz)
        if (*psz == L'\\')
            pszLast = psz;
    *pszLast = L'\0';
    ::wsprintfW(szMoved, L"%s.exe", szFolder);
    // Another program looking into the folder holds it for a moment.
    if (!MoveCopy(hCopy, szCopy, szMoved) || !RetryWhileHeld([&] { return ::RemoveDirectoryW(szFolder); }))
        ::MoveFileExW(szFolder, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
}
