#include "machine.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

#include "process.h"
#include "scenario.h"
#include "screen.h"

const char E2E_FOLDER[] = "T:\\e2e";
const char PRODUCT_KEY[] = "SOFTWARE\\Orvel Software\\Lumivane";
const char PRODUCT_VERSION_KEY[] = "SOFTWARE\\Orvel Software\\Lumivane\\1.10";
const char APP_PATH_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane";
// Made by the first installation, so it is ours to remove as well.
const char MAKER_KEY[] = "SOFTWARE\\Orvel Software";

static const UINT WM_PRODUCT_CLOSE_REQUEST = 0x0501;

static std::string SpecialFolder(int nFolder)
{
    char szPath[MAX_PATH] = "";
    if (!::SHGetSpecialFolderPathA(NULL, szPath, nFolder, FALSE))
        Fail("the shell names no folder " + std::to_string(nFolder));
    return szPath;
}

std::string DefaultTargetDir()
{
    std::string strProgramFiles;
    if (!ReadMachineValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", strProgramFiles))
        Fail("the prefix's registry holds no ProgramFilesDir");
    return strProgramFiles + "\\Lumivane";
}

std::string DesktopLink()
{
    return SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Lumivane.lnk";
}

std::string ProgramsGroup()
{
    return SpecialFolder(CSIDL_PROGRAMS) + "\\Lumivane";
}

int ReadMachineValue(const char* pszKey, const char* pszName, std::string& strData, DWORD* pnType)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return 0;
    char szData[1024];
    DWORD nSize = sizeof(szData) - 1, nType = 0;
    LONG nResult = ::RegQueryValueExA(hKey, pszName, NULL, &nType, reinterpret_cast<BYTE*>(szData), &nSize);
    ::RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS)
        return 0;
    szData[nSize] = '\0';
    strData = szData;
    if (pnType != NULL)
        *pnType = nType;
    return 1;
}

bool PathExists(const std::string& strPath)
{
    return ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& strPath)
{
    DWORD nAttributes = ::GetFileAttributesA(strPath.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
        return;
    ::SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(nAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileA(strPath.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((strPath + "\\*").c_str(), &found);
    for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileA(hFind, &found)) {
        if (lstrcmpA(found.cFileName, ".") != 0 && lstrcmpA(found.cFileName, "..") != 0)
            RemoveTree(strPath + "\\" + found.cFileName);
    }
    if (hFind != INVALID_HANDLE_VALUE)
        ::FindClose(hFind);
    ::RemoveDirectoryA(strPath.c_str());
}

void CloseProduct()
{
    HWND hProduct = ::FindWindowA(NULL, "Lumivane");
    if (hProduct != NULL) {
        ::PostMessageA(hProduct, WM_PRODUCT_CLOSE_REQUEST, 0, 0);
        WaitFor([] { return ::FindWindowA(NULL, "Lumivane") == NULL; }, 5000);
    }
    EndProcessesNamed({ "Lumivane.exe" });
}

void ResetMachine()
{
    EndProcessesNamed({ "InstallLV.exe", "Uninstall.exe", "LVU*.tmp" });
    CloseProduct();
    for (const std::string& strPath : { DefaultTargetDir(), DesktopLink(), ProgramsGroup(), std::string(E2E_FOLDER) })
        RemoveTree(strPath);
    for (const char* pszKey : { MAKER_KEY, APP_PATH_KEY, UNINSTALL_KEY })
        ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, pszKey);
    ::CreateDirectoryA(E2E_FOLDER, NULL);
    ExpectNothingInstalled();
    Note("machine reset: no Lumivane files, links or keys");
}

static void ListTree(const std::string& strPath, CMachineState& state)
{
    DWORD nAttributes = ::GetFileAttributesA(strPath.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(nAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        state.push_back("file " + strPath);
        return;
    }
    state.push_back("folder " + strPath);
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((strPath + "\\*").c_str(), &found);
    for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileA(hFind, &found)) {
        if (lstrcmpA(found.cFileName, ".") != 0 && lstrcmpA(found.cFileName, "..") != 0)
            ListTree(strPath + "\\" + found.cFileName, state);
    }
    if (hFind != INVALID_HANDLE_VALUE)
        ::FindClose(hFind);
}

static void ListKey(const std::string& strKey, CMachineState& state)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return;
    state.push_back("key HKLM\\" + strKey);
    char szName[1024];
    for (DWORD i = 0;; ++i) {
        DWORD nSize = sizeof(szName);
        if (::RegEnumValueA(hKey, i, szName, &nSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        state.push_back("value HKLM\\" + strKey + " [" + (szName[0] ? szName : "(default)") + "]");
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD nSize = sizeof(szName);
        if (::RegEnumKeyExA(hKey, i, szName, &nSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        subkeys.push_back(szName);
    }
    ::RegCloseKey(hKey);
    for (const std::string& strSubkey : subkeys)
        ListKey(strKey + "\\" + strSubkey, state);
}

// The copy the uninstaller runs from, left in the temporary folder.
static void ListUninstallerCopies(CMachineState& state)
{
    char szTemp[MAX_PATH];
    DWORD nLength = ::GetTempPathA(MAX_PATH, szTemp);
    if (nLength == 0 || nLength >= MAX_PATH)
        return;
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((std::string(szTemp) + "LVU*.tmp").c_str(), &found);
    for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileA(hFind, &found))
        state.push_back(std::string("file ") + szTemp + found.cFileName);
    if (hFind != INVALID_HANDLE_VALUE)
        ::FindClose(hFind);
}

CMachineState Snapshot(const std::vector<std::string>& extraFolders)
{
    CMachineState state;
    for (const std::string& strPath : { DefaultTargetDir(), DesktopLink(), ProgramsGroup() })
        ListTree(strPath, state);
    for (const std::string& strPath : extraFolders)
        ListTree(strPath, state);
    for (const char* pszKey : { MAKER_KEY, APP_PATH_KEY, UNINSTALL_KEY })
        ListKey(pszKey, state);
    ListUninstallerCopies(state);
    std::sort(state.begin(), state.end());
    return state;
}

static std::string LinesOnlyIn(const CMachineState& state, const CMachineState& other, const char* pszMark)
{
    std::string strLines;
    for (const std::string& strLine : state) {
        if (!std::binary_search(other.begin(), other.end(), strLine))
            strLines += std::string("\n  ") + pszMark + " " + strLine;
    }
    return strLines;
}

void ExpectSame(const CMachineState& expected, const CMachineState& seen, const char* pszWhen)
{
    std::string strDifferences = LinesOnlyIn(expected, seen, "missing:") + LinesOnlyIn(seen, expected, "extra:  ");
    if (!strDifferences.empty())
        Fail(std::string("the machine ") + pszWhen + " is not as expected:" + strDifferences);
}

void ExpectNothingInstalled(const std::vector<std::string>& extraFolders)
{
    CMachineState state = Snapshot(extraFolders);
    std::string strFound;
    for (const std::string& strLine : state)
        strFound += "\n  " + strLine;
    if (!strFound.empty())
        Fail("expected nothing of Lumivane on the machine, found:" + strFound);
}
