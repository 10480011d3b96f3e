// Reading what an installation left, and telling it.
#include <windows.h>

#include <shlobj.h>

#include <cstdio>

#include "machine.h"
#include "report.h"

bool ReadLink(const std::string& strPath, SLink& link)
{
    IShellLinkA* pLink = NULL;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&pLink))))
        return false;
    IPersistFile* pFile = NULL;
    WCHAR wszPath[MAX_PATH];
    bool bLoaded = SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))) &&
                   ::MultiByteToWideChar(CP_ACP, 0, strPath.c_str(), -1, wszPath, MAX_PATH) != 0 &&
                   SUCCEEDED(pFile->Load(wszPath, STGM_READ));
    if (bLoaded) {
        char szTarget[MAX_PATH] = "", szWorkingDir[MAX_PATH] = "", szDescription[MAX_PATH] = "", szIcon[MAX_PATH] = "";
        link.nIconIndex = -1;
        link.nShowCmd = 0;
        pLink->GetPath(szTarget, MAX_PATH, NULL, SLGP_RAWPATH);
        pLink->GetWorkingDirectory(szWorkingDir, MAX_PATH);
        pLink->GetDescription(szDescription, MAX_PATH);
        pLink->GetIconLocation(szIcon, MAX_PATH, &link.nIconIndex);
        pLink->GetShowCmd(&link.nShowCmd);
        link.strTarget = szTarget;
        link.strWorkingDir = szWorkingDir;
        link.strDescription = szDescription;
        link.strIconPath = szIcon;
    }
    if (pFile != NULL)
        pFile->Release();
    pLink->Release();
    return bLoaded;
}

std::string LocalTimeText(const FILETIME& ft)
{
    FILETIME ftLocal;
    SYSTEMTIME st;
    ::FileTimeToLocalFileTime(&ft, &ftLocal);
    ::FileTimeToSystemTime(&ftLocal, &st);
    char szTime[32];
    std::snprintf(szTime, sizeof(szTime), "%04u-%02u-%02u %02u:%02u:%02u.%03u", st.wYear, st.wMonth, st.wDay,
                  st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
    return szTime;
}

static void PrintFiles(const std::string& strTargetDir)
{
    std::printf("Files in %s:\n", strTargetDir.c_str());
    ForEachFile(strTargetDir + "\\*", [](const WIN32_FIND_DATAA& found) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return;
        unsigned long long nSize = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        std::printf("  %-14s %8llu bytes  written %s local time\n", found.cFileName, nSize,
                    LocalTimeText(found.ftLastWriteTime).substr(0, 19).c_str());
    });
}

static void PrintLinks()
{
    std::printf("Shortcuts:\n");
    std::vector<std::string> links = { DesktopLink() };
    ForEachFile(ProgramsGroup() + "\\*.lnk",
                [&](const WIN32_FIND_DATAA& found) { links.push_back(ProgramsGroup() + "\\" + found.cFileName); });
    for (const std::string& strPath : links) {
        SLink link;
        if (ReadLink(strPath, link))
            std::printf("  %s\n    -> %s\n", strPath.c_str(), link.strTarget.c_str());
        else
            std::printf("  %s (missing)\n", strPath.c_str());
    }
}

static void PrintKey(const char* pszKey)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ | INSTALLER_VIEW, &hKey) != ERROR_SUCCESS) {
        std::printf("  %s (missing)\n", pszKey);
        return;
    }
    std::printf("  %s\n", pszKey);
    for (DWORD i = 0;; ++i) {
        char szName[256], szData[1024];
        DWORD nNameSize = sizeof(szName), nDataSize = sizeof(szData) - 1, nType = 0;
        if (::RegEnumValueA(hKey, i, szName, &nNameSize, NULL, &nType, reinterpret_cast<BYTE*>(szData),
                            &nDataSize) != ERROR_SUCCESS)
            break;
        szData[nDataSize] = '\0';
        std::string strData = nType == REG_SZ ? ToText(szData) : "(of type " + std::to_string(nType) + ")";
        std::printf("    %-16s %s\n", szName[0] ? szName : "(default)", strData.c_str());
    }
    ::RegCloseKey(hKey);
}

void PrintAccount(const std::string& strTargetDir)
{
    std::printf("\nWhat the installation left on the machine\n\n");
    PrintFiles(strTargetDir);
    std::printf("\n");
    PrintLinks();
    std::printf("\nRegistry entries under HKEY_LOCAL_MACHINE%s:\n",
                INSTALLER_VIEW == KEY_WOW64_32KEY ? ", in the 32-bit view (SOFTWARE\\WOW6432Node)" : "");
    for (const char* pszKey : { PRODUCT_VERSION_KEY, APP_PATH_KEY, UNINSTALL_KEY })
        PrintKey(pszKey);
    std::fflush(stdout);
}
