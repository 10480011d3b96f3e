#include "support.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

void Click(CWnd& dlg, int nID)
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(dlg.GetDlgItem(nID)));
}

bool PathExists(const std::string& strPath)
{
    return ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> NamesIn(const std::string& strFolder)
{
    WIN32_FIND_DATAA find;
    HANDLE hFind = ::FindFirstFileA((strFolder + "\\*").c_str(), &find);
    if (hFind == INVALID_HANDLE_VALUE)
        return { "<none>" };
    std::vector<std::string> names;
    do {
        std::string strName = find.cFileName;
        if (strName != "." && strName != "..")
            names.push_back(strName);
    } while (::FindNextFileA(hFind, &find));
    ::FindClose(hFind);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::string& strPath)
{
    DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return;
    ::SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileA(strPath.c_str());
        return;
    }
    for (const std::string& strName : NamesIn(strPath))
        RemoveTree(strPath + "\\" + strName);
    ::RemoveDirectoryA(strPath.c_str());
}

bool WriteText(const std::string& strPath, const std::string& strText)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == NULL)
        return false;
    bool bWritten = std::fwrite(strText.data(), 1, strText.size(), pFile) == strText.size();
    return std::fclose(pFile) == 0 && bWritten;
}

std::string ReadText(const std::string& strPath)
{
    std::string strText;
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (pFile == NULL)
        return "<none>";
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0;)
        strText.append(buffer, n);
    std::fclose(pFile);
    return strText;
}

bool KeyExists(const std::string& strKey)
{
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

void RemoveProductEntries()
{
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, PRODUCT_KEY);
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, APP_PATH_KEY);
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
}

static std::string ShellFolder(int nFolder)
{
    char szPath[MAX_PATH] = "";
    ::SHGetSpecialFolderPathA(NULL, szPath, nFolder, TRUE);
    return szPath;
}

std::string ProductGroup() { return ShellFolder(CSIDL_PROGRAMS) + "\\Lumivane"; }
std::string DesktopLink() { return ShellFolder(CSIDL_DESKTOP) + "\\Lumivane.lnk"; }

std::string Box(const std::string& strText, const std::string& strCaption, UINT uType)
{
    return seam::DescribeBox(strText, strCaption, uType);
}

static std::vector<std::string> BoxLines(const std::string& strOutput)
{
    std::vector<std::string> lines;
    std::istringstream output(strOutput);
    for (std::string strLine; std::getline(output, strLine);) {
        if (strLine.rfind("[box]", 0) == 0)
            lines.push_back(strLine.substr(0, strLine.find_last_not_of('\r') + 1));
    }
    return lines;
}

::testing::Matcher<const std::string&> ShowsBoxes(const std::vector<std::string>& expected)
{
    return ::testing::ResultOf("the message boxes shown", BoxLines, ::testing::ContainerEq(expected));
}

CTopLevelWindow::CTopLevelWindow(const char* pszTitle)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "InstallLVTestWindow";
    ::RegisterClassA(&wc);  // fails harmlessly once registered
    m_hWnd = ::CreateWindowA(wc.lpszClassName, pszTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                             wc.hInstance, NULL);
}

CTopLevelWindow::~CTopLevelWindow()
{
    ::DestroyWindow(m_hWnd);
}

std::vector<std::string> TwoByteCharacters()
{
    const char* pszExpected = std::getenv("LV_CODE_PAGE");
    if (pszExpected != NULL && std::strtoul(pszExpected, NULL, 10) != ::GetACP())
        ADD_FAILURE() << "the process runs in code page " << ::GetACP() << ", not " << pszExpected;
    std::vector<std::string> found;
    // Second bytes 0x5C and 0x7C in 932, 936 and 950 (in that order), and Korean.
    for (const wchar_t* psz = L"\u30BD\u30DD\u4E57\u4E85\u30C4\u30E4\u8A31\uD55C"; *psz != L'\0'; ++psz) {
        char szAnsi[8] = "";
        BOOL bDefault = FALSE;
        if (::WideCharToMultiByte(CP_ACP, 0, psz, 1, szAnsi, sizeof(szAnsi), NULL, &bDefault) == 2 && !bDefault)
            found.insert(szAnsi[1] == '\\' || szAnsi[1] == '|' ? found.begin() : found.end(), std::string(szAnsi, 2));
    }
    return found.empty() ? std::vector<std::string>{ "x" } : found;
}
