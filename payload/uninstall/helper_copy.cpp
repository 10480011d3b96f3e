#include "helper_copy.h"

#include <cstdlib>
#include <cstring>

static const char HELPER_SWITCH[] = "/helper ";
// The original only starts the copy and ends; far longer means it hangs.
static const DWORD ORIGINAL_END_TIMEOUT_MS = 30000;

// A handle the copy inherits and closes only by ending. Opened with
// FILE_FLAG_DELETE_ON_CLOSE, it takes the copy's file with it; where the file
// system refuses that, the file goes at the next start of Windows.
static HANDLE HoldForDeletion(const char* pszCopy)
{
    SECURITY_ATTRIBUTES sa = { sizeof(sa), NULL, TRUE };
    HANDLE hFile = ::CreateFileA(pszCopy, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, &sa, OPEN_EXISTING,
                                 FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        ::MoveFileExA(pszCopy, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    return hFile;
}

// "<copy>" /helper <handle of the original> <directory>; the directory is the
// rest of the line, so it needs no quotes.
static std::string BuildHelperCommand(const char* pszCopy, HANDLE hOriginal, const std::string& strDirectory)
{
    char szHandle[24];
    ::wsprintfA(szHandle, "%lu", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hOriginal)));
    return std::string("\"") + pszCopy + "\" " + HELPER_SWITCH + szHandle + " " + strDirectory;
}

static int RunCopy(const char* pszCopy, const char* pszTempFolder, const std::string& strDirectory)
{
    HANDLE hOriginal = NULL;
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &hOriginal,
                           SYNCHRONIZE, TRUE, 0))
        return 0;
    std::string strCommand = BuildHelperCommand(pszCopy, hOriginal, strDirectory);
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
    char szCopy[MAX_PATH];
    if (nLength == 0 || nLength >= MAX_PATH || !::GetTempFileNameA(szTempFolder, "LVU", 0, szCopy))
        return 0;
    if (!::CopyFileA(strProgram.c_str(), szCopy, FALSE)) {
        ::DeleteFileA(szCopy);
        return 0;
    }
    HANDLE hDeletion = HoldForDeletion(szCopy);
    int bStarted = RunCopy(szCopy, szTempFolder, strDirectory);
    if (hDeletion != INVALID_HANDLE_VALUE)
        ::CloseHandle(hDeletion);  // the last handle when the copy did not start
    if (!bStarted)
        ::DeleteFileA(szCopy);
    return bStarted;
}

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

int ParseHelperCommand(const char* pszCommandLine, HANDLE* phOriginal, std::string& strDirectory)
{
    const char* psz = SkipProgramName(pszCommandLine);
    if (std::strncmp(psz, HELPER_SWITCH, sizeof(HELPER_SWITCH) - 1) != 0)
        return 0;
    psz += sizeof(HELPER_SWITCH) - 1;
    char* pszEnd = NULL;
    unsigned long nHandle = std::strtoul(psz, &pszEnd, 10);
    if (pszEnd == psz || *pszEnd != ' ' || pszEnd[1] == '\0')
        return 0;
    *phOriginal = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nHandle));
    strDirectory = pszEnd + 1;
    return 1;
}

void WaitForOriginal(HANDLE hOriginal)
{
    ::WaitForSingleObject(hOriginal, ORIGINAL_END_TIMEOUT_MS);
    ::CloseHandle(hOriginal);
}
