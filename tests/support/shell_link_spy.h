// A shell link that wraps the real one: it records the calls made on it, can
// fail the file-interface query or the save, and counts the references that
// are still held, so a test can see that every interface was released.
#pragma once

#include <shlobj.h>

#include <string>
#include <vector>

struct ShellLinkSpyLog
{
    std::vector<std::string> calls;
    int nCreated = 0;
    LONG nLiveReferences = 0;
    bool bFailQuery = false;
    bool bFailSave = false;
};

// A CoCreateInstance hook: CLSID_ShellLink gets a spy, the rest is refused.
HRESULT CreateShellLinkSpy(ShellLinkSpyLog* pLog, REFCLSID rclsid, REFIID riid, LPVOID* ppv);
