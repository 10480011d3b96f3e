// Running a program of our own in its own process and answering its message
// boxes from the test, as a user would. Every wait is bounded.
//   StartProgram         the program, standing in a given folder
//   WaitForProcessEnd    until the process has ended, or false after the timeout
//   WaitForMessageBox    a shown message box with this caption, of one process
//                        or of any but one
//   MessageBoxText       the text a box shows
//   AnswerMessageBox     presses one of its buttons
//   OpenProcessOfWindow  the process a window belongs to
//   NamesInFolder        the names in a folder that match a pattern
#pragma once

#include <windows.h>

#include <set>
#include <string>

// The bound of every wait below, in milliseconds.
const DWORD PROCESS_TIMEOUT_MS = 20000;

HANDLE StartProgram(const std::string& strProgram, const std::string& strFolder, DWORD* pdwProcessId);
bool WaitForProcessEnd(HANDLE hProcess, DWORD dwTimeoutMs = PROCESS_TIMEOUT_MS);

// dwProcessId 0 with dwNotProcessId: a box of any process but that one.
HWND WaitForMessageBox(const char* pszCaption, DWORD dwProcessId, DWORD dwNotProcessId = 0,
                       DWORD dwTimeoutMs = PROCESS_TIMEOUT_MS);
std::string MessageBoxText(HWND hBox);
void AnswerMessageBox(HWND hBox, int nButton);
HANDLE OpenProcessOfWindow(HWND hWnd);

std::set<std::string> NamesInFolder(const std::string& strFolder, const char* pszPattern = "*");
