#include "installed.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "links.h"
#include "machine.h"
#include "scenario.h"

namespace {

struct SPayloadRow {
    int nId;
    const char* pszName;
    const char* pszSource;  // the file the build made the resource from
};

// The build's payload table (tests/CMakeLists.txt).
const SPayloadRow s_rgPayload[] = {
#include "payload_sources.inc"
};

const char* const s_rgszInstalledFiles[] = { "Lumivane.exe", "Lumivane.hlp", "Uninstall.exe", "Lumivane.txt" };

struct SExpectedLink {
    bool bDesktop;
    const char* pszTitle;
    const char* pszTarget;
};
const SExpectedLink s_rgLinks[] = {
    { true, "Lumivane", "Lumivane.exe" },
    { false, "Lumivane", "Lumivane.exe" },
    { false, "Lumivane Help", "Lumivane.hlp" },
    { false, "Uninstall Lumivane", "Uninstall.exe" },
};

std::string ReadWholeFile(const std::string& strPath)
{
    std::string strContents;
    FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (pFile == NULL)
        Fail("cannot read " + strPath);
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0;)
        strContents.append(buffer, n);
    std::fclose(pFile);
    return strContents;
}

const char* PayloadSource(const char* pszName)
{
    for (const SPayloadRow& row : s_rgPayload) {
        if (lstrcmpA(row.pszName, pszName) == 0)
            return row.pszSource;
    }
    Fail(std::string("the build's payload holds no ") + pszName);
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

const char FIXED_STAMP[] = "2001-12-10 01:10:00.000";

void ExpectFile(const std::string& strTargetDir, const char* pszName)
{
    std::string strPath = strTargetDir + "\\" + pszName;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        Fail("no installed file " + strPath);
    if (LocalTimeText(data.ftLastWriteTime) != FIXED_STAMP)
        Fail(strPath + " was last written " + LocalTimeText(data.ftLastWriteTime) + " local time, expected " +
             FIXED_STAMP);
    if (ReadWholeFile(strPath) != ReadWholeFile(PayloadSource(pszName)))
        Fail(strPath + " differs from the file the build made, " + PayloadSource(pszName));
}

void ExpectLinkField(const std::string& strLink, const char* pszField, const std::string& strSeen,
                     const std::string& strExpected)
{
    if (strSeen != strExpected)
        Fail("link " + strLink + ": " + pszField + " is " + ToText(strSeen) + ", expected " + ToText(strExpected));
}

void ExpectLink(const std::string& strTargetDir, const SExpectedLink& expected)
{
    std::string strPath = expected.bDesktop ? DesktopLink()
                                            : ProgramsGroup() + "\\" + expected.pszTitle + ".lnk";
    SLink link;
    if (!ReadLink(strPath, link))
        Fail("no link " + strPath);
    std::string strTarget = strTargetDir + "\\" + expected.pszTarget;
    ExpectLinkField(strPath, "target", link.strTarget, strTarget);
    ExpectLinkField(strPath, "working folder", link.strWorkingDir, strTargetDir);
    ExpectLinkField(strPath, "description", link.strDescription, expected.pszTitle);
    ExpectLinkField(strPath, "icon", link.strIconPath + "," + std::to_string(link.nIconIndex), strTarget + ",0");
    ExpectLinkField(strPath, "show command", std::to_string(link.nShowCmd), "1");
}

void ExpectValue(const char* pszKey, const char* pszName, const std::string& strExpected)
{
    std::string strData;
    DWORD nType = 0;
    std::string strWhere = std::string("HKLM\\") + pszKey + " [" + (pszName[0] ? pszName : "(default)") + "]";
    if (!ReadMachineValue(pszKey, pszName, strData, &nType))
        Fail("no registry value " + strWhere);
    if (nType != REG_SZ)
        Fail(strWhere + " has type " + std::to_string(nType) + ", expected REG_SZ");
    if (strData != strExpected)
        Fail(strWhere + " is " + ToText(strData) + ", expected " + ToText(strExpected));
}

void ExpectInstallTime(time_t nNotBefore, time_t nNotAfter)
{
    std::string strData;
    ReadMachineValue(PRODUCT_VERSION_KEY, "", strData);
    for (time_t t = nNotBefore; t <= nNotAfter; ++t) {
        if (strData == std::to_string(static_cast<unsigned long long>(t))) {
            ExpectValue(PRODUCT_VERSION_KEY, "", strData);
            return;
        }
    }
    Fail(std::string("HKLM\\") + PRODUCT_VERSION_KEY + " [(default)] is " + ToText(strData) +
         ", expected the install time, between " + std::to_string(nNotBefore) + " and " + std::to_string(nNotAfter));
}

}  // namespace

void ExpectInstalled(const std::string& strTargetDir, time_t nNotBefore, time_t nNotAfter)
{
    for (const char* pszName : s_rgszInstalledFiles)
        ExpectFile(strTargetDir, pszName);
    for (const SExpectedLink& link : s_rgLinks)
        ExpectLink(strTargetDir, link);
    ExpectInstallTime(nNotBefore, nNotAfter);
    ExpectValue(APP_PATH_KEY, "", strTargetDir + "\\Lumivane.exe");
    ExpectValue(APP_PATH_KEY, "Path", strTargetDir);
    ExpectValue(UNINSTALL_KEY, "DisplayName", "Lumivane 1.10");
    ExpectValue(UNINSTALL_KEY, "UninstallString", strTargetDir + "\\Uninstall.exe");
    Note("installed in %s: four files with the fixed time stamp, four links, three registry keys",
         strTargetDir.c_str());
}

static void PrintFiles(const std::string& strTargetDir)
{
    std::printf("Files in %s:\n", strTargetDir.c_str());
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((strTargetDir + "\\*").c_str(), &found);
    for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileA(hFind, &found)) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        unsigned long long nSize = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        std::printf("  %-14s %8llu bytes  written %s local time\n", found.cFileName, nSize,
                    LocalTimeText(found.ftLastWriteTime).substr(0, 19).c_str());
    }
    if (hFind != INVALID_HANDLE_VALUE)
        ::FindClose(hFind);
}

static void PrintLinks()
{
    std::printf("Shortcuts:\n");
    for (const SExpectedLink& expected : s_rgLinks) {
        std::string strPath = expected.bDesktop ? DesktopLink()
                                                : ProgramsGroup() + "\\" + expected.pszTitle + ".lnk";
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
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
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
    std::printf("\nRegistry entries under HKEY_LOCAL_MACHINE:\n");
    for (const char* pszKey : { PRODUCT_VERSION_KEY, APP_PATH_KEY, UNINSTALL_KEY })
        PrintKey(pszKey);
    std::fflush(stdout);
}
