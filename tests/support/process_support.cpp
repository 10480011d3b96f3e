#include "process_support.h"

HANDLE StartProgram(const std::string& strProgram, const std::string& strFolder, DWORD* pdwProcessId)
{
    std::string strCommand = "\"" + strProgram + "\"";
    STARTUPINFOA si;
    ::ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    if (!::CreateProcessA(strProgram.c_str(), &strCommand[0], NULL, NULL, FALSE, 0, NULL, strFolder.c_str(), &si,
                          &pi))
        return NULL;
    ::CloseHandle(pi.hThread);
    *pdwProcessId = pi.dwProcessId;
    return pi.hProcess;
}

bool WaitForProcessEnd(HANDLE hProcess, DWORD dwTimeoutMs)
{
    return hProcess != NULL && ::WaitForSingleObject(hProcess, dwTimeoutMs) == WAIT_OBJECT_0;
}

static DWORD ProcessOfWindow(HWND hWnd)
{
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    return dwProcessId;
}

static HWND FindShownMessageBox(const char* pszCaption, DWORD dwProcessId, DWORD dwNotProcessId)
{
    HWND hBox = NULL;
    while ((hBox = ::FindWindowExA(NULL, hBox, "#32770", pszCaption)) != NULL) {
        DWORD dwOwner = ProcessOfWindow(hBox);
        bool bWanted = dwProcessId != 0 ? dwOwner == dwProcessId : dwOwner != dwNotProcessId;
        // Shown only once its text and buttons are in place.
        if (bWanted && ::IsWindowVisible(hBox))
            return hBox;
    }
    return NULL;
}

HWND WaitForMessageBox(const char* pszCaption, DWORD dwProcessId, DWORD dwNotProcessId, DWORD dwTimeoutMs)
{
    DWORD dwStart = ::GetTickCount();
    for (;;) {
        HWND hBox = FindShownMessageBox(pszCaption, dwProcessId, dwNotProcessId);
        if (hBox != NULL || ::GetTickCount() - dwStart > dwTimeoutMs)
            return hBox;
        ::Sleep(50);
    }
}

std::string MessageBoxText(HWND hBox)
{
    // The box's text control; another process's window text has to be asked for.
    char szText[4096] = "";
    DWORD_PTR dwResult = 0;
    ::SendMessageTimeoutA(::GetDlgItem(hBox, 0xFFFF), WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText),
                          SMTO_ABORTIFHUNG, PROCESS_TIMEOUT_MS, &dwResult);
    return szText;
}

void AnswerMessageBox(HWND hBox, int nButton)
{
    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hBox, nButton)));
}

HANDLE OpenProcessOfWindow(HWND hWnd)
{
    return ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, ProcessOfWindow(hWnd));
}

std::set<std::string> NamesInFolder(const std::string& strFolder, const char* pszPattern)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA find;
    HANDLE hFind = ::FindFirstFileA((strFolder + "\\" + pszPattern).c_str(), &find);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string strName = find.cFileName;
        if (strName != "." && strName != "..")
            names.insert(strName);
    } while (::FindNextFileA(hFind, &find));
    ::FindClose(hFind);
    return names;
}
