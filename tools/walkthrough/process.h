// The programs a walk starts, and the ones it must not inherit.
//   CProcess           a started program: its windows, its end and exit code;
//                      one left running when a walk fails is ended with it
//   EndProcessesNamed  every running program whose file name matches one of
//                      the given patterns ("Lumivane.exe", "LVU*.tmp")
//   ParentProcessOf    the process that started the one showing a window
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
    DWORD Id() const { return m_nId; }
    // Fails the walk unless the program ends within the wait.
    DWORD WaitForExit(DWORD nTimeoutMs = DEFAULT_WAIT_MS);
    void ExpectExitCode(DWORD nExpected, DWORD nTimeoutMs = DEFAULT_WAIT_MS);
    bool IsRunning() const;
    // A dialog or message box of this program (screen.h).
    CScreen Expect(const std::string& strCaption) const { return ::Expect(strCaption, m_nId); }

private:
    HANDLE m_hProcess;
    DWORD m_nId;
    std::string m_strName;
};

void EndProcessesNamed(const std::vector<std::string>& patterns);
// 0 when the window's process is not found.
DWORD ParentProcessOf(HWND hWnd);

// Paths are UTF-8, so that a program can be started from a folder whose name
// the ANSI code page cannot spell; plain ASCII is the same either way.
std::wstring WideText(const std::string& strText);
