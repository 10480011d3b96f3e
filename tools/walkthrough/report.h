// What every part of the walk reports through.
//   Fail         ends the walk with an account of what went wrong
//   Note         a line of progress on standard output, unless made quiet
//   WaitFor      polls a condition until it holds or the wait runs out
//   ToText       a text with its line breaks made visible, for accounts
#pragma once

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>

class CWalkFailure : public std::runtime_error
{
public:
    explicit CWalkFailure(const std::string& strAccount) : std::runtime_error(strAccount) {}
};

[[noreturn]] void Fail(const std::string& strAccount);
void Note(const char* pszFormat, ...);
void SetQuiet(bool bQuiet);

const DWORD DEFAULT_WAIT_MS = 20000;
bool WaitFor(const std::function<bool()>& fnCondition, DWORD nTimeoutMs = DEFAULT_WAIT_MS);
std::string ToText(const std::string& str);
