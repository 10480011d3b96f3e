#include "process.h"

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
    m_strName = BaseName(strProgram);
    std::wstring strWideProgram = WideText(strProgram);
    std::wstring strCommandLine = L"\"" + strWideProgram + L"\"" + (strArguments.empty() ? L"" : L" " + WideText(strArguments));
    STARTUPINFOW si;
    ::ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    if (!::CreateProcessW(strWideProgram.c_str(), &strCommandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        Fail("could not start " + strProgram + " (error " + std::to_string(::GetLastError()) + ")");
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

void EndProcessesNamed(const std::vector<std::string>& patterns)
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore; bMore = ::Process32Next(hSnapshot, &entry)) {
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
    ::CloseHandle(hSnapshot);
}

DWORD ParentProcessOf(HWND hWnd)
{
    DWORD nProcess = 0, nParent = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcess);
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore; bMore = ::Process32Next(hSnapshot, &entry))
        nParent = entry.th32ProcessID == nProcess ? entry.th32ParentProcessID : nParent;
    ::CloseHandle(hSnapshot);
    return nParent;
}
