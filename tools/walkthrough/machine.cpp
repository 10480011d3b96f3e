#include "machine.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>

#include "process.h"
#include "report.h"

const char PRODUCT_VERSION_KEY[] = "SOFTWARE\\Orvel Software\\Lumivane\\1.10";
const char APP_PATH_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lumivane.exe";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane";
// Made by the first installation, so it is ours to remove as well.
const char MAKER_KEY[] = "SOFTWARE\\Orvel Software";

static const UINT WM_PRODUCT_CLOSE_REQUEST = 0x0501;
// The installer under test writes in one registry view; a scenario may plant
// keys in the other, and nothing of ours may stay in either.
static const REGSAM VIEWS[] = { KEY_WOW64_64KEY, KEY_WOW64_32KEY };

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

bool ReadMachineValue(const char* pszKey, const char* pszName, std::string& strData, DWORD* pnType)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ | INSTALLER_VIEW, &hKey) != ERROR_SUCCESS)
        return false;
    char szData[1024];
    DWORD nSize = sizeof(szData) - 1, nType = 0;
    LONG nResult = ::RegQueryValueExA(hKey, pszName, NULL, &nType, reinterpret_cast<BYTE*>(szData), &nSize);
    ::RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS)
        return false;
    szData[nSize] = '\0';
    strData = szData;
    // The narrow call hands back a text as stored: one without its
    // terminating NUL, or with more after it, shows as such.
    if (nType == REG_SZ && static_cast<DWORD>(lstrlenA(szData)) + 1 != nSize)
        strData += " (stored in " + std::to_string(nSize) + " bytes)";
    if (pnType != NULL)
        *pnType = nType;
    return true;
}

void ForEachFile(const std::string& strPattern, const std::function<void(const WIN32_FIND_DATAA&)>& fn)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA(strPattern.c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if (lstrcmpA(found.cFileName, ".") != 0 && lstrcmpA(found.cFileName, "..") != 0)
            fn(found);
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
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
    ForEachFile(strPath + "\\*", [&](const WIN32_FIND_DATAA& found) { RemoveTree(strPath + "\\" + found.cFileName); });
    ::RemoveDirectoryA(strPath.c_str());
}

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

void CloseProduct()
{
    HWND hProduct = ::FindWindowA(NULL, "Lumivane");
    if (hProduct != NULL) {
        ::PostMessageA(hProduct, WM_PRODUCT_CLOSE_REQUEST, 0, 0);
        WaitFor([] { return ::FindWindowA(NULL, "Lumivane") == NULL; }, 5000);
    }
    EndProcessesNamed({ "Lumivane.exe" });
}

std::string TemporaryFolder()
{
    char szTemp[MAX_PATH];
    DWORD nLength = ::GetTempPathA(MAX_PATH, szTemp);
    return nLength != 0 && nLength < MAX_PATH ? szTemp : "";
}

std::string WindowsTempFolder()
{
    char szWindows[MAX_PATH];
    UINT nLength = ::GetSystemWindowsDirectoryA(szWindows, MAX_PATH);
    return nLength != 0 && nLength < MAX_PATH ? std::string(szWindows) + "\\Temp\\" : "";
}

// Where the uninstaller's copies stand, and where they must not.
static std::vector<std::string> CopyFolders()
{
    std::vector<std::string> folders;
    for (const std::string& strFolder : { WindowsTempFolder(), TemporaryFolder() })
        if (!strFolder.empty())
            folders.push_back(strFolder);
    return folders;
}

void ResetMachine()
{
    EndProcessesNamed({ "InstallLV.exe", "Uninstall.exe", "LVU*" });
    CloseProduct();
    for (const std::string& strPath : { DefaultTargetDir(), DesktopLink(), ProgramsGroup() })
        RemoveTree(strPath);
    for (const std::string& strTemp : CopyFolders())
        ForEachFile(strTemp + "LVU*", [&](const WIN32_FIND_DATAA& found) { RemoveTree(strTemp + found.cFileName); });
    for (REGSAM nView : VIEWS) {
        HKEY hSoftware;  // the keys' common parent, opened in the view
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | nView, &hSoftware) != ERROR_SUCCESS)
            continue;
        for (const char* pszKey : { MAKER_KEY, APP_PATH_KEY, UNINSTALL_KEY })
            ::SHDeleteKeyA(hSoftware, pszKey + lstrlenA("SOFTWARE\\"));
        ::RegCloseKey(hSoftware);
    }
    std::string strLeft;
    for (const std::string& strLine : Snapshot())
        strLeft += "\n  " + strLine;
    if (!strLeft.empty())
        Fail("could not remove every file, link and key of Lumivane:" + strLeft);
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
    ForEachFile(strPath + "\\*",
                [&](const WIN32_FIND_DATAA& found) { ListTree(strPath + "\\" + found.cFileName, state); });
}

static void ListKey(const std::string& strKey, REGSAM nView, CMachineState& state)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ | nView, &hKey) != ERROR_SUCCESS)
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
        ListKey(strKey + "\\" + strSubkey, nView, state);
}

CMachineState Snapshot(const std::vector<std::string>& extraFolders)
{
    CMachineState state;
    for (const std::string& strPath : { DefaultTargetDir(), DesktopLink(), ProgramsGroup() })
        ListTree(strPath, state);
    for (const std::string& strPath : extraFolders)
        ListTree(strPath, state);
    for (REGSAM nView : VIEWS) {
        for (const char* pszKey : { MAKER_KEY, APP_PATH_KEY, UNINSTALL_KEY })
            ListKey(pszKey, nView, state);
    }
    // The copy the uninstaller runs from, and its folder, left behind.
    for (const std::string& strTemp : CopyFolders())
        ForEachFile(strTemp + "LVU*",
                    [&](const WIN32_FIND_DATAA& found) { ListTree(strTemp + found.cFileName, state); });
    std::sort(state.begin(), state.end());
    state.erase(std::unique(state.begin(), state.end()), state.end());
    return state;
}

static const char USER_SHELL_FOLDERS[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
static const char* const MOVED_FOLDERS[] = { "Programs", "Desktop", "TEMP", "TMP" };

static bool IsEnvironmentName(const std::string& strName)
{
    return strName == "TEMP" || strName == "TMP";
}

CMovedUserFolders::CMovedUserFolders(const std::string& strUser) : m_hKey(NULL)
{
    ::RegCreateKeyExA(HKEY_CURRENT_USER, USER_SHELL_FOLDERS, 0, NULL, 0, KEY_READ | KEY_WRITE, NULL, &m_hKey, NULL);
    RemoveTree(strUser);
    ::CreateDirectoryA(strUser.c_str(), NULL);
    for (const char* pszName : MOVED_FOLDERS) {
        char szOld[1024] = "";
        DWORD nSize = sizeof(szOld) - 1;
        if (IsEnvironmentName(pszName))
            ::GetEnvironmentVariableA(pszName, szOld, nSize);
        else
            ::RegQueryValueExA(m_hKey, pszName, NULL, NULL, reinterpret_cast<BYTE*>(szOld), &nSize);
        m_saved.emplace_back(pszName, szOld);
        std::string strNew = strUser + "\\" + (lstrcmpA(pszName, "TMP") == 0 ? "TEMP" : pszName);
        ::CreateDirectoryA(strNew.c_str(), NULL);
        if (IsEnvironmentName(pszName))
            ::SetEnvironmentVariableA(pszName, strNew.c_str());
        else
            ::RegSetValueExA(m_hKey, pszName, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(strNew.c_str()),
                             static_cast<DWORD>(strNew.size() + 1));
    }
}

CMovedUserFolders::~CMovedUserFolders()
{
    for (const auto& [strName, strData] : m_saved) {
        if (IsEnvironmentName(strName))
            ::SetEnvironmentVariableA(strName.c_str(), strData.empty() ? NULL : strData.c_str());
        else if (strData.empty())
            ::RegDeleteValueA(m_hKey, strName.c_str());
        else
            ::RegSetValueExA(m_hKey, strName.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(strData.c_str()),
                             static_cast<DWORD>(strData.size() + 1));
    }
    ::RegCloseKey(m_hKey);
}

std::string ReadAccessText(const std::string& strPath)
{
    const SECURITY_INFORMATION nParts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR pDescriptor = NULL;
    LPSTR pszText = NULL;
    if (::GetNamedSecurityInfoA(strPath.c_str(), SE_FILE_OBJECT, nParts, NULL, NULL, NULL, NULL, &pDescriptor) ==
        ERROR_SUCCESS)
        ::ConvertSecurityDescriptorToStringSecurityDescriptorA(pDescriptor, SDDL_REVISION_1, nParts, &pszText, NULL);
    std::string strText = pszText != NULL ? pszText : "";
    ::LocalFree(pszText);
    ::LocalFree(pDescriptor);
    return strText;
}
