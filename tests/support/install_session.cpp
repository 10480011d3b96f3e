#include "install_session.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "app/installer_app.h"
#include "tests/seam/seam.h"

extern CInstallerApp theApp;

void RunInstallDialog(std::function<void(CDrivenInstall&)> fnSteps)
{
    CDrivenInstall dlg([&](CDrivenInstall& d) {
        fnSteps(d);
        d.EndDialog(0);
    });
    theApp.m_pMainWnd = &dlg;
    INT_PTR nResult = dlg.DoModal();
    theApp.m_pMainWnd = NULL;
    // The installer opens the component library once per process and never
    // closes it; a test that runs the dialog again needs it closed between.
    ::CoUninitialize();
    ASSERT_EQ(0, nResult) << "the dialog did not run its steps";
}

INT_PTR RunInstallDialogToEnd(std::function<void(CDrivenInstall&)> fnSteps)
{
    CDrivenInstall dlg(fnSteps);
    theApp.m_pMainWnd = &dlg;
    INT_PTR nResult = dlg.DoModal();
    theApp.m_pMainWnd = NULL;
    ::CoUninitialize();
    return nResult;
}

void FakeShellFolders(const std::map<int, std::string>& folders)
{
    // The shell is asked for an item list, then for its path: the list carries the CSIDL.
    seam::g_hooks.fnSHGetSpecialFolderLocation = [folders](HWND, int nFolder, LPITEMIDLIST* ppidl) -> HRESULT {
        *ppidl = NULL;
        if (folders.find(nFolder) == folders.end())
            return E_FAIL;
        int* pnFolder = static_cast<int*>(::CoTaskMemAlloc(sizeof(int)));
        *pnFolder = nFolder;
        *ppidl = reinterpret_cast<LPITEMIDLIST>(pnFolder);
        return S_OK;
    };
    seam::g_hooks.fnSHGetPathFromIDListA = [folders](LPCITEMIDLIST pidl, LPSTR pszPath) -> BOOL {
        std::map<int, std::string>::const_iterator it = folders.find(*reinterpret_cast<const int*>(pidl));
        if (it == folders.end())
            return FALSE;
        lstrcpynA(pszPath, it->second.c_str(), MAX_PATH);
        return TRUE;
    };
}

std::string ControlText(CWnd& dlg, int nID)
{
    char sz[2048] = "";
    ::GetWindowTextA(dlg.GetDlgItem(nID), sz, sizeof(sz));
    return sz;
}

std::string CurrentDirectory()
{
    char sz[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, sz);
    return sz;
}

bool PathExists(const std::string& strPath)
{
    return ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& strPath)
{
    WIN32_FIND_DATAA find;
    HANDLE hFind = ::FindFirstFileA((strPath + "\\*").c_str(), &find);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string strName = find.cFileName;
            if (strName == "." || strName == "..")
                continue;
            std::string strChild = strPath + "\\" + strName;
            ::SetFileAttributesA(strChild.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(strChild);
            else
                ::DeleteFileA(strChild.c_str());
        } while (::FindNextFileA(hFind, &find));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(strPath.c_str());
}

CTestFolder::CTestFolder(const std::string& strName) : m_strPath("T:\\" + strName)
{
    ::SetCurrentDirectoryA("T:\\");
    RemoveTree(m_strPath);
    ::CreateDirectoryA(m_strPath.c_str(), NULL);
}

CTestFolder::~CTestFolder()
{
    // A folder that is current cannot go.
    ::SetCurrentDirectoryA("T:\\");
    RemoveTree(m_strPath);
}

std::vector<std::string> NamesIn(const std::string& strFolder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA find;
    HANDLE hFind = ::FindFirstFileA((strFolder + "\\*").c_str(), &find);
    if (hFind == INVALID_HANDLE_VALUE)
        return { "<none>" };
    do {
        std::string strName = find.cFileName;
        if (strName != "." && strName != "..")
            names.push_back(strName);
    } while (::FindNextFileA(hFind, &find));
    ::FindClose(hFind);
    std::sort(names.begin(), names.end());
    return names;
}

void ProposeProgramFilesDir(const std::string& strDir)
{
    seam::g_hooks.fnRegQueryValueExA = [strDir](HKEY hKey, LPCSTR pszName, LPDWORD pReserved, LPDWORD pType,
                                                LPBYTE pData, LPDWORD pcb) -> LONG {
        if (pszName == NULL || std::string(pszName) != "ProgramFilesDir")
            return seam::RealRegQueryValueExA(hKey, pszName, pReserved, pType, pData, pcb);
        *pType = REG_SZ;
        lstrcpynA(reinterpret_cast<LPSTR>(pData), strDir.c_str(), static_cast<int>(*pcb));
        *pcb = static_cast<DWORD>(strDir.size() + 1);
        return ERROR_SUCCESS;
    };
}
