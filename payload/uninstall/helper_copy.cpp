#include "helper_copy.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "install/library_search.h"
#include "install/retry.h"
#include "install/paths.h"
#include "install/security.h"

static const char HELPER_SWITCH[] = "/helper ";
// The original only starts the copy and ends; far longer means it hangs.
static const DWORD ORIGINAL_END_TIMEOUT_MS = 30000;

// A handle the copy inherits and closes only by ending. Opened with
// FILE_FLAG_DELETE_ON_CLOSE, it takes the copy's file with it; shared for
// reading only, so that the system can start the copy but nobody rewrites,
// renames or deletes it meanwhile.
static HANDLE HoldForDeletion(const char* pszCopy)
{
    // The copy keeps the original's read-only mark, which would refuse its
    // deletion.
    ::SetFileAttributesA(pszCopy, FILE_ATTRIBUTE_NORMAL);
    SECURITY_ATTRIBUTES sa = { sizeof(sa), NULL, TRUE };
    return ::CreateFileA(pszCopy, GENERIC_READ | DELETE, FILE_SHARE_READ, &sa, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE,
                         NULL);
}

// A new folder of the copy's own in the temporary folder, which every program
// writes into: nothing planted there beforehand stands beside the copy.
// CreateDirectory fails on a name that exists, so a folder made is new. Its
// access list, not inherited, lets no program without the administrators'
// rights replace the copy, which runs with them.
static int MakeCopyFolder(const char* pszTempFolder, std::string& strFolder)
{
    CSecurityAttributes administratorsOnly(ADMINISTRATORS_ONLY, FALSE);
    if (administratorsOnly.Get() == NULL)
        return 0;
    DWORD nSeed = ::GetTickCount() ^ ::GetCurrentProcessId();
    for (DWORD i = 0; i < 256; ++i) {
        char szName[16];
        ::wsprintfA(szName, "LVU%04lX.tmp", static_cast<unsigned long>((nSeed + i) & 0xFFFF));
        strFolder = std::string(pszTempFolder) + szName;
        if (::CreateDirectoryA(strFolder.c_str(), administratorsOnly.Get()))
            return 1;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return 0;
    }
    return 0;
}

// "<copy>" /helper <handle of the original> <handle of the copy's file>
// <directory>; the directory is the rest of the line, so it needs no quotes.
static std::string BuildHelperCommand(const char* pszCopy, HANDLE hOriginal, HANDLE hCopy,
                                      const std::string& strDirectory)
{
    char szHandles[48];
    ::wsprintfA(szHandles, "%lu %lu", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hOriginal)),
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hCopy)));
    return std::string("\"") + pszCopy + "\" " + HELPER_SWITCH + szHandles + " " + strDirectory;
}

static int RunCopy(const char* pszCopy, HANDLE hCopy, const char* pszTempFolder, const std::string& strDirectory)
{
    HANDLE hOriginal = NULL;
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &hOriginal,
                           SYNCHRONIZE, TRUE, 0))
        return 0;
    std::string strCommand = BuildHelperCommand(pszCopy, hOriginal, hCopy, strDirectory);
    STARTUPINFOA si;
    ::ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    // The copy stands in the temporary folder, so nothing of it keeps the
    // installation directory in use.
    BOOL bStarted = ::CreateProcessA(pszCopy, &strCommand[0], NULL, NULL, TRUE, 0, NULL, pszTempFolder, &si, &pi);
    ::CloseHandle(hOriginal);
    if (!bStarted)
        return 0;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return 1;
}

int StartHelperCopy(const std::string& strProgram, const std::string& strDirectory)
{
    char szTempFolder[MAX_PATH];
    DWORD nLength = ::GetTempPathA(MAX_PATH, szTempFolder);
    std::string strFolder;
    if (nLength == 0 || nLength >= MAX_PATH || !MakeCopyFolder(szTempFolder, strFolder))
        return 0;
    std::string strCopy = strFolder + "\\Uninstall.exe";
    int bStarted = 0;
    HANDLE hDeletion = INVALID_HANDLE_VALUE;
    // Without the hold the copy is not started: nothing would be sure to take it away.
    if (::CopyFileA(strProgram.c_str(), strCopy.c_str(), TRUE) &&
        (hDeletion = HoldForDeletion(strCopy.c_str())) != INVALID_HANDLE_VALUE) {
        bStarted = RunCopy(strCopy.c_str(), hDeletion, szTempFolder, strDirectory);
        ::CloseHandle(hDeletion);  // the last handle when the copy did not start
    }
    if (!bStarted) {
        ::DeleteFileA(strCopy.c_str());
        ::RemoveDirectoryA(strFolder.c_str());
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
static int MoveCopy(HANDLE hCopy, const char* pszCopy, const std::string& strMoved)
{
    PFN_SETFILEINFORMATIONBYHANDLE pfnSetFileInformationByHandle =
        FindKernelFunction<PFN_SETFILEINFORMATIONBYHANDLE>("SetFileInformationByHandle");
    // By name (XP lacks the call) the hold's sharing refuses the move, and
    // the emptied folder goes at the next start of Windows instead.
    if (pfnSetFileInformationByHandle == NULL || hCopy == NULL)
        return ::MoveFileA(pszCopy, strMoved.c_str());
    std::vector<WCHAR> info(sizeof(SRenameInfo) / sizeof(WCHAR) + strMoved.size() + 1);
    SRenameInfo* pInfo = reinterpret_cast<SRenameInfo*>(info.data());
    int nLength = ::MultiByteToWideChar(CP_ACP, 0, strMoved.c_str(), -1, pInfo->szFileName,
                                        static_cast<int>(strMoved.size() + 1));
    pInfo->nFileNameLength = nLength > 0 ? (nLength - 1) * sizeof(WCHAR) : 0;
    return nLength > 0 &&
           pfnSetFileInformationByHandle(hCopy, FILE_RENAME_INFO_CLASS, pInfo, static_cast<DWORD>(info.size() * sizeof(WCHAR)));
}

// The copy's file stays until the copy has ended, and its folder with it. A
// running program's file can still be moved, on the same drive: out of the
// folder, where its deletion on close takes it all the same, and the emptied
// folder goes now.
void LeaveCopyFolder(HANDLE hCopy)
{
    char szCopy[MAX_PATH];
    DWORD nLength = ::GetModuleFileNameA(NULL, szCopy, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return;
    std::string strFolder = DirectoryOfFile(szCopy);
    // Another program looking into the folder holds it for a moment.
    if (!MoveCopy(hCopy, szCopy, strFolder + ".exe") ||
        !RetryWhileHeld([&] { return ::RemoveDirectoryA(strFolder.c_str()); }))
        ::MoveFileExA(strFolder.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
}
