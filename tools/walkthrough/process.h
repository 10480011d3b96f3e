// The programs a walk starts, and the ones it must not inherit.
//   CProcess           a started program: its windows, its end and exit code;
//                      one left running when a walk fails is ended with it
//   EndProcessesNamed  every running program whose file name matches one of
//                      the given patterns ("Lumivane.exe", "LVU*.tmp")
//   ParentProcessOf    the process that started the one showing a window
//   IsParentOf         whether a process started a program of a name
//   ImageOf            the program file of the process showing a window
//   CSuspendedProcesses  every thread of the programs of a name stopped, for a while
//   WideText           UTF-8 text in UTF-16
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "report.h"
#include "screen.h"

class CProcess
{
public:
    CProcess() : m_hProcess(NULL), m_nId(0) {}
    ~CProcess();
    CProcess(const CProcess&) = delete;
    CProcess& operator=(const CProcess&) = delete;

    // A start that fails fails the walk. The arguments go on the command
    // line as they are, after the program's quoted path; both in UTF-8.
    void Start(const std::string& strProgram, const std::string& strArguments = "");
    // A whole command line, as the list of removable programs runs an
    // uninstall entry: the system reads the program off it.
    void StartCommand(const std::string& strCommandLine);
    DWORD Id() const { return m_nId; }
    // Fails the walk unless the program ends within the wait.
    DWORD WaitForExit(DWORD nTimeoutMs = DEFAULT_WAIT_MS);
    void ExpectExitCode(DWORD nExpected, DWORD nTimeoutMs = DEFAULT_WAIT_MS);
    bool IsRunning() const;
    // A dialog or message box of this program (screen.h).
    CScreen Expect(const std::string& strCaption) const { return ::Expect(strCaption, m_nId); }

private:
    void Launch(const std::string& strName, const wchar_t* pszProgram, std::wstring strCommandLine);

    HANDLE m_hProcess;
    DWORD m_nId;
    std::string m_strName;
};

void EndProcessesNamed(const std::vector<std::string>& patterns);
// 0 when the window's process is not found.
DWORD ParentProcessOf(HWND hWnd);
// Whether a running program of that file name was started by the process.
bool IsParentOf(DWORD nParent, const char* pszProgram);

// Empty when the window's process cannot be read.
std::string ImageOf(HWND hWnd);

// As a program that stops answering: started again when this goes.
class CSuspendedProcesses
{
public:
    explicit CSuspendedProcesses(const char* pszProgram);
    ~CSuspendedProcesses();
    CSuspendedProcesses(const CSuspendedProcesses&) = delete;
    CSuspendedProcesses& operator=(const CSuspendedProcesses&) = delete;

private:
    std::vector<HANDLE> m_threads;
};

// Paths are UTF-8, so that a program can be started from a folder whose name
// the ANSI code page cannot spell; plain ASCII is the same either way.
std::wstring WideText(const std::string& strText);
