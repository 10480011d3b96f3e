#include "report.h"

#include <cstdarg>
#include <cstdio>

static bool s_bQuiet = false;

void SetQuiet(bool bQuiet)
{
    s_bQuiet = bQuiet;
}

void Fail(const std::string& strAccount)
{
    throw CWalkFailure(strAccount);
}

void Note(const char* pszFormat, ...)
{
    if (s_bQuiet)
        return;
    va_list args;
    va_start(args, pszFormat);
    std::vprintf(pszFormat, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

bool WaitFor(const std::function<bool()>& fnCondition, DWORD nTimeoutMs)
{
    DWORD nStart = ::GetTickCount();
    for (;;) {
        if (fnCondition())
            return true;
        if (::GetTickCount() - nStart >= nTimeoutMs)
            return false;
        ::Sleep(20);
    }
}

std::string ToText(const std::string& str)
{
    std::string strText = "\"";
    for (char ch : str) {
        if (ch == '\r')
            strText += "\\r";
        else if (ch == '\n')
            strText += "\\n";
        else
            strText += ch;
    }
    return strText + "\"";
}
