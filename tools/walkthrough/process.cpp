// The walk runs on test machines, never on the installer's oldest systems:
// it may read a process's image the way Vista and later offer.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "process.h"

#include <algorithm>

#include <shlwapi.h>
#include <tlhelp32.h>

#include "report.h"

static std::string BaseName(const std::string& strPath)
{
    size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

std::wstring WideText(const std::string& strText)
{
    std::wstring strWide(strText.size() + 1, L'\0');
    int nLength = ::MultiByteToWideChar(CP_UTF8, 0, strText.c_str(), -1, &strWide[0], static_cast<int>(strWide.size()));
    strWide.resize(nLength > 0 ? nLength - 1 : 0);
    return strWide;
}

CProcess::~CProcess()
{
    if (m_hProcess == NULL)
        return;
    if (IsRunning())
        ::TerminateProcess(m_hProcess, 1);
    ::CloseHandle(m_hProcess);
}

void CProcess::Start(const std::string& strProgram, const std::string& strArguments)
{
    std::wstring strWideProgram = WideText(strProgram);
    Launch(BaseName(strProgram), strWideProgram.c_str(),
           L"\"" + strWideProgram + L"\"" + (strArguments.empty() ? L"" : L" " + WideText(strArguments)));
}

void CProcess::StartCommand(const std::string& strCommandLine)
{
    Launch(strCommandLine, NULL, WideText(strCommandLine));
}

void CProcess::Launch(const std::string& strName, const wchar_t* pszProgram, std::wstring strCommandLine)
{
    m_strName = strName;
    STARTUPINFOW si;
    ::ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    if (!::CreateProcessW(pszProgram, &strCommandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        Fail("could not start " + strName + " (error " + std::to_string(::GetLastError()) + ")");
    ::CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    m_nId = pi.dwProcessId;
    Note("started %s (process %lu)", m_strName.c_str(), static_cast<unsigned long>(m_nId));
}

bool CProcess::IsRunning() const
{
    return m_hProcess != NULL && ::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

DWORD CProcess::WaitForExit(DWORD nTimeoutMs)
{
    if (::WaitForSingleObject(m_hProcess, nTimeoutMs) != WAIT_OBJECT_0)
        Fail(m_strName + " is still running " + std::to_string(nTimeoutMs / 1000) + " s after it should have ended");
    DWORD nExitCode = 0;
    ::GetExitCodeProcess(m_hProcess, &nExitCode);
    return nExitCode;
}

void CProcess::ExpectExitCode(DWORD nExpected, DWORD nTimeoutMs)
{
    DWORD nExitCode = WaitForExit(nTimeoutMs);
    if (nExitCode != nExpected)
        Fail(m_strName + " ended with exit code " + std::to_string(nExitCode) + ", expected " +
             std::to_string(nExpected));
    Note("%s ended with exit code %lu", m_strName.c_str(), static_cast<unsigned long>(nExitCode));
}

// Every running process, as the system lists them at this moment; none
// when it cannot.
static std::vector<PROCESSENTRY32> RunningProcesses()
{
    std::vector<PROCESSENTRY32> processes;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return processes;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore; bMore = ::Process32Next(hSnapshot, &entry))
        processes.push_back(entry);
    ::CloseHandle(hSnapshot);
    return processes;
}

void EndProcessesNamed(const std::vector<std::string>& patterns)
{
    for (const PROCESSENTRY32& entry : RunningProcesses()) {
        for (const std::string& strPattern : patterns) {
            if (!::PathMatchSpecA(entry.szExeFile, strPattern.c_str()))
                continue;
            HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
            if (hProcess == NULL)
                continue;
            Note("ending a leftover %s (process %lu)", entry.szExeFile,
                 static_cast<unsigned long>(entry.th32ProcessID));
            ::TerminateProcess(hProcess, 1);
            ::WaitForSingleObject(hProcess, 5000);
            ::CloseHandle(hProcess);
        }
    }
}

DWORD ParentProcessOf(HWND hWnd)
{
    DWORD nProcess = 0, nParent = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcess);
    for (const PROCESSENTRY32& entry : RunningProcesses())
        nParent = entry.th32ProcessID == nProcess ? entry.th32ParentProcessID : nParent;
    return nParent;
}

bool IsParentOf(DWORD nParent, const char* pszProgram)
{
    for (const PROCESSENTRY32& entry : RunningProcesses()) {
        if (entry.th32ParentProcessID == nParent && ::lstrcmpiA(entry.szExeFile, pszProgram) == 0)
            return true;
    }
    return false;
}

std::string ImageOf(HWND hWnd)
{
    DWORD nProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcess);
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, nProcess);
    char szImage[MAX_PATH] = "";
    DWORD nSize = MAX_PATH;
    if (hProcess != NULL) {
        if (!::QueryFullProcessImageNameA(hProcess, 0, szImage, &nSize))
            szImage[0] = '\0';
        ::CloseHandle(hProcess);
    }
    return szImage;
}

CSuspendedProcesses::CSuspendedProcesses(const char* pszProgram)
{
    std::vector<DWORD> processes;
    for (const PROCESSENTRY32& entry : RunningProcesses()) {
        if (::lstrcmpiA(entry.szExeFile, pszProgram) == 0)
            processes.push_back(entry.th32ProcessID);
    }
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        Fail("cannot list the running threads");
    THREADENTRY32 thread;
    thread.dwSize = sizeof(thread);
    for (BOOL bMore = ::Thread32First(hSnapshot, &thread); bMore; bMore = ::Thread32Next(hSnapshot, &thread)) {
        if (std::find(processes.begin(), processes.end(), thread.th32OwnerProcessID) == processes.end())
            continue;
        HANDLE hThread = ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread.th32ThreadID);
        if (hThread != NULL && ::SuspendThread(hThread) != static_cast<DWORD>(-1))
            m_threads.push_back(hThread);
        else if (hThread != NULL)
            ::CloseHandle(hThread);
    }
    ::CloseHandle(hSnapshot);
    if (m_threads.empty())
        Fail(std::string("no thread of ") + pszProgram + " could be stopped");
    Note("stopped %u threads of %s", static_cast<unsigned>(m_threads.size()), pszProgram);
}

CSuspendedProcesses::~CSuspendedProcesses()
{
    for (HANDLE hThread : m_threads) {
        ::ResumeThread(hThread);
        ::CloseHandle(hThread);
    }
}
